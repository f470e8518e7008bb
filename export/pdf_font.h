#pragma once
// Fonts, boxes and text measures of the PDF writer: the fourteen standard Type 1 fonts by
// name, their encodings, one font setting, a rectangle in points, and the one table of
// character widths that measures text and sizes columns (whatever the font).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantrix {

enum TPDFFontName : uint8_t {
  poHelvetica, poHelveticaBold, poHelveticaOblique, poHelveticaBoldOblique, poCourier, poCourierBold,
  poCourierOblique, poCourierBoldOblique, poTimesRoman, poTimesBold, poTimesItalic, poTimesBoldItalic, poSymbol,
  poZapfDingbats
};
enum TPDFFontEncoding : uint8_t { poStandardEncoding, poWinAnsiEncoding, poMacRomanEncoding, poPDFDocEncoding };

// The PostScript name of the font ("Helvetica-BoldOblique"); Helvetica's for a value out of range.
std::string_view PDFFontPostScriptName(TPDFFontName font);
// The encoding's own name ("WinAnsiEncoding").
std::string_view PDFFontEncodingName(TPDFFontEncoding encoding);

class TPDFFont {
 public:
  std::string Name;  // the resource name it is registered and selected under
  TPDFFontName BaseFont = poHelvetica;
  int FontSize = 10;  // points
  TPDFFontEncoding FontEncoding = poWinAnsiEncoding;
  uint32_t FontColor = 0;  // 0x00BBGGRR

  void Assign(const TPDFFont& other) { *this = other; }
  bool operator==(const TPDFFont&) const = default;
};

// A rectangle in points.
struct TPDFBox {
  int Left = 0, Bottom = 0, Right = 0, Top = 0;
  void Assign(const TPDFBox& other) { *this = other; }
  bool operator==(const TPDFBox&) const = default;
};

// Widths in thousandths of the font size, by character code; they add up to 123990.
extern const std::array<int, 256> kPDFCharWidths;

// Width of the text in points at the size: the characters' widths summed, then rounded to
// the nearest point (halves to even).
int TextWidth(std::string_view text, double fontSize);
// Width in points of a number of average characters (the table's mean, 484.3359375 per 1000).
int CharsToPoints(double fontSize, double chars);

}  // namespace vantrix
