#include "export/pdf_font.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "export/page_units.h"

namespace vantrix {

// clang-format off
const std::array<int, 256> kPDFCharWidths = {
    300, 300, 300, 300, 300, 300, 300, 300, 300, 300, 300, 300, 300, 300, 300, 300,
    300, 300, 300, 300, 300, 300, 300, 300, 300, 300, 300, 300, 300, 300, 300, 300,
    275, 389, 333, 600, 556, 1000, 722, 222, 389, 389, 556, 600, 278, 333, 278, 278,
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 333, 333, 600, 600, 600, 500,
    1000, 667, 667, 700, 667, 667, 611, 750, 722, 389, 500, 667, 611, 889, 722, 750,
    667, 750, 667, 611, 611, 722, 667, 944, 667, 667, 611, 389, 278, 389, 600, 500,
    278, 500, 500, 500, 500, 500, 333, 500, 500, 278, 278, 500, 278, 820, 540, 500,
    540, 500, 389, 500, 333, 550, 444, 722, 500, 444, 500, 333, 222, 333, 600, 275,
    667, 667, 611, 667, 722, 611, 722, 500, 500, 500, 500, 500, 500, 444, 500, 500,
    500, 500, 278, 278, 278, 278, 500, 500, 500, 500, 500, 500, 500, 500, 500, 500,
    556, 400, 556, 556, 556, 500, 600, 556, 800, 800, 990, 278, 278, 275, 1000, 611,
    275, 600, 275, 275, 667, 576, 275, 275, 275, 275, 275, 350, 350, 275, 778, 500,
    500, 389, 600, 275, 556, 275, 275, 556, 556, 1000, 275, 667, 667, 611, 944, 778,
    500, 1000, 556, 556, 278, 278, 600, 275, 444, 667, 167, 600, 389, 389, 556, 556,
    556, 278, 278, 556, 1000, 667, 667, 667, 667, 667, 389, 389, 389, 389, 611, 611,
    275, 611, 722, 722, 722, 278, 278, 278, 278, 278, 278, 278, 278, 278, 278, 278,
};
// clang-format on

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

namespace {

// The width of each byte as it is written, looked up once per byte.
const std::array<int, 256> kShownWidths = [] {
  std::array<int, 256> widths{};
  for (int byte = 0; byte < 256; ++byte) widths[byte] = kPDFCharWidths[PDFShownCode(static_cast<unsigned char>(byte))];
  return widths;
}();

int ShownWidth(char c) { return kShownWidths[static_cast<unsigned char>(c)]; }

}  // namespace

long long TextUnits(std::string_view text) {
  long long units = 0;
  for (const char c : text) units += ShownWidth(c);
  return units;
}

int TextWidth(std::string_view text, double fontSize) {
  double width = 0;
  for (const char c : text) width += ShownWidth(c) * fontSize / 1000;
  return static_cast<int>(RoundHalfEven(width));
}

size_t FittingLength(std::string_view text, double fontSize, double room) {
  if (!(fontSize > 0)) return text.size();
  // Compared in thousandths of the size, as whole numbers: the sum never loses a unit.
  const double limit = room * 1000 / fontSize;
  long long units = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    units += ShownWidth(text[i]);
    if (static_cast<double>(units) > limit) return i;
  }
  return text.size();
}

namespace {

int TableSum() {
  static const int kSum = std::accumulate(kPDFCharWidths.begin(), kPDFCharWidths.end(), 0);
  return kSum;
}

}  // namespace

int CharsToPoints(double fontSize, double chars) {
  return static_cast<int>(RoundHalfEven(fontSize * chars * TableSum() / 256 / 1000));
}

int CharsToHoldUnits(long long units) {
  const double chars = static_cast<double>(units) * 256 / TableSum();
  return static_cast<int>(std::min(std::ceil(chars + 0.5), 1e9));
}

int CharsToHold(std::string_view text) { return CharsToHoldUnits(TextUnits(text)); }

}  // namespace vantrix
