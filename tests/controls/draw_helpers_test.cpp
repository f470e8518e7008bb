// The shared drawing helpers: colour values, rounding, number text and the pixel rules of
// the drawing surface.
#include <QImage>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "controls/gdi_canvas.h"
#include "controls/number_text.h"
#include "controls/rounding.h"
#include "controls/tcolor.h"

namespace {

using namespace draw;

TEST(ColorValue, PlainAndSystemColoursResolveToFixedRgb) {
  EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(ToQColor(0x123456), QColor(0x56, 0x34, 0x12));
  // The high byte of a plain value does not leak into the colour.
  EXPECT_EQ(ToQColor(0x02123456), QColor(0x56, 0x34, 0x12));
  EXPECT_EQ(ToQColor(clBtnFace), QColor(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(ToQColor(clWindow), QColor(255, 255, 255));
  EXPECT_EQ(ToQColor(clWindowText), QColor(0, 0, 0));
  EXPECT_EQ(ToQColor(0x800000FF), QColor(0x80, 0x80, 0x80));  // unknown system index
  EXPECT_EQ(FromQColor(QColor(0x56, 0x34, 0x12)), 0x123456u);
}

TEST(Rounding, HalvesGoToEvenAndNothingOverflows) {
  struct Case { double in; int round; int trunc; };
  const Case cases[] = {
      {0.5, 0, 0}, {1.5, 2, 1}, {2.5, 2, 2}, {-0.5, 0, 0}, {-1.5, -2, -1}, {-2.5, -2, -2},
      {2.4999, 2, 2}, {-2.9, -3, -2}, {1e12, std::numeric_limits<int>::max(), std::numeric_limits<int>::max()},
      {-1e12, std::numeric_limits<int>::min(), std::numeric_limits<int>::min()},
      {std::numeric_limits<double>::quiet_NaN(), 0, 0},
      {std::numeric_limits<double>::infinity(), std::numeric_limits<int>::max(), std::numeric_limits<int>::max()},
      {-std::numeric_limits<double>::infinity(), std::numeric_limits<int>::min(), std::numeric_limits<int>::min()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Round(c.in), c.round) << c.in;
    EXPECT_EQ(Trunc(c.in), c.trunc) << c.in;
  }
  EXPECT_EQ(Round64(4503599627370497.0), 4503599627370497LL);
  EXPECT_EQ(Div(7, 0), 0);
  EXPECT_EQ(Div(-7, 2), -3);
  EXPECT_EQ(Div(std::numeric_limits<int>::min(), -1), std::numeric_limits<int>::max());
}

TEST(NumberText, FixedPointWithPrecisionAndDigits) {
  struct Case { double value; int precision; int digits; const char* text; };
  const Case cases[] = {
      {0.0, 15, 2, "0.00"},
      {1.0, 7, 0, "1"},
      {-5.25, 15, 1, "-5.3"},      // half away from zero in decimal
      {0.125, 15, 2, "0.13"},      // exact binary tie still rounds up
      {2.675, 15, 2, "2.67"},      // just below the tie in binary
      {1.23456789, 3, 5, "1.23000"},  // precision limits before the decimals pad
      {123.456, 4, 2, "123.50"},
      {999.96, 7, 1, "1000.0"},    // carry into a new digit
      {0.06, 15, 1, "0.1"},
      {0.006, 15, 1, "0.0"},
      {-0.001, 15, 2, "0.00"},     // rounds to zero: no minus sign
      {12345678.0, 7, 1, "1.234568E7"},
      {1e20, 15, 2, "1E20"},
      {static_cast<float>(0.1), 7, 3, "0.100"},  // single-precision noise hidden by 7 digits
      {1500.0, 7, 1, "1500.0"},
      {3.0, 15, 25, "3.000000000000000000"},     // decimals clamp at 18
      {std::numeric_limits<double>::quiet_NaN(), 15, 2, "NAN"},
      {std::numeric_limits<double>::infinity(), 15, 2, "INF"},
      {-std::numeric_limits<double>::infinity(), 15, 2, "-INF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FloatToStrFixed(c.value, c.precision, c.digits), c.text)
        << c.value << " p" << c.precision << " d" << c.digits;
  }
  EXPECT_EQ(FormatFixed(21.345, 1), "21.3");
  EXPECT_EQ(FormatFixed(-0.05, 1), "-0.1");
  EXPECT_EQ(FormatFixed(100.0, 0), "100");
}

class CanvasPixels : public ::testing::Test {
 protected:
  CanvasPixels() : image(40, 40, QImage::Format_RGB32) { image.fill(Qt::white); }
  QRgb At(int x, int y) const { return image.pixel(x, y) & 0xFFFFFF; }
  bool Black(int x, int y) const { return At(x, y) == 0x000000; }
  QImage image;
};

TEST_F(CanvasPixels, RectangleAndFillExcludeRightAndBottomEdges) {
  {
    QPainter painter(&image);
    GdiCanvas canvas(painter);
    canvas.pen.color = Qt::black;
    canvas.brush.color = Qt::red;
    canvas.Rectangle(5, 5, 15, 12);
    canvas.brush.color = Qt::blue;
    canvas.FillRect(20, 20, 25, 22);
  }
  EXPECT_TRUE(Black(5, 5));
  EXPECT_TRUE(Black(14, 11));
  EXPECT_EQ(At(15, 8), 0xFFFFFFu);
  EXPECT_EQ(At(10, 12), 0xFFFFFFu);
  EXPECT_EQ(At(10, 8), 0xFF0000u);
  EXPECT_EQ(At(24, 21), 0x0000FFu);
  EXPECT_EQ(At(25, 21), 0xFFFFFFu);
  EXPECT_EQ(At(24, 22), 0xFFFFFFu);
}

TEST_F(CanvasPixels, LinesLeaveOutTheirEndPixel) {
  {
    QPainter painter(&image);
    GdiCanvas canvas(painter);
    canvas.Line(2, 2, 10, 2);
    canvas.LineTo(10, 10);
    canvas.Line(20, 20, 20, 20);  // zero length draws nothing
  }
  EXPECT_TRUE(Black(2, 2));
  EXPECT_TRUE(Black(9, 2));
  EXPECT_TRUE(Black(10, 2));  // start of the second line
  EXPECT_TRUE(Black(10, 9));
  EXPECT_FALSE(Black(10, 10));
  EXPECT_FALSE(Black(20, 20));
}

TEST_F(CanvasPixels, WidePensCoverWholePixelsAroundTheLine) {
  {
    QPainter painter(&image);
    GdiCanvas canvas(painter);
    canvas.pen.width = 2;
    canvas.Line(5, 10, 30, 10);  // rows 9 and 10
    canvas.pen.width = 3;
    canvas.Line(5, 20, 30, 20);  // rows 19 to 21
    canvas.pen.width = 2;
    canvas.Line(40, 0, 40, 39);  // along the right edge: column 39 shows
  }
  EXPECT_FALSE(Black(15, 8));
  EXPECT_TRUE(Black(15, 9));
  EXPECT_TRUE(Black(15, 10));
  EXPECT_FALSE(Black(15, 11));
  EXPECT_FALSE(Black(15, 18));
  EXPECT_TRUE(Black(15, 19));
  EXPECT_TRUE(Black(15, 21));
  EXPECT_FALSE(Black(15, 22));
  EXPECT_TRUE(Black(39, 30));
  EXPECT_FALSE(Black(38, 30));
}

TEST_F(CanvasPixels, EllipseStaysInsideItsBox) {
  {
    QPainter painter(&image);
    GdiCanvas canvas(painter);
    canvas.brush.color = Qt::black;
    canvas.Ellipse(10, 10, 30, 30);
  }
  EXPECT_TRUE(Black(20, 20));
  EXPECT_TRUE(Black(10, 20));
  EXPECT_TRUE(Black(29, 20));
  EXPECT_FALSE(Black(30, 20));
  EXPECT_FALSE(Black(20, 30));
  EXPECT_FALSE(Black(11, 11));  // corner outside the curve
}

TEST_F(CanvasPixels, PieRunsCounterClockwiseFromStartToEndRay) {
  {
    QPainter painter(&image);
    GdiCanvas canvas(painter);
    canvas.brush.color = Qt::black;
    // From the ray towards the right to the ray upwards: the upper right quarter.
    canvas.Pie(0, 0, 40, 40, 39, 20, 20, 0);
  }
  EXPECT_TRUE(Black(28, 12));
  EXPECT_FALSE(Black(12, 12));
  EXPECT_FALSE(Black(28, 28));
  EXPECT_FALSE(Black(12, 28));
}

TEST_F(CanvasPixels, ArcAnglesOnAnEllipseFollowScreenDirections) {
  QImage wide(80, 40, QImage::Format_RGB32);
  wide.fill(Qt::white);
  {
    QPainter painter(&wide);
    GdiCanvas canvas(painter);
    canvas.brush.color = Qt::black;
    canvas.pen.style = PenStyle::Clear;
    // A pie from 0 to 45 degrees on a 2:1 ellipse: the 45-degree ray must be its edge.
    canvas.PieAngles(0, 0, 80, 40, 0.0, 45.0);
    canvas.PieAngles(0, 0, 80, 40, 100.0, 0.0);  // zero span: nothing
  }
  // Just below the 45-degree ray through the centre (40, 20) is inside, just above outside.
  EXPECT_EQ(wide.pixel(52, 10) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(wide.pixel(48, 6) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(wide.pixel(36, 8) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(CanvasAngles, ParametricConversion) {
  EXPECT_NEAR(ParametricAngle(0.0, 40, 20), 0.0, 1e-9);
  EXPECT_NEAR(ParametricAngle(90.0, 40, 20), 90.0, 1e-9);
  EXPECT_NEAR(ParametricAngle(45.0, 40, 20), std::atan2(1.0 / 20, 1.0 / 40) * 180 / M_PI, 1e-9);
  EXPECT_NEAR(ParametricAngle(225.0, 40, 40), 225.0, 1e-9);
  EXPECT_NEAR(ScreenAngle(10, 10, 10, 0), 90.0, 1e-9);
  EXPECT_NEAR(ScreenAngle(10, 10, 0, 10), 180.0, 1e-9);
}

}  // namespace
