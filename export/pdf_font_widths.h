#pragma once
// The advance widths of the fourteen standard PDF fonts' glyphs, code by code, in thousandths
// of the font size: [font, in the order of TPDFFontName][0: the font's own encoding,
// 1: WinAnsiEncoding, 2: MacRomanEncoding][code]. 0 where the encoding names no glyph the font
// has. Generated from the metrics of the metric-compatible fonts by
// tools/pdf_font_widths/make_pdf_font_widths.py.
#include <cstdint>

namespace vantrix {

extern const uint16_t kPDFGlyphWidths[14][3][256];

}  // namespace vantrix
