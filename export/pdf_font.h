#pragma once
// Fonts, boxes and text measures of the PDF writer: the fourteen standard Type 1 fonts by
// name, their encodings, one font setting, a rectangle in points, the widths each font
// declares and text is measured in, and the average character columns are counted in.
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

// The code a byte of text is written as: line breaks and tabs as blanks, the other control
// bytes and the bytes code page 1252 leaves undefined as "?"; every other byte as itself.
inline unsigned char PDFShownCode(unsigned char byte) {
  if (byte == '\r' || byte == '\n' || byte == '\t') return ' ';
  if (byte < 32 || byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D) return '?';
  return byte;
}

// The encoding the document tells readers the font is in: StandardEncoding for the font's own
// (the dictionary names none), WinAnsiEncoding or MacRomanEncoding. PDFDocEncoding is no font
// encoding, so its fonts take WinAnsiEncoding. Symbol and ZapfDingbats always keep their own:
// their glyphs have no names in the others, and a reader shows blanks for them there.
TPDFFontEncoding PDFDeclaredEncoding(const TPDFFont& font);

// The font's advance widths by code in thousandths of the size, as its metrics give them for
// the glyph its declared encoding puts at each code: what the document declares as the font's
// /Widths, what readers lay its text out in, and so what text is measured in here. A code
// that is written as another (PDFShownCode) has that one's width; one the encoding leaves
// empty (or names a glyph the font lacks) is drawn as nothing, and is as wide as the glyph
// WinAnsiEncoding shows there, the byte's character in code page 1252, if the font has it,
// else as a blank.
const std::array<int, 256>& PDFFontWidths(const TPDFFont& font);

// Width of the text in points in the font at its size: the widths of the characters as
// written summed, then rounded to the nearest point (halves to even).
int TextWidth(std::string_view text, const TPDFFont& font);
// The same unrounded, in thousandths of the font size: where a reader ends the text.
long long TextUnits(std::string_view text, const TPDFFont& font);
// How many of the text's first bytes fit in `room` points in the font at its size.
size_t FittingLength(std::string_view text, const TPDFFont& font, double room);
// Width in points of a number of average characters. Columns are counted in characters of
// one average width, 484.3359375 thousandths of the size, whatever the font: the widths a
// user gives and saves are counted in them.
int CharsToPoints(double fontSize, double chars);
// The width a column needs, in average characters, to hold the text whole wherever the
// exporter's rounding of edges and positions falls: its measured width and half a character.
// The same for a text of that many TextUnits.
int CharsToHold(std::string_view text, const TPDFFont& font);
int CharsToHoldUnits(long long units);

}  // namespace vantrix
