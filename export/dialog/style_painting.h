#pragma once
// The samples of the style pages: colour swatches, border-line and fill-pattern samples, a
// spreadsheet cell preview, an RTF style preview and a font sample. Each draws with the
// painter it is given (on a widget or on a QImage) into the box, without antialiasing, so
// that the patterns keep their pixel geometry.
#include <QRect>
#include <cstdint>

#include "export/rtf_style.h"
#include "export/vantrix_font.h"
#include "export/xls/xls_format.h"

class QPainter;
class QWidget;

namespace vantrix {

class DialogServices;

// The whole box in the palette colour, or in the colour value.
void PaintXLSColors(QPainter& painter, const QRect& box, TxlsColor color);
void PaintStandardColors(QPainter& painter, const QRect& box, uint32_t color);

// A border-line sample along the box's vertical middle, 10 pixels in from either side, in the
// painter's pen colour; bstNone shows the library's "None" centred instead.
void DrawBorderStyle(TxlsBorderStyle style, QPainter& painter, const QRect& box);
// The pen width a border style is drawn with.
int BorderPenWidth(TxlsBorderStyle style);

// One 4 x 4 cell of fill pattern 2..18 at (x, y) in the painter's pen colour; patterns 0, 1
// and unknown ones draw nothing.
void DrawPattern(QPainter& painter, int pattern, int x, int y);

// An item of a border-style combo: the box filled, the style drawn in white when the item is
// selected, else in the border's colour.
void DrawBorderStyleItem(QPainter& painter, const QRect& box, int style, bool selected, const QColor& fill,
                         TxlsColor color);
// An item of the fill-pattern combo: pattern 0 a white box with "None" centred in black, any
// other the background with the pattern's cells in the foreground every 4 pixels.
void DrawPatternItem(QPainter& painter, const QRect& box, int pattern, TxlsColor background, TxlsColor foreground);

// A cell in the format: fill and pattern, the text "Aa Zz" placed by the alignment, borders.
void DrawXLSCell(QPainter& painter, const QRect& box, const TxlsFormat& format);
// The text "Aa Zz" in the style, centred, on its background and highlight.
void DrawRTFSample(QPainter& painter, const QRect& box, const TrtfStyle& style);
// "AaBbCc XxYyZz" centred in a framed white box; the font's colour only when useColor.
void PaintSampleFont(const TVantrixFont& font, QPainter& painter, const QRect& box, bool useColor);

// Runs the font dialog on the font and repaints the sample box when the user confirms.
bool SelectFontForPaintBox(DialogServices& services, TVantrixFont& font, QWidget* paintBox);

// The font a spreadsheet font and an engine font show on the screen.
QFont ScreenFont(const TxlsFont& font);
QFont ScreenFont(const TVantrixFont& font);

}  // namespace vantrix
