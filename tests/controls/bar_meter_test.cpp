// The bar meter: setter guards and ranges, the fill boundary, captions, and settings that
// must neither fail nor hang a paint.
#include <QElapsedTimer>
#include <QImage>
#include <QPalette>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "controls/bar_meter.h"
#include "tests/controls/pixel_probe.h"

namespace {

using controls::TBarMeter;

constexpr draw::TColor kFore = 0x0000C0;
constexpr draw::TColor kBack = 0xFFFF00;  // cyan
constexpr draw::TColor kFace = 0xD0F0D0;

QRgb Rgb(draw::TColor color) { return draw::ToRgb(color); }

TEST(BarMeterSetters, GuardsDropValuesInsteadOfClamping) {
  TBarMeter bar;
  bar.SetValue(50);
  bar.SetValue(150);
  EXPECT_DOUBLE_EQ(bar.Value(), 50);
  bar.SetValue(std::numeric_limits<double>::quiet_NaN());
  EXPECT_DOUBLE_EQ(bar.Value(), 50);
  bar.SetValueMin(-std::numeric_limits<double>::infinity());
  bar.SetValueMax(std::numeric_limits<double>::infinity());
  bar.SetValueMin(60);  // above the value
  bar.SetValueMax(40);  // below the value
  EXPECT_DOUBLE_EQ(bar.ValueMin(), 0);
  EXPECT_DOUBLE_EQ(bar.ValueMax(), 100);
  bar.SetIncrement(0);
  bar.SetIncrement(-5);
  bar.SetIncrement(std::numeric_limits<double>::quiet_NaN());
  EXPECT_DOUBLE_EQ(bar.Increment(), 10);
  bar.SetBarThickness(0);
  EXPECT_EQ(bar.BarThickness(), 5);

  // Moving the range upward with single setters needs ValueMax, Value, ValueMin in order.
  bar.SetValueMin(200);
  bar.SetValue(200);
  EXPECT_DOUBLE_EQ(bar.ValueMin(), 0);
  bar.SetValueMax(300);
  bar.SetValue(200);
  bar.SetValueMin(200);
  EXPECT_DOUBLE_EQ(bar.ValueMin(), 200);
  EXPECT_DOUBLE_EQ(bar.ValueMax(), 300);
}

TEST(BarMeterSetters, SetRangeReachesAnyRangeFromAnyState) {
  struct Range { double min, max; };
  const Range ranges[] = {{-50, -10}, {200, 800}, {0, 100}, {5, 5}, {-1e300, 1e300}};
  for (const Range& first : ranges) {
    for (const Range& second : ranges) {
      TBarMeter bar;
      bar.SetRange(first.min, first.max);
      bar.SetValue(first.max);
      bar.SetRange(second.min, second.max);
      EXPECT_DOUBLE_EQ(bar.ValueMin(), second.min);
      EXPECT_DOUBLE_EQ(bar.ValueMax(), second.max);
      EXPECT_GE(bar.Value(), second.min);
      EXPECT_LE(bar.Value(), second.max);
    }
  }
  TBarMeter bar;
  bar.SetRange(10, 1);
  bar.SetRange(0, std::numeric_limits<double>::infinity());
  EXPECT_DOUBLE_EQ(bar.ValueMin(), 0);
  EXPECT_DOUBLE_EQ(bar.ValueMax(), 100);
}

TEST(BarMeterSetters, ValueTextUsesDigitsAndUnit) {
  TBarMeter bar;
  EXPECT_EQ(bar.ValueText(0), QStringLiteral("0 Units"));
  bar.SetDigits(2);
  bar.SetSignalUnit(QStringLiteral("°C"));
  EXPECT_EQ(bar.ValueText(-3.14159), QStringLiteral("-3.14 °C"));
  EXPECT_EQ(bar.ValueText(0.125), QStringLiteral("0.13 °C"));
  EXPECT_EQ(bar.ValueText(123456789.0), QStringLiteral("1.2345679E8 °C"));  // precision 8
}

class BarRender : public ::testing::Test {
 protected:
  BarRender() {
    bar.resize(160, 260);
    bar.SetBarThickness(20);
    bar.SetColorFore(kFore);
    bar.SetColorBack(kBack);
    bar.SetColor(kFace);
    bar.SetShowMarker(false);
    bar.SetShowIncrements(false);
  }
  int Column() const { return bar.BarLeft() + 10; }
  // Rows of the bar column in `colour`, top to bottom: first and last.
  std::pair<int, int> RowsOf(const QImage& image, QRgb colour) const {
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y) {
      if (probe::Rgb(image, Column(), y) == colour) {
        if (first < 0) first = y;
        last = y;
      }
    }
    return {first, last};
  }
  TBarMeter bar;
};

TEST_F(BarRender, FillBoundaryAtHalfIsWithinAPixel) {
  bar.SetValue(50);
  const QImage image = bar.grab().toImage();
  const int top = bar.ValueToPixels(100);
  const int bottom = bar.ValueToPixels(0);
  ASSERT_EQ(top, bar.ScaleTop());
  ASSERT_EQ(bottom, bar.height() - bar.GapBottom());
  const auto [foreFirst, foreLast] = RowsOf(image, Rgb(kFore));
  const auto [backFirst, backLast] = RowsOf(image, Rgb(kBack));
  // Empty part below the white top outline, edge lines at the value, filled part down to
  // the grey bottom outline.
  EXPECT_EQ(backFirst, top + 1);
  EXPECT_EQ(foreLast, bottom - 2);
  EXPECT_EQ(probe::Rgb(image, Column(), bottom - 1), 0x808080u);  // grey outline at the bottom
  const double middle = (top + bottom) / 2.0;
  EXPECT_LE(std::fabs(foreFirst - 1 - middle), 1.0) << foreFirst;
  EXPECT_EQ(probe::Rgb(image, Column(), foreFirst - 1), 0xFFFFFFu);  // white edge
  EXPECT_EQ(probe::Rgb(image, Column(), foreFirst - 2), 0x808080u);  // grey edge above it
  EXPECT_EQ(backLast, foreFirst - 3);
}

TEST_F(BarRender, FullAndEmptyBarsHaveNoEdgeLine) {
  bar.SetValue(100);
  QImage image = bar.grab().toImage();
  EXPECT_EQ(RowsOf(image, Rgb(kBack)).first, -1);
  EXPECT_EQ(RowsOf(image, Rgb(kFore)).first, bar.ScaleTop() + 1);
  bar.SetValue(0);
  image = bar.grab().toImage();
  EXPECT_EQ(RowsOf(image, Rgb(kFore)).first, -1);
  EXPECT_EQ(RowsOf(image, Rgb(kBack)).second, bar.height() - bar.GapBottom() - 2);
}

TEST_F(BarRender, OverflowAndUnderflowCaptionsAreDrawnBoldAtTheTop) {
  const QRect captionRow(0, 0, bar.width(), bar.fontMetrics().height());
  const QImage empty = bar.grab().toImage();
  const int emptyDark = probe::Count(empty, 0x000000, captionRow);
  int previousDark = emptyDark;
  for (const char* caption : {"OVERFLOW", "UNDERFLOW"}) {
    bar.SetCaption(QString::fromLatin1(caption));
    const QImage image = bar.grab().toImage();
    const int dark = probe::Count(image, 0x000000, captionRow);
    EXPECT_GT(dark, emptyDark + 40) << caption;
    EXPECT_NE(dark, previousDark) << caption;
    previousDark = dark;
    // The value line below the caption does not move with it.
    EXPECT_EQ(bar.ScaleTop(), [&] {
      TBarMeter plain;
      plain.resize(bar.size());
      (void)plain.grab();
      return plain.ScaleTop();
    }());
  }
}

TEST_F(BarRender, TransparentLetsTheParentShow) {
  QWidget parent;
  parent.resize(160, 260);
  QPalette palette = parent.palette();
  palette.setColor(QPalette::Window, QColor(12, 34, 56));
  parent.setPalette(palette);
  parent.setAutoFillBackground(true);
  bar.setParent(&parent);
  bar.SetValue(30);
  QImage image = parent.grab().toImage();
  EXPECT_EQ(probe::Rgb(image, 2, bar.height() - 3), Rgb(kFace));
  bar.SetTransparent(true);
  image = parent.grab().toImage();
  EXPECT_EQ(probe::Rgb(image, 2, bar.height() - 3), qRgb(12, 34, 56) & 0xFFFFFF);
  EXPECT_EQ(probe::Rgb(image, Column(), bar.height() - bar.GapBottom() - 2), Rgb(kFore));
  bar.setParent(nullptr);
}

TEST_F(BarRender, ScaleMarksNeverHangAPaint) {
  bar.SetShowIncrements(true);
  struct Case { double min, max, increment; };
  const Case cases[] = {
      {0, 1e300, 1e-300},   // too fine to count: limited number of marks
      {1e20, 1e20 + 1e6, 1},  // the step no longer changes the value
      {-1e308, 1e308, 1e300},
      {0, 1, 0.1},          // accumulated rounding: the last mark may fall short
  };
  for (const Case& c : cases) {
    bar.SetRange(c.min, c.max);
    bar.SetIncrement(c.increment);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(bar.grab().toImage().isNull());
    EXPECT_LT(timer.elapsed(), 5000) << c.min << " " << c.max;
  }
}

TEST_F(BarRender, DegenerateLayoutsDrawWithoutFailing) {
  bar.SetShowIncrements(true);
  bar.SetShowMarker(true);
  bar.SetRange(7, 7);  // every value maps to the top row
  EXPECT_EQ(bar.ValueToPixels(7), 0);
  EXPECT_FALSE(bar.grab().toImage().isNull());
  bar.resize(1, 1);
  bar.SetGapTop(65535);
  bar.SetGapBottom(100000);
  bar.SetBarThickness(65535);
  bar.SetDigits(255);
  bar.SetRange(-1e300, 1e300);
  EXPECT_EQ(bar.GapBottom(), 65535);
  EXPECT_FALSE(bar.grab().toImage().isNull());
}

}  // namespace
