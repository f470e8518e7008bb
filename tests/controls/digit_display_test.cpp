// The LCD digit display drawn headless: segments, points, layout, degenerate settings and the
// change animation on a hand-stepped timer and clock.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <optional>
#include <string>
#include <vector>

#include "controls/digit_display.h"
#include "tests/controls/pixel_probe.h"

using namespace controls;

namespace {

constexpr draw::TColor kOn = 0x00FF00;    // green
constexpr draw::TColor kOff = 0x000080;   // dark red
constexpr draw::TColor kBack = 0x400000;  // dark blue
const QRgb kOnRgb = qRgb(0, 255, 0), kOffRgb = qRgb(128, 0, 0), kBackRgb = qRgb(0, 0, 64);

// A display whose cells are 30 x 60 pixels: spacing 9 (8 + 1), cell i starting at
// 9 + (i - 1) * 39; decimal point i covers x0 - 7 .. x0 - 2, rows 54 .. 59.
struct Display {
  explicit Display(int digits = 4) {
    d.SetDigitNum(digits);
    d.SetDigitSpacing(8);
    d.SetSegmentSize(6);
    d.resize(digits * 39 + 10, 61);
    d.SetOnColor(kOn);
    d.SetOffColor(kOff);
    d.SetColor(kBack);
  }
  static int X0(int cell) { return 9 + (cell - 1) * 39; }
  QImage Grab() { return d.grab().toImage(); }
  TDigitDisplay d;
};

// Probe points of segments 1..8 (top, upper left, upper right, middle, lower left, lower
// right, bottom, upper colon dot) of a 30 x 60 cell at x0 (gaps 2).
QPoint Probe(int segment, int x0) {
  static const QPoint offsets[] = {{15, 2}, {2, 15}, {27, 15}, {15, 30}, {2, 45}, {27, 45}, {15, 57}, {15, 21}};
  return offsets[segment - 1] + QPoint(x0, 0);
}

std::string LitSegments(const QImage& image, int cell) {
  std::string lit;
  for (int s = 1; s <= 8; ++s) {
    const QRgb pixel = image.pixel(Probe(s, Display::X0(cell)));
    lit += pixel == kOnRgb ? '1' : pixel == kOffRgb ? '0' : '?';
  }
  return lit;
}

std::string Pattern(char c) {
  std::string bits;
  for (int s = 1; s <= 8; ++s) bits += (DigitSegments(c) >> (s - 1) & 1) ? '1' : '0';
  return bits;
}

}  // namespace

TEST(DigitDisplay, EveryDigitAndMinusLightsTheirSegments) {
  //                         top UL UR mid LL LR bottom colon
  const std::pair<char, const char*> cases[] = {
      {'0', "11101110"}, {'1', "00100100"}, {'2', "10111010"}, {'3', "10110110"}, {'4', "01110100"},
      {'5', "11010110"}, {'6', "11011110"}, {'7', "10100100"}, {'8', "11111110"}, {'9', "11110110"},
      {'-', "00010000"}, {':', "00000001"}, {' ', "00000000"}, {'A', "11111100"},
  };
  Display display(1);
  for (const auto& [ch, expected] : cases) {
    display.d.SetValue(QString(QChar(ch)));
    EXPECT_EQ(LitSegments(display.Grab(), 1), expected) << "'" << ch << "'";
  }
}

TEST(DigitDisplay, TextIntoCellsAndPoints) {
  // The four cells, and the points left of cells 1..4 and after cell 4.
  struct Case { const char* text; const char* cells; const char* points; };
  const Case cases[] = {
      {"12.3", " 123", "00010"},
      {"1..2", " 1 2", "00110"},
      {".5", "   5", "00010"},
      {"123456", "1234", "00000"},
      {"7.", "   7", "00000"},   // a final point is dropped
      {"1..", "   1", "00001"},   // the point stays after the 1
      {"1...", "  1 ", "00011"},  // each point after a cell, none before the 1
  };
  for (const Case& c : cases) {
    Display display;
    display.d.SetValue(c.text);
    const QImage image = display.Grab();
    std::string points;
    for (int i = 1; i <= 5; ++i) points += image.pixel(Display::X0(i) - 5, 57) == kOnRgb ? '1' : '0';
    EXPECT_EQ(points, c.points) << c.text;
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(LitSegments(image, i), Pattern(c.cells[i - 1])) << c.text << " cell " << i;
  }
  // Cell lookups far beyond any text do not overflow.
  const DigitCells cells = DigitCells::Split("12");
  EXPECT_EQ(cells.CharAt(2147483647, 2147483647), '2');
  EXPECT_EQ(cells.CharAt(1, 2147483647), ' ');
  EXPECT_FALSE(DigitCells::Split("1..").PointAt(5, 1));  // cut text loses its final point
}

TEST(DigitDisplay, ValueRules) {
  TDigitDisplay d;
  std::vector<QString> changes;  // "old>new"
  d.OnChange = [&](QObject* sender, const QString& oldValue, const QString& newValue) {
    EXPECT_EQ(sender, &d);
    changes.push_back(oldValue + '>' + newValue);
  };
  for (const char* text : {"1a", "1A", "3,5"}) d.SetValue(text);  // an unknown character empties it
  d.SetValue(QString::fromUtf8("\xC3\x9F"));  // no upper-casing into accepted letters
  EXPECT_EQ(changes, (std::vector<QString>{">1A", "1A>"}));
  d.SetValue("-12:30.");
  EXPECT_EQ(d.Value(), "-12:30");
  d.SetNumericValue(-42);
  EXPECT_EQ(d.GetNumericValue(), -42);
  d.SetValue("4A");
  EXPECT_EQ(d.GetNumericValue(), 0);
}

TEST(DigitDisplay, DotModeKeepsSharedDotsOfLitNeighbours) {
  Display display(1);
  TDigitDisplay& d = display.d;
  d.SetDotDisplay(true);
  d.SetSegmentSize(2);
  d.SetDotSpacing(2);
  d.SetDigitSpacing(5);
  // Pitch 4: cell width 4 * ((35 - 1 - 5 + 2) / 4) - 2 = 26, height 8 * ((40 - 1 - 2) / 2 / 4) + 2 = 34.
  d.resize(35, 40);
  d.SetValue("1");
  QImage image = d.grab().toImage();
  const int x0 = 5;
  EXPECT_EQ(image.pixel(x0 + 24, 1), kOnRgb);  // top right corner dot belongs to lit segment 3
  EXPECT_EQ(image.pixel(x0 + 20, 1), kOffRgb);
  EXPECT_EQ(image.pixel(x0 + 22, 1), kBackRgb);  // the gap between dots
  EXPECT_EQ(image.pixel(x0 + 24, 33), kOnRgb);   // bottom right corner shared with segment 6
  EXPECT_EQ(image.pixel(x0 + 24, 17), kOnRgb);   // middle right end shared with 3 and 6
  EXPECT_EQ(image.pixel(x0 + 0, 1), kOffRgb);
  d.SetValue("7");
  image = d.grab().toImage();
  EXPECT_EQ(image.pixel(x0 + 0, 1), kOnRgb);
  EXPECT_EQ(image.pixel(x0 + 0, 9), kOffRgb);
}

TEST(DigitDisplay, DegenerateSettingsDrawTheBackgroundOnly) {
  probe::WarningCounter warnings;
  struct Case { int digits, segment, dotSpacing; bool dots; };
  const Case cases[] = {{0, 6, 2, false}, {-3, 6, 2, false}, {4, 0, 2, false},      {4, -2, 2, true},
                        {4, 2, -2, true}, {100000, 6, 2, false}, {2147483647, 2, 2, true},
                        // Dots taller than the control on a one-pixel grid: no cell fits.
                        {4, 200, -199, true}, {4, 1 << 24, 1 - (1 << 24), true}};
  for (const Case& c : cases) {
    Display display;
    display.d.SetValue("88");
    display.d.SetDigitNum(c.digits);
    display.d.SetSegmentSize(c.segment);
    display.d.SetDotSpacing(c.dotSpacing);
    display.d.SetDotDisplay(c.dots);
    // A guard against a paint that walks every one of billions of cells, not a speed check.
    QElapsedTimer elapsed;
    elapsed.start();
    const QImage image = display.Grab();
    EXPECT_LT(elapsed.elapsed(), 60000);
    EXPECT_EQ(probe::Count(image, kBackRgb), image.width() * image.height()) << c.digits << " cells of size " << c.segment;
  }
  // Spacing that swallows the cells, and a control without area.
  Display squeezed;
  squeezed.d.SetDigitSpacing(1000000);
  squeezed.d.SetValue("8");
  EXPECT_EQ(squeezed.Grab().pixel(20, 30), kBackRgb);
  TDigitDisplay empty;
  empty.resize(0, 0);
  empty.SetValue("8");
  EXPECT_TRUE(empty.grab().isNull());
  EXPECT_EQ(warnings.count, 0);
}

class FakeClock : public platform::MonotonicClock {
 public:
  uint64_t NowMs() const override { return now; }
  uint64_t now = 1000;
};

class FakeTimer : public AnimationTimer {
 public:
  void Start(int milliseconds, std::function<void()> onTimeout) override {
    pending = milliseconds;
    callback = std::move(onTimeout);
  }
  void Stop() override { pending.reset(); }
  void Fire() {
    ASSERT_TRUE(pending.has_value());
    pending.reset();
    callback();
  }
  std::optional<int> pending;
  std::function<void()> callback;
};

class DigitAnimation : public ::testing::Test {
 protected:
  DigitAnimation() {
    display.d.SetAnimationTimer(std::unique_ptr<AnimationTimer>(timer));
    display.d.SetClock(clock);
  }
  FakeClock clock;
  Display display;
  FakeTimer* timer = new FakeTimer;  // owned by the display
};

TEST_F(DigitAnimation, ChangedCellsGrowInEightSteps) {
  display.d.SetValue("18");
  display.Grab();  // shown without animation
  EXPECT_FALSE(timer->pending);
  display.d.SetAnimation(anUp);
  display.d.SetAnimationDelay(700);
  display.d.SetValue("28");
  // Segment order from the bottom: 7 bottom, 6 lower right, 5 lower left, 8 colon, 4 middle,
  // 3 upper right, 2 upper left, 1 top. The first frame shows the old "1" plus the bottom bar.
  const char* frames[] = {"00100110", "00100010", "00101010", "00101010",
                          "00111010", "00111010", "00111010", "10111010"};
  for (int step = 1; step <= 8; ++step) {
    const QImage image = display.Grab();
    EXPECT_EQ(LitSegments(image, 3), frames[step - 1]) << "step " << step;
    EXPECT_EQ(LitSegments(image, 4), "11111110") << "unchanged cell, step " << step;
    if (step == 8) break;
    EXPECT_EQ(display.d.AnimationStep(), step);
    EXPECT_TRUE(display.d.IsPainting());
    ASSERT_EQ(timer->pending, 100);
    clock.now += 100;
    timer->Fire();
    if (step == 7) {
      EXPECT_EQ(display.d.PaintDuration(), 700u);
    }
  }
  EXPECT_EQ(display.d.AnimationStep(), 0);
  EXPECT_FALSE(display.d.IsPainting());
  EXPECT_FALSE(timer->pending);
  display.d.update();  // a repaint that follows no change is not animated
  display.Grab();
  EXPECT_FALSE(timer->pending);
}

TEST_F(DigitAnimation, LateStepsAreMadeUp) {
  display.d.SetAnimation(anSpiral);
  display.d.SetAnimationDelay(350);  // 50 ms per step
  display.d.SetValue("5");
  display.Grab();
  ASSERT_EQ(timer->pending, 50);
  clock.now += 80;  // 30 late
  timer->Fire();
  EXPECT_EQ(timer->pending, 20);
  clock.now += 200;  // far too late: the next step follows at once
  timer->Fire();
  EXPECT_EQ(timer->pending, 0);
  // A new value during the animation is animated after it.
  display.d.SetValue("6");
  while (timer->pending) timer->Fire();
  EXPECT_EQ(LitSegments(display.Grab(), 4), Pattern('5'));  // while the next one starts
  EXPECT_EQ(display.d.AnimationStep(), 1);
  while (timer->pending) timer->Fire();
  EXPECT_EQ(LitSegments(display.Grab(), 4), Pattern('6'));
}

TEST_F(DigitAnimation, EmptyingRunsOverAllCells) {
  display.d.SetValue("88");
  display.Grab();
  display.d.SetAnimation(anDown);
  display.d.SetAnimationDelay(70);
  display.d.SetValue("");
  // Step 1 draws only the top bars, unlit, on a cleared face.
  QImage image = display.Grab();
  EXPECT_EQ(image.pixel(Probe(1, Display::X0(4))), kOffRgb);
  EXPECT_EQ(image.pixel(Probe(7, Display::X0(4))), kBackRgb);
  while (timer->pending) timer->Fire();
  image = display.Grab();
  EXPECT_EQ(LitSegments(image, 4), "00000000");
  EXPECT_EQ(LitSegments(image, 1), "00000000");
}
