#include "export/dialog/style_painting.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "export/dialog/dialog_services.h"
#include "export/library_strings.h"
#include "platform/qt_text.h"

namespace vantrix {

namespace {

inline constexpr int kStrNone = 34272;

int Sign(int v) { return (v > 0) - (v < 0); }

// A segment that leaves out its end point, as the framework's line does. Qt's drawLine draws
// both ends, so slanted segments are drawn one pixel short (a one-pixel segment is its start
// point); straight ones are filled as the pen's width of pixels from the start up to the end.
void Segment(QPainter& painter, int x1, int y1, int x2, int y2) {
  if (x1 == x2 && y1 == y2) return;
  const QPen pen = painter.pen();
  const int w = std::max(1, pen.width());
  if (y1 == y2) {
    painter.fillRect(std::min(x1, x2 + 1), y1 - (w - 1) / 2, std::abs(x2 - x1), w, pen.color());
    return;
  }
  if (x1 == x2) {
    painter.fillRect(x1 - (w - 1) / 2, std::min(y1, y2 + 1), w, std::abs(y2 - y1), pen.color());
    return;
  }
  const int ex = x2 - Sign(x2 - x1), ey = y2 - Sign(y2 - y1);
  if (ex == x1 && ey == y1)
    painter.drawPoint(x1, y1);
  else
    painter.drawLine(x1, y1, ex, ey);
}

QColor PaletteQColor(TxlsColor color) { return ToQColor(XLSColorValue(color)); }

// Dashes of dashLength every period along y from x1 to x2 (x2 left out), the last one cut.
void Dashes(QPainter& painter, int x1, int x2, int y, std::initializer_list<std::pair<int, int>> marks, int period) {
  for (int start = x1; start < x2; start += period)
    for (const auto& [offset, length] : marks) {
      const int a = start + offset;
      if (a >= x2) continue;
      Segment(painter, a, y, std::min(a + length, x2), y);
    }
}

void HorizontalBorderLine(QPainter& painter, TxlsBorderStyle style, int x1, int x2, int y) {
  switch (style) {
    case bstNone: return;
    case bstThin:
    case bstMedium:
    case bstThick: Segment(painter, x1, y, x2, y); return;
    case bstDashed:
    case bstMediumDashed: Dashes(painter, x1, x2, y, {{0, 7}}, 14); return;
    case bstDotted: Dashes(painter, x1, x2, y, {{0, 3}}, 6); return;
    case bstHair: Dashes(painter, x1, x2, y, {{0, 2}}, 4); return;
    case bstDouble:
      Segment(painter, x1, y - 1, x2, y - 1);
      Segment(painter, x1, y + 1, x2, y + 1);
      return;
    case bstDashDot:
    case bstMediumDashDot:
    case bstSlantedDashDot: Dashes(painter, x1, x2, y, {{0, 7}, {11, 3}}, 18); return;
    case bstDashDotDot:
    case bstMediumDashDotDot: Dashes(painter, x1, x2, y, {{0, 7}, {11, 3}, {18, 3}}, 25); return;
  }
}

QPen BorderPen(TxlsBorderStyle style, const QColor& color) {
  QPen pen(color);
  pen.setWidth(BorderPenWidth(style));
  pen.setStyle(Qt::SolidLine);
  return pen;
}

}  // namespace

void PaintXLSColors(QPainter& painter, const QRect& box, TxlsColor color) {
  painter.fillRect(box, PaletteQColor(color));
}

void PaintStandardColors(QPainter& painter, const QRect& box, uint32_t color) {
  painter.fillRect(box, ToQColor(color));
}

int BorderPenWidth(TxlsBorderStyle style) {
  switch (style) {
    case bstMedium:
    case bstMediumDashed:
    case bstMediumDashDot:
    case bstMediumDashDotDot:
    case bstSlantedDashDot: return 2;
    case bstThick: return 3;
    default: return 1;
  }
}

void DrawBorderStyle(TxlsBorderStyle style, QPainter& painter, const QRect& box) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  if (style == bstNone) {
    painter.drawText(box, Qt::AlignCenter, platform::FromCp1252(VantrixLoadStr(kStrNone)));
    painter.restore();
    return;
  }
  painter.setPen(BorderPen(style, painter.pen().color()));
  const int y = box.top() + box.height() / 2;
  HorizontalBorderLine(painter, style, box.left() + 10, box.left() + box.width() - 10, y);
  painter.restore();
}

void DrawPattern(QPainter& painter, int pattern, int x, int y) {
  const auto seg = [&](int x1, int y1, int x2, int y2) { Segment(painter, x + x1, y + y1, x + x2, y + y2); };
  switch (pattern) {
    case 2:
      for (int r = 0; r < 4; ++r) {
        painter.drawPoint(x + r % 2, y + r);
        painter.drawPoint(x + r % 2 + 2, y + r);
      }
      break;
    case 3:
      for (int r = 0; r < 4; ++r) {
        if (r % 2 == 0) {
          seg(1, r, 4, r);
        } else {
          seg(0, r, 2, r);
          seg(3, r, 4, r);
        }
      }
      break;
    case 4:
      for (int r = 0; r < 4; ++r) r % 2 == 0 ? seg(0, r, 1, r) : seg(2, r, 3, r);
      break;
    case 5: seg(0, 0, 4, 0); seg(0, 1, 4, 1); break;
    case 6: seg(0, 0, 0, 4); seg(1, 0, 1, 4); break;
    case 7: seg(1, 0, 5, 4); seg(0, 0, 4, 4); break;
    case 8: seg(3, 0, -1, 4); seg(4, 0, 0, 4); break;
    case 9: seg(0, 0, 2, 0); seg(0, 1, 2, 1); seg(2, 2, 4, 2); seg(2, 3, 4, 3); break;
    case 10: seg(0, 0, 4, 0); seg(0, 1, 2, 1); seg(2, 2, 4, 2); seg(0, 3, 4, 3); break;
    case 11: seg(0, 0, 4, 0); break;
    case 12: seg(0, 0, 0, 4); break;
    case 13: seg(0, 0, 4, 4); break;
    case 14: seg(4, 0, 0, 4); break;
    case 15: seg(0, 0, 4, 0); seg(0, 0, 0, 4); break;
    case 16: seg(0, 0, 4, 4); seg(2, 0, 0, 2); break;
    case 17: seg(0, 0, 1, 0); seg(2, 2, 3, 2); break;
    case 18: seg(0, 0, 1, 0); seg(4, 2, 5, 2); break;
    default: break;
  }
}

void DrawBorderStyleItem(QPainter& painter, const QRect& box, int style, bool selected, const QColor& fill,
                         TxlsColor color) {
  painter.save();
  painter.fillRect(box, fill);
  painter.setPen(selected ? QColor(Qt::white) : PaletteQColor(color));
  DrawBorderStyle(static_cast<TxlsBorderStyle>(std::clamp(style, 0, static_cast<int>(bstSlantedDashDot))), painter,
                  box);
  painter.restore();
}

void DrawPatternItem(QPainter& painter, const QRect& box, int pattern, TxlsColor background, TxlsColor foreground) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  if (pattern == 0) {
    painter.fillRect(box, Qt::white);
    painter.setPen(Qt::black);
    const QString text = platform::FromCp1252(VantrixLoadStr(kStrNone));
    const QFontMetrics metrics(painter.font());
    // Left + Right and Top + Bottom as the framework's rectangles count them (one past).
    const int x = (box.left() + box.left() + box.width() - metrics.horizontalAdvance(text)) / 2;
    const int y = (box.top() + box.top() + box.height() - metrics.height()) / 2;
    painter.drawText(x, y + metrics.ascent(), text);
  } else {
    painter.fillRect(box, PaletteQColor(background));
    // The last column of cells starts on the right edge: what passes it stays in the item.
    painter.setClipRect(box, Qt::IntersectClip);
    painter.setPen(QPen(PaletteQColor(foreground), 1));
    const int right = box.left() + box.width(), bottom = box.top() + box.height();
    for (int x = box.left(); x <= right; x += 4)
      for (int y = box.top(); y <= bottom - 4; y += 4) DrawPattern(painter, pattern, x, y);
  }
  painter.restore();
}

QFont ScreenFont(const TxlsFont& font) {
  QFont f(QString::fromStdU16String(font.Name));
  f.setPointSize(std::clamp(font.Size, 1, TxlsFont::kMaxSize));
  f.setBold(font.Style.Has(xfsBold));
  f.setItalic(font.Style.Has(xfsItalic));
  f.setStrikeOut(font.Style.Has(xfsStrikeOut));
  f.setUnderline(font.Underline != fulNone);
  return f;
}

QFont ScreenFont(const TVantrixFont& font) {
  QFont f(platform::FromCp1252(font.name));
  f.setPointSize(std::clamp(font.size, 1, 1638));
  f.setBold(font.HasStyle(fsBold));
  f.setItalic(font.HasStyle(fsItalic));
  f.setUnderline(font.HasStyle(fsUnderline));
  f.setStrikeOut(font.HasStyle(fsStrikeOut));
  return f;
}

void DrawXLSCell(QPainter& painter, const QRect& box, const TxlsFormat& format) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  painter.fillRect(box, PaletteQColor(format.Fill.Background));
  painter.setPen(QPen(PaletteQColor(format.Fill.Foreground), 1));
  for (int y = 0; y <= box.height() - 4; y += 4)
    for (int x = 0; x < box.width(); x += 4) DrawPattern(painter, format.Fill.Pattern, box.left() + x, box.top() + y);

  const QString text = QStringLiteral("Aa Zz");
  painter.setFont(ScreenFont(format.Font));
  const QFontMetrics metrics(painter.font());
  const int tw = metrics.horizontalAdvance(text), th = metrics.height();
  int x = 5;
  if (format.Alignment.Horizontal == halCenter) x = (box.width() - tw) / 2;
  if (format.Alignment.Horizontal == halRight) x = box.width() - 5 - tw;
  int y = 5;
  if (format.Alignment.Vertical == valCenter) y = (box.height() - th) / 2;
  if (format.Alignment.Vertical == valBottom) y = box.height() - 5 - th;
  if (format.Alignment.Vertical == valJustify) y = 0;
  painter.setPen(PaletteQColor(format.Font.Color));
  painter.drawText(box.left() + x, box.top() + y + metrics.ascent(), text);

  const int l = box.left(), t = box.top(), r = box.left() + box.width(), b = box.top() + box.height();
  const auto border = [&](const TxlsBorder& line, int x1, int y1, int x2, int y2) {
    if (line.Style == bstNone) return;
    painter.setPen(BorderPen(line.Style, PaletteQColor(line.Color)));
    if (y1 == y2) {
      HorizontalBorderLine(painter, line.Style, x1, x2, y1);
    } else {
      // Vertical borders show the style's weight; their dashes matter less in a preview.
      Segment(painter, x1, y1, x2, y2);
    }
  };
  border(format.Borders.Top, l, t, r, t);
  border(format.Borders.Bottom, l, b - 1, r, b - 1);
  border(format.Borders.Left, l, t, l, b);
  border(format.Borders.Right, r - 1, t, r - 1, b);
  painter.restore();
}

void DrawRTFSample(QPainter& painter, const QRect& box, const TrtfStyle& style) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(box, style.AllowBackground ? ToQColor(style.BackgroundColor) : QColor(Qt::white));
  painter.setFont(ScreenFont(style.Font));
  const QString text = QStringLiteral("Aa Zz");
  const QFontMetrics metrics(painter.font());
  QRect textBox(0, 0, std::min(metrics.horizontalAdvance(text), box.width()), std::min(metrics.height(), box.height()));
  textBox.moveCenter(box.center());
  if (style.AllowHighlight && style.HighlightColor != style.BackgroundColor)
    painter.fillRect(textBox, ToQColor(style.HighlightColor));
  painter.setPen(ToQColor(style.Font.color));
  painter.drawText(textBox, Qt::AlignCenter, text);
  painter.restore();
}

void PaintSampleFont(const TVantrixFont& font, QPainter& painter, const QRect& box, bool useColor) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(Qt::black);
  painter.setBrush(Qt::white);
  painter.drawRect(box.adjusted(0, 0, -1, -1));
  painter.setFont(ScreenFont(font));
  painter.setPen(useColor ? ToQColor(font.color) : QColor(Qt::black));
  painter.drawText(box, Qt::AlignCenter, QStringLiteral("AaBbCc XxYyZz"));
  painter.restore();
}

bool SelectFontForPaintBox(DialogServices& services, TVantrixFont& font, QWidget* paintBox) {
  const auto chosen = services.ChooseFont(paintBox, font);
  if (!chosen) return false;
  font = *chosen;
  if (paintBox != nullptr) paintBox->update();
  return true;
}

}  // namespace vantrix
