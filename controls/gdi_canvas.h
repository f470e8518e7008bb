#pragma once
// A drawing surface with the geometry rules the indicator controls were designed for, on top
// of a QPainter (on a widget or a QImage):
// - rectangles, ellipses and fills cover (left, top) up to but excluding (right, bottom);
// - a line leaves out its end pixel; the pen moves to the end point;
// - arcs and pies start at the ellipse point on the ray from the centre towards the start
//   point and run counter-clockwise on screen to the ray of the end point;
// - pens wider than one pixel have round ends and joins unless made with flat ends;
// - text is placed by its top-left corner, opaque on the brush colour unless the brush is clear.
// Nothing is antialiased unless the caller switches it on in the painter.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>

#include "controls/tcolor.h"

namespace draw {

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame };
enum class BrushStyle { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };

struct Pen {
  QColor color{Qt::black};
  int width = 1;  // 0 and 1 both mean a one-pixel pen
  PenStyle style = PenStyle::Solid;
  // Geometric pen with flat ends instead of the round ends of ordinary wide pens.
  bool flatEnds = false;
};

struct Brush {
  QColor color{Qt::white};
  BrushStyle style = BrushStyle::Solid;
};

// Flags of DrawText (combine with |).
namespace dt {
inline constexpr unsigned Top = 0x0;
inline constexpr unsigned Left = 0x0;
inline constexpr unsigned Center = 0x1;
inline constexpr unsigned Right = 0x2;
inline constexpr unsigned VCenter = 0x4;  // single line only
inline constexpr unsigned Bottom = 0x8;   // single line only
inline constexpr unsigned WordBreak = 0x10;
inline constexpr unsigned SingleLine = 0x20;
inline constexpr unsigned NoClip = 0x100;
inline constexpr unsigned CalcRect = 0x400;  // measure into the rectangle, draw nothing
inline constexpr unsigned NoPrefix = 0x800;  // '&' is an ordinary character
}  // namespace dt

// Converts a direction on screen (degrees, 0 = right, counter-clockwise positive) to the
// parametric angle Qt uses on an ellipse with horizontal semi-axis a and vertical semi-axis b.
double ParametricAngle(double screenDegrees, double a, double b);

// The direction on screen (degrees in [0, 360), 0 = right, counter-clockwise positive) from
// (cx, cy) towards (x, y), y growing downwards.
double ScreenAngle(double cx, double cy, double x, double y);

// A font of the same family and style whose character cell is `pixels` high.
QFont FontWithPixelSize(const QFont& font, int pixels);

// The pixel size a font has on screen (converts point sizes at the screen's resolution).
int FontPixelSize(const QFont& font);

class GdiCanvas {
 public:
  explicit GdiCanvas(QPainter& painter);

  QPainter& Painter() { return painter_; }

  Pen pen;
  Brush brush;
  QColor fontColor{Qt::black};

  void SetFont(const QFont& font);
  const QFont& Font() const { return font_; }

  // Pen position and lines.
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  QPoint PenPos() const { return penPos_; }
  void Line(int x0, int y0, int x1, int y1);  // MoveTo + LineTo
  void Polyline(const QPolygon& points);

  // Filled shapes: brush inside, pen outline.
  void FillRect(int left, int top, int right, int bottom);  // brush only
  void FillRect(const QRect& rect) { FillRect(rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1); }
  void Rectangle(int left, int top, int right, int bottom);
  void Ellipse(int left, int top, int right, int bottom);
  void Polygon(const QPolygon& points);  // alternate (odd-even) filling

  // Arcs and pies in point form: from the radial point towards (x3, y3) counter-clockwise to
  // the radial point towards (x4, y4). When both give the same direction the whole ellipse
  // is drawn.
  void Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
  void Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);

  // Arcs and pies in angle form: screen directions in degrees (0 = right, counter-clockwise
  // positive), the span may be negative (clockwise). A zero (or NaN) span draws nothing; a
  // span of 360 or more draws the whole ellipse.
  void ArcAngles(int left, int top, int right, int bottom, double startDegrees, double spanDegrees);
  void PieAngles(int left, int top, int right, int bottom, double startDegrees, double spanDegrees);

  // Text.
  int TextWidth(const QString& text) const;
  int TextHeight(const QString& text) const;
  void TextOut(int x, int y, const QString& text);
  // Draws (or with dt::CalcRect measures) text in a rectangle; returns the text height. With
  // dt::CalcRect the rectangle's right and bottom are set to the text's extent.
  int DrawText(const QString& text, QRect& rect, unsigned flags);

 private:
  QPen QtPen(int widthOverride = -1) const;
  QBrush QtBrush() const;
  bool HasPen() const { return pen.style != PenStyle::Clear; }
  bool HasBrush() const { return brush.style != BrushStyle::Clear; }
  int PenWidth() const { return pen.width < 1 ? 1 : pen.width; }
  void ThinLine(int x0, int y0, int x1, int y1);
  void StrokeEllipseArc(int left, int top, int right, int bottom, double startDegrees, double spanDegrees,
                        bool pie);

  QPainter& painter_;
  QFont font_;
  QPoint penPos_;
};

}  // namespace draw
