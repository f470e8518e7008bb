#pragma once
// How wide a text is drawn, in pixels: column widths of list views and grids are counted in
// characters of the width of "X", and later the document formats measure their cells. The
// engine asks through this interface only, so it needs no window system: by default the
// font metrics of the GUI at 96 dots per inch (when a GUI application exists), in tests a
// fixed metric.
#include <string_view>

#include "export/vantrix_font.h"

namespace vantrix {

class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  // Width of code page 1252 text drawn in the font, in pixels at 96 dots per inch.
  virtual int TextWidth(std::string_view text, const TVantrixFont& font) const = 0;
};

// Every character the same width, whatever the font.
class FixedTextMeasure : public TextMeasure {
 public:
  explicit FixedTextMeasure(int pixelsPerCharacter) : pixels_(pixelsPerCharacter) {}
  int TextWidth(std::string_view text, const TVantrixFont&) const override {
    return static_cast<int>(text.size()) * pixels_;
  }

 private:
  int pixels_;
};

// The font metrics of the running GUI application at 96 dots per inch; without one, 8 pixels
// a character.
const TextMeasure& DefaultTextMeasure();

// Pixel width of the text in the font, measured by the default measure.
int GetDisplayTextWidth(std::string_view text, const TVantrixFont& font);

}  // namespace vantrix
