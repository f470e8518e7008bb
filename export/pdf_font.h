#pragma once
// Fonts, boxes and text measures of the PDF writer: the fourteen standard Type 1 fonts by
// name, their encodings, one font setting, a rectangle in points, and the one table of
// character widths that measures text and sizes columns (whatever the font).
#include <array>
#include <cstddef>
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

// The code a byte of text is written as: line breaks and tabs as blanks, the other control
// bytes and the bytes code page 1252 leaves undefined as "?"; every other byte as itself.
inline unsigned char PDFShownCode(unsigned char byte) {
  if (byte == '\r' || byte == '\n' || byte == '\t') return ' ';
  if (byte < 32 || byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D) return '?';
  return byte;
}

// Width of the text in points at the size: the widths of the characters as written summed,
// then rounded to the nearest point (halves to even).
int TextWidth(std::string_view text, double fontSize);
// The same unrounded, in thousandths of the font size: where a reader ends the text, since the
// fonts declare the table as their widths.
long long TextUnits(std::string_view text);
// How many of the text's first bytes fit in `room` points at the size.
size_t FittingLength(std::string_view text, double fontSize, double room);
// Width in points of a number of average characters (the table's mean, 484.3359375 per 1000).
int CharsToPoints(double fontSize, double chars);
// The width a column needs, in average characters, to hold the text whole wherever the
// exporter's rounding of edges and positions falls: its measured width and half a character.
// The same for a text of that many TextUnits.
int CharsToHold(std::string_view text);
int CharsToHoldUnits(long long units);

}  // namespace vantrix
