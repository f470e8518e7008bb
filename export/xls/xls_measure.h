#pragma once
// How wide and how high the written texts are, for column widths and row heights. Widths come
// through the export engine's text measure (injectable, so tests fix the bytes); heights
// through TxlsTextMetrics. An automatic column width is measured for every cell, so a
// font's character widths are measured once and a text's width is their sum.
#include <array>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "export/text_measure.h"
#include "export/xls/xls_font.h"

namespace vantrix {

// The height, in twips, that a row needs for a line of text in the font.
class TxlsTextMetrics {
 public:
  virtual ~TxlsTextMetrics() = default;
  virtual int RowHeightTwips(const TVantrixFont& font) const = 0;
};

// The font metrics of the running GUI application at 96 dots per inch: twice the larger of
// the internal leading and the descent, the rest of the height, the external leading and one
// pixel; without a GUI, a size-proportional estimate.
const TxlsTextMetrics& DefaultXLSTextMetrics();

// The same height for every font (tests).
class FixedXLSTextMetrics : public TxlsTextMetrics {
 public:
  explicit FixedXLSTextMetrics(int twips) : twips_(twips) {}
  int RowHeightTwips(const TVantrixFont&) const override { return twips_; }

 private:
  int twips_;
};

// Widths in units of the default font's "0", as column widths are counted.
class TxlsWidthGauge {
 public:
  explicit TxlsWidthGauge(const TextMeasure& measure);

  // Pixel width of "0" in the workbook's default font; at least 1.
  int ZeroWidth() const { return zero_; }
  // The text followed by an "I" in the font (the default font for null), in "0" widths,
  // rounded up.
  int CharsWide(std::string_view cp1252Text, const TxlsFont* font);

 private:
  using Advances = std::array<double, 256>;
  const Advances& AdvancesOf(const TxlsFont* font);

  const TextMeasure& measure_;
  int zero_ = 1;
  // By the font list's entries, which stay where they are for the run; null is the default font.
  std::unordered_map<const TxlsFont*, Advances> advances_;
};

// The row height a font needs, in twips; 0 for the default font (arial 10 without style),
// which the sheet's default row height covers.
int RowHeightFor(const TxlsTextMetrics& metrics, const TxlsFont* font);

}  // namespace vantrix
