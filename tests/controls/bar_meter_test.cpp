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
#include "tests/support/scoped_locale.h"

namespace {

using controls::TBarMeter;
using probe::Rgb;

constexpr draw::TColor kFore = 0x0000C0;
constexpr draw::TColor kBack = 0xFFFF00;  // cyan
constexpr draw::TColor kFace = 0xD0F0D0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(BarMeterSetters, GuardsDropValuesInsteadOfClamping) {
  TBarMeter bar;
  bar.SetValue(50);
  bar.SetValue(150);
  bar.SetValue(kNaN);
  EXPECT_DOUBLE_EQ(bar.Value(), 50);
  bar.SetValueMin(-kInf);
  bar.SetValueMax(kInf);
  bar.SetValueMin(60);  // above the value
  bar.SetValueMax(40);  // below the value
  EXPECT_EQ(std::make_pair(bar.ValueMin(), bar.ValueMax()), std::make_pair(0.0, 100.0));
  for (double increment : {0.0, -5.0, kNaN}) bar.SetIncrement(increment);
  EXPECT_DOUBLE_EQ(bar.Increment(), 10);
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
      EXPECT_EQ(std::make_pair(bar.ValueMin(), bar.ValueMax()), std::make_pair(second.min, second.max));
      EXPECT_TRUE(second.min <= bar.Value() && bar.Value() <= second.max);
    }
  }
  TBarMeter bar;
  bar.SetRange(10, 1);
  bar.SetRange(0, kInf);
  EXPECT_EQ(std::make_pair(bar.ValueMin(), bar.ValueMax()), std::make_pair(0.0, 100.0));
}

TEST(BarMeterText, ValuesWithTheDecimalMarkOfTheLocale) {
  for (const auto& [locale, text] : {std::pair{testsupport::Brazil(), "-12,50 \u00B0C"},
                                     std::pair{testsupport::UnitedStates(), "-12.50 \u00B0C"}}) {
    const testsupport::ScopedDefaultLocale scoped(locale);
    TBarMeter bar;
    bar.SetDigits(2);
    bar.SetSignalUnit(QStringLiteral("\u00B0C"));
    EXPECT_EQ(bar.ValueText(-12.5), QString(text));
    bar.SetDigits(0);
    EXPECT_EQ(bar.ValueText(3), QStringLiteral("3 \u00B0C"));
  }
  TBarMeter bar;
  bar.SetDecimalMark(QStringLiteral(","));
  bar.SetDigits(1);
  EXPECT_EQ(bar.ValueText(0.25), QStringLiteral("0,3 Units"));
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
  int Bottom() const { return bar.height() - bar.GapBottom(); }
  // First and last row of the bar column in `colour` (-1 when none).
  std::pair<int, int> RowsOf(const QImage& image, QRgb colour) const {
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y) {
      if (probe::Rgb(image, Column(), y) != colour) continue;
      if (first < 0) first = y;
      last = y;
    }
    return {first, last};
  }
  TBarMeter bar;
};

TEST_F(BarRender, FillBoundaryAtHalfIsWithinAPixel) {
  bar.SetValue(50);
  const QImage image = bar.grab().toImage();
  const int top = bar.ScaleTop();
  const auto [foreFirst, foreLast] = RowsOf(image, Rgb(kFore));
  const auto [backFirst, backLast] = RowsOf(image, Rgb(kBack));
  // Empty part below the white top outline, edge lines at the value, filled part down to
  // the grey bottom outline.
  EXPECT_EQ(backFirst, top + 1);
  EXPECT_EQ(foreLast, Bottom() - 2);
  EXPECT_EQ(probe::Rgb(image, Column(), Bottom() - 1), 0x808080u);
  EXPECT_LE(std::fabs(foreFirst - 1 - (top + Bottom()) / 2.0), 1.0) << foreFirst;
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
  EXPECT_EQ(RowsOf(image, Rgb(kBack)).second, Bottom() - 2);
}

TEST_F(BarRender, OverflowAndUnderflowCaptionsAreDrawnBoldAtTheTop) {
  const QRect captionRow(0, 0, bar.width(), bar.fontMetrics().height());
  const int emptyDark = probe::Count(bar.grab().toImage(), 0x000000, captionRow);
  const int plainTop = bar.ScaleTop();
  int previousDark = emptyDark;
  for (const char* caption : {"OVERFLOW", "UNDERFLOW"}) {
    bar.SetCaption(QString::fromLatin1(caption));
    const int dark = probe::Count(bar.grab().toImage(), 0x000000, captionRow);
    EXPECT_GT(dark, emptyDark + 40) << caption;
    EXPECT_NE(dark, previousDark) << caption;
    previousDark = dark;
    EXPECT_EQ(bar.ScaleTop(), plainTop) << caption;  // the caption line is always reserved
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
  EXPECT_EQ(probe::Rgb(parent.grab().toImage(), 2, bar.height() - 3), Rgb(kFace));
  bar.SetTransparent(true);
  const QImage image = parent.grab().toImage();
  EXPECT_EQ(probe::Rgb(image, 2, bar.height() - 3), qRgb(12, 34, 56) & 0xFFFFFF);
  EXPECT_EQ(probe::Rgb(image, Column(), Bottom() - 2), Rgb(kFore));
  bar.setParent(nullptr);
}

TEST_F(BarRender, ScaleMarksNeverHangAPaint) {
  bar.SetShowIncrements(true);
  struct Case { double min, max, increment; };
  const Case cases[] = {
      {0, 1e300, 1e-300},      // too fine to count: limited number of marks
      {1e20, 1e20 + 1e6, 1},   // the step no longer changes the value
      {-1e308, 1e308, 1e300},
      {0, 1, 0.1},             // accumulated rounding: the last mark may fall short
  };
  for (const Case& c : cases) {
    bar.SetRange(c.min, c.max);
    bar.SetIncrement(c.increment);
    // A guard against a paint that never ends, not a speed check: a busy machine never
    // takes this long for the capped marks, an uncapped loop never finishes at all.
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(bar.grab().toImage().isNull());
    EXPECT_LT(timer.elapsed(), 60000) << c.min << " " << c.max;
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
