// The shared drawing helpers: colour values, rounding, number text and the pixel rules of
// the drawing surface.
#include <QImage>
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

#include "controls/gdi_canvas.h"
#include "controls/number_text.h"
#include "controls/redraw_rate.h"
#include "controls/rounding.h"
#include "controls/tcolor.h"

namespace {

using namespace draw;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

TEST(ColorValue, PlainAndSystemColoursResolveToFixedRgb) {
  EXPECT_EQ(ToQColor(0x123456), QColor(0x56, 0x34, 0x12));
  EXPECT_EQ(ToQColor(0x02123456), QColor(0x56, 0x34, 0x12));  // the high byte does not leak in
  EXPECT_EQ(ToQColor(clBtnFace), QColor(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(ToQColor(0x800000FF), QColor(0x80, 0x80, 0x80));  // unknown system index
  EXPECT_EQ(FromQColor(QColor(0x56, 0x34, 0x12)), 0x123456u);
}

TEST(Rounding, HalvesGoToEvenAndNothingOverflows) {
  struct Case { double in; int round; int trunc; };
  const Case cases[] = {
      {0.5, 0, 0},   {1.5, 2, 1},   {2.5, 2, 2},   {-0.5, 0, 0},          {-1.5, -2, -1},
      {-2.5, -2, -2}, {2.4999, 2, 2}, {-2.9, -3, -2}, {1e12, kIntMax, kIntMax}, {-1e12, kIntMin, kIntMin},
      {kNaN, 0, 0},  {kInf, kIntMax, kIntMax},      {-kInf, kIntMin, kIntMin},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Round(c.in), c.round) << c.in;
    EXPECT_EQ(Trunc(c.in), c.trunc) << c.in;
  }
  EXPECT_EQ(Round64(4503599627370497.0), 4503599627370497LL);
  EXPECT_EQ(Div(7, 0), 0);
  EXPECT_EQ(Div(-7, 2), -3);
  EXPECT_EQ(Div(kIntMin, -1), kIntMax);
}

TEST(RedrawRate, AcrossTheTickWrapAndTooQuickToMeasure) {
  EXPECT_EQ(RedrawsPerSecond(0xFFFFFFF0u, 9u), 40);  // 25 ms across the 32-bit wrap
  EXPECT_EQ(RedrawsPerSecond(100, 300), 5);
  EXPECT_EQ(RedrawsPerSecond(100, 100), std::nullopt);
}

TEST(NumberText, FixedPointWithPrecisionAndDigits) {
  struct Case { double value; int precision; int digits; const char* text; };
  const Case cases[] = {
      {1.0, 7, 0, "1"},
      {-5.25, 15, 1, "-5.3"},         // half away from zero in decimal
      {0.125, 15, 2, "0.13"},         // exact binary tie still rounds up
      {2.675, 15, 2, "2.67"},         // just below the tie in binary
      {1.23456789, 3, 5, "1.23000"},  // precision limits before the decimals pad
      {999.96, 7, 1, "1000.0"},       // carry into a new digit
      {-0.001, 15, 2, "0.00"},        // rounds to zero: no minus sign
      {12345678.0, 7, 1, "1.234568E7"},
      {1e20, 15, 2, "1E20"},
      {static_cast<float>(0.1), 7, 3, "0.100"},  // single-precision noise hidden by 7 digits
      {3.0, 15, 25, "3.000000000000000000"},     // decimals clamp at 18
      {kNaN, 15, 2, "NAN"},
      {kInf, 15, 2, "INF"},
      {-kInf, 15, 2, "-INF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FloatToStrFixed(c.value, c.precision, c.digits), c.text)
        << c.value << " p" << c.precision << " d" << c.digits;
  }
  EXPECT_EQ(FormatFixed(21.345, 1), "21.3");
  EXPECT_EQ(FormatFixed(-0.05, 1), "-0.1");
}

struct Pixel { int x, y; QRgb rgb; };

// Draws on a white image and checks the listed pixels.
void ExpectPixels(QSize size, const std::function<void(GdiCanvas&)>& draw, std::initializer_list<Pixel> pixels) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    GdiCanvas canvas(painter);
    draw(canvas);
  }
  for (const Pixel& p : pixels) {
    EXPECT_EQ(image.pixel(p.x, p.y) & 0xFFFFFF, p.rgb) << "at " << p.x << "," << p.y;
  }
}

constexpr QRgb kB = 0x000000, kW = 0xFFFFFF;

TEST(CanvasPixels, RectangleAndFillExcludeRightAndBottomEdges) {
  ExpectPixels({40, 40}, [](GdiCanvas& c) {
    c.brush.color = Qt::red;
    c.Rectangle(5, 5, 15, 12);
    c.brush.color = Qt::blue;
    c.FillRect(20, 20, 25, 22);
  }, {{5, 5, kB}, {14, 11, kB}, {15, 8, kW}, {10, 12, kW}, {10, 8, 0xFF0000},
      {24, 21, 0x0000FF}, {25, 21, kW}, {24, 22, kW}});
}

TEST(CanvasPixels, LinesLeaveOutTheirEndPixel) {
  ExpectPixels({40, 40}, [](GdiCanvas& c) {
    c.Line(2, 2, 10, 2);
    c.LineTo(10, 10);
    c.Line(20, 20, 20, 20);  // zero length draws nothing
  }, {{2, 2, kB}, {9, 2, kB}, {10, 2, kB}, {10, 9, kB}, {10, 10, kW}, {20, 20, kW}});
}

TEST(CanvasPixels, WidePensCoverWholePixelsAroundTheLine) {
  ExpectPixels({40, 40}, [](GdiCanvas& c) {
    c.pen.width = 2;
    c.Line(5, 10, 30, 10);  // rows 9 and 10
    c.pen.width = 3;
    c.Line(5, 20, 30, 20);  // rows 19 to 21
    c.pen.width = 2;
    c.Line(40, 0, 40, 39);  // along the right edge: column 39 shows
  }, {{15, 8, kW}, {15, 9, kB}, {15, 10, kB}, {15, 11, kW}, {15, 18, kW}, {15, 19, kB}, {15, 21, kB},
      {15, 22, kW}, {39, 30, kB}, {38, 30, kW}});
}

TEST(CanvasPixels, EllipseStaysInsideItsBox) {
  ExpectPixels({40, 40}, [](GdiCanvas& c) {
    c.brush.color = Qt::black;
    c.Ellipse(10, 10, 30, 30);
  }, {{20, 20, kB}, {10, 20, kB}, {29, 20, kB}, {30, 20, kW}, {20, 30, kW}, {11, 11, kW}});
}

TEST(CanvasPixels, PiesRunCounterClockwiseBetweenScreenDirections) {
  // Point form: from the ray towards the right to the ray upwards, the upper right quarter.
  ExpectPixels({40, 40}, [](GdiCanvas& c) {
    c.brush.color = Qt::black;
    c.Pie(0, 0, 40, 40, 39, 20, 20, 0);
  }, {{28, 12, kB}, {12, 12, kW}, {28, 28, kW}, {12, 28, kW}});
  // Angle form on a 2:1 ellipse: the 45-degree ray through the centre (40, 20) is the edge.
  ExpectPixels({80, 40}, [](GdiCanvas& c) {
    c.brush.color = Qt::black;
    c.pen.style = PenStyle::Clear;
    c.PieAngles(0, 0, 80, 40, 0.0, 45.0);
    c.PieAngles(0, 0, 80, 40, 100.0, 0.0);  // zero span: nothing
  }, {{52, 10, kB}, {48, 6, kW}, {36, 8, kW}});
}

}  // namespace
