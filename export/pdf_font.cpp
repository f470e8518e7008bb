#include "export/pdf_font.h"

#include <algorithm>
#include <cmath>

#include "export/page_units.h"
#include "export/pdf_font_widths.h"

namespace vantrix {

namespace {

constexpr std::string_view kFontNames[] = {
    "Helvetica",   "Helvetica-Bold",    "Helvetica-Oblique",    "Helvetica-BoldOblique", "Courier",
    "Courier-Bold", "Courier-Oblique",  "Courier-BoldOblique",  "Times-Roman",           "Times-Bold",
    "Times-Italic", "Times-BoldItalic",  "Symbol",               "ZapfDingbats",
};
constexpr std::string_view kEncodingNames[] = {"StandardEncoding", "WinAnsiEncoding", "MacRomanEncoding",
                                               "PDFDocEncoding"};

}  // namespace

std::string_view PDFFontPostScriptName(TPDFFontName font) {
  return font < std::size(kFontNames) ? kFontNames[font] : kFontNames[0];
}

std::string_view PDFFontEncodingName(TPDFFontEncoding encoding) {
  return encoding < std::size(kEncodingNames) ? kEncodingNames[encoding] : kEncodingNames[1];
}

TPDFFontEncoding PDFDeclaredEncoding(const TPDFFont& font) {
  if (font.BaseFont == poSymbol || font.BaseFont == poZapfDingbats) return poStandardEncoding;
  switch (font.FontEncoding) {
    case poStandardEncoding:
      return poStandardEncoding;
    case poMacRomanEncoding:
      return poMacRomanEncoding;
    default:
      return poWinAnsiEncoding;
  }
}

namespace {

constexpr size_t kFontCount = std::size(kPDFGlyphWidths);
constexpr size_t kWinAnsi = 1;  // the encodings' places in kPDFGlyphWidths

using WidthTable = std::array<int, 256>;

// A code shows the glyph the encoding puts at the code it is written as. Where there is none
// the reader draws nothing; the width is then that of what the text means there.
WidthTable DeclaredWidths(size_t font, size_t encoding) {
  const uint16_t(&glyphs)[3][256] = kPDFGlyphWidths[font];
  WidthTable widths{};
  for (int code = 0; code < 256; ++code) {
    const unsigned char shown = PDFShownCode(static_cast<unsigned char>(code));
    int width = glyphs[encoding][shown];
    if (width == 0) width = glyphs[kWinAnsi][shown];
    if (width == 0) width = glyphs[0][' '];
    widths[static_cast<size_t>(code)] = width;
  }
  return widths;
}

// Every font in every encoding it can be declared in, made once.
const std::array<WidthTable, kFontCount * 3>& AllWidths() {
  static const std::array<WidthTable, kFontCount * 3> kAll = [] {
    std::array<WidthTable, kFontCount * 3> all{};
    for (size_t font = 0; font < kFontCount; ++font)
      for (size_t encoding = 0; encoding < 3; ++encoding) all[font * 3 + encoding] = DeclaredWidths(font, encoding);
    return all;
  }();
  return kAll;
}

// Columns are counted in characters of this average width: 123990 thousandths of the size
// for 256 of them.
constexpr int kAverageCharsUnits = 123990;

}  // namespace

const std::array<int, 256>& PDFFontWidths(const TPDFFont& font) {
  const size_t base = font.BaseFont < kFontCount ? font.BaseFont : poHelvetica;
  const TPDFFontEncoding declared = PDFDeclaredEncoding(font);
  const size_t encoding = declared == poStandardEncoding ? 0 : declared == poWinAnsiEncoding ? kWinAnsi : 2;
  return AllWidths()[base * 3 + encoding];
}

long long TextUnits(std::string_view text, const TPDFFont& font) {
  const WidthTable& widths = PDFFontWidths(font);
  long long units = 0;
  for (const char c : text) units += widths[static_cast<unsigned char>(c)];
  return units;
}

int TextWidth(std::string_view text, const TPDFFont& font) {
  const WidthTable& widths = PDFFontWidths(font);
  double width = 0;
  for (const char c : text) width += widths[static_cast<unsigned char>(c)] * static_cast<double>(font.FontSize) / 1000;
  return static_cast<int>(RoundHalfEven(width));
}

size_t FittingLength(std::string_view text, const TPDFFont& font, double room) {
  if (!(font.FontSize > 0)) return text.size();
  const WidthTable& widths = PDFFontWidths(font);
  // Compared in thousandths of the size, as whole numbers: the sum never loses a unit.
  const double limit = room * 1000 / font.FontSize;
  long long units = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    units += widths[static_cast<unsigned char>(text[i])];
    if (static_cast<double>(units) > limit) return i;
  }
  return text.size();
}

int CharsToPoints(double fontSize, double chars) {
  return static_cast<int>(RoundHalfEven(fontSize * chars * kAverageCharsUnits / 256 / 1000));
}

int CharsToHoldUnits(long long units) {
  const double chars = static_cast<double>(units) * 256 / kAverageCharsUnits;
  return static_cast<int>(std::min(std::ceil(chars + 0.5), 1e9));
}

int CharsToHold(std::string_view text, const TPDFFont& font) { return CharsToHoldUnits(TextUnits(text, font)); }

}  // namespace vantrix
