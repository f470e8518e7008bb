#pragma once
// A font as the export library keeps it in options and styles: no window-system object, so the
// core can hold, save and compare fonts; text measuring and drawing take it where needed.
#include <cstdint>
#include <string>

namespace vantrix {

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

struct TVantrixFont {
  std::string name = "Arial";  // code page 1252
  int size = 10;               // points
  uint32_t color = 0x80000008;  // clWindowText
  int charset = 1;              // DEFAULT_CHARSET
  uint8_t styles = 0;           // bits of TFontStyle

  bool HasStyle(TFontStyle style) const { return (styles >> style) & 1u; }
  bool operator==(const TVantrixFont&) const = default;
};

// The range of point sizes a font may take from a style or options file: the largest that rich
// text and word processors draw, and at least one point.
inline constexpr int kMinFontPoints = 1;
inline constexpr int kMaxFontPoints = 1638;
inline int BoundedFontSize(int points) {
  return points < kMinFontPoints ? kMinFontPoints : points > kMaxFontPoints ? kMaxFontPoints : points;
}

// Adds the style to the font's styles when on, removes it otherwise.
void EditFontStyle(TVantrixFont& font, TFontStyle style, bool on);

}  // namespace vantrix
