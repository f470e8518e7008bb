// The segment indicator rendered headless: digits, layout, bevels, schemes, hover,
// transparency, materials, window shape and resizing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <memory>

#include "controls/segment_indicator.h"
#include "tests/controls/pixel_probe.h"

using namespace controls;

namespace {

constexpr draw::TColor kBack = 0xFF0000;   // blue
constexpr draw::TColor kFore = 0x0000FF;   // red
constexpr draw::TColor kUnlit = 0x00FF00;  // green
constexpr draw::TColor kHover = 0x00FFFF;  // yellow

QRgb Rgb(draw::TColor color) { return draw::ToQColor(color).rgb(); }

// A loaded indicator whose face is one or more bare cells of 80 x 80 pixels.
std::unique_ptr<TSegmentIndicator> BareCells(int cells, TIAIndicatorKind kind = ik7segment) {
  auto indicator = std::make_unique<TSegmentIndicator>();
  indicator->Loaded();
  indicator->SETOuterBevel(bkNone);
  indicator->SETInnerBevel(bkNone);
  indicator->SETIndicatorGap(0);
  indicator->SETSignNumber(cells);
  indicator->SETIndicatorWidth(80 * cells);
  indicator->SETIndicatorHeight(80);
  indicator->SETIndicatorKind(kind);
  indicator->SETBackColor(kBack);
  indicator->SETNumberForeColor(kFore);
  indicator->SETNumberBackColor(kUnlit);
  return indicator;
}

// Inside points of the shapes of an 80 x 80 cell: segments 1 lower left, 2 upper left, 3 top,
// 4 upper right, 5 lower right, 6 bottom, 7 middle, then the decimal point and the colon dots.
const QPoint kProbes[] = {{12, 55}, {17, 25}, {42, 9}, {62, 25}, {57, 57}, {32, 70}, {37, 40},
                          {67, 70}, {40, 25}, {35, 55}};

std::string Lit(const QImage& image, int shapes, int cell = 1) {
  std::string lit;
  for (int k = 0; k < shapes; ++k) {
    const QRgb pixel = image.pixel(kProbes[k] + QPoint(80 * (cell - 1), 0));
    lit += pixel == Rgb(kFore) ? '1' : pixel == Rgb(kUnlit) ? '0' : '?';
  }
  return lit;
}

// Moves the mouse into or out of the widget and lets the posted repaint run.
void Hover(QWidget& widget, bool inside) {
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&widget, inside ? static_cast<QEvent*>(&enter) : &leave);
  QCoreApplication::sendPostedEvents(&widget);
}

}  // namespace

TEST(SegmentIndicator, EveryDigitAndMinusLightsTheirSegments) {
  // Shape order: lower left, upper left, top, upper right, lower right, bottom, middle, point.
  const std::pair<char, const char*> cases[] = {
      {'0', "11111100"}, {'1', "00011000"}, {'2', "10110110"}, {'3', "00111110"}, {'4', "01011010"},
      {'5', "01101110"}, {'6', "11101110"}, {'7', "00111000"}, {'8', "11111110"}, {'9', "01111110"},
      {'-', "00000010"}, {' ', "00000000"}, {'.', "00000001"},
  };
  auto indicator = BareCells(1);
  for (const auto& [ch, expected] : cases) {
    indicator->SETIndicatorString(QString(QChar(ch)));
    EXPECT_EQ(Lit(indicator->ImageBitmap(), 8), expected) << "'" << ch << "'";
  }
  indicator->SETIndicatorKind(ik9segment);  // the colon dots follow the point
  indicator->SETIndicatorString(":");
  EXPECT_EQ(Lit(indicator->ImageBitmap(), 10), "0000000011");
}

TEST(SegmentIndicator, TextLayoutOnScreen) {
  struct Case { const char* text; int litPolygons; const char* points; };  // points of cells 1..4
  const Case cases[] = {
      {"12.5", 2 + 5 + 1 + 5, "0010"},
      {".5", 1 + 5, "0010"},
      {"1..2", 2 + 1 + 1 + 5, "0110"},
  };
  auto indicator = BareCells(4);
  for (const Case& c : cases) {
    indicator->SETIndicatorString(c.text);
    EXPECT_EQ(indicator->LitPoints().number, c.litPolygons) << c.text;
    EXPECT_EQ(indicator->LitPoints().number + indicator->UnlitPoints().number, 4 * 8) << c.text;
    std::string points;
    for (int cell = 1; cell <= 4; ++cell) points += Lit(indicator->ImageBitmap(), 8, cell)[7];
    EXPECT_EQ(points, c.points) << c.text;
  }
}

TEST(SegmentIndicator, NewControlBevelsAndColours) {
  TSegmentIndicator indicator;
  const QImage image = indicator.ImageBitmap();
  ASSERT_EQ(image.size(), QSize(172, 36));
  const QRgb light = qRgb(0xFD, 0xFD, 0xFD), dark = qRgb(0xBD, 0xBD, 0xBD);
  struct Pixel { int x, y; QRgb rgb; };
  const Pixel pixels[] = {
      {86, 0, light}, {0, 18, light}, {86, 35, dark}, {171, 18, dark},  // raised outer frame
      {86, 2, dark}, {2, 18, dark}, {86, 33, light}, {169, 18, light},  // sunken inner frame
      {86, 5, qRgb(0xDD, 0xDD, 0xDD)},                                  // the gap shows the back colour
      {157, 18, qRgb(0xD3, 0xD3, 0xD3)},                                // unlit middle bar of the last cell
  };
  for (const Pixel& p : pixels) EXPECT_EQ(image.pixel(p.x, p.y), p.rgb) << p.x << "," << p.y;
  EXPECT_EQ(indicator.UnlitPoints().number, 80);
}

TEST(SegmentIndicator, BevelShadingFollowsTheAngle) {
  using S = BevelSide;
  struct Case { int angle; S light1, light2; };
  const Case cases[] = {{0, S::Top, S::Left}, {600, S::Top, S::Right}, {1500, S::Bottom, S::Right}, {-900, S::Left, S::Bottom}};
  for (const Case& c : cases) {
    const auto up = BevelShading(c.angle, bkUP);
    EXPECT_EQ(up[0].side, c.light1) << c.angle;
    EXPECT_EQ(up[1].side, c.light2) << c.angle;
    EXPECT_TRUE(up[0].light && up[1].light && !up[2].light && !up[3].light);
    const auto down = BevelShading(c.angle, bkDown);
    EXPECT_EQ(down[0].side, c.light1);
    EXPECT_TRUE(!down[0].light && !down[1].light && down[2].light && down[3].light);
  }
}

TEST(SegmentIndicator, ShadesSaturate) {
  EXPECT_EQ(GetLColor(0xF0E010), 0xFFFF30u);
  EXPECT_EQ(GetDColor(0x10E0F0), 0x00C0D0u);
  EXPECT_EQ(GetLColor(draw::clBtnFace), GetLColor(draw::FromQColor(draw::ToQColor(draw::clBtnFace))));
  QImage darker(1, 1, QImage::Format_RGB888);
  darker.setPixel(0, 0, qRgb(0x30, 0x80, 0xF0));
  QImage lighter = darker.copy();
  Getme24D(darker, 0x40);
  Getme24L(lighter, 0x40);
  EXPECT_EQ(darker.pixel(0, 0), qRgb(0x00, 0x40, 0xB0));
  EXPECT_EQ(lighter.pixel(0, 0), qRgb(0x70, 0xC0, 0xFF));
}

TEST(SegmentIndicator, ColorSchemeNeedsALoadedControl) {
  TSegmentIndicator indicator;
  indicator.SETColorScheme(csBlack);  // only stored until the control is loaded
  EXPECT_EQ(indicator.BackColor(), 0xDDDDDDu);
  indicator.Loaded();
  indicator.SETColorScheme(csBlack);
  EXPECT_EQ(indicator.BackColor(), 0x000000u);
  QCoreApplication::sendPostedEvents(&indicator);
  EXPECT_EQ(indicator.ImageBitmap().pixel(86, 5), qRgb(0, 0, 0));
}

TEST(SegmentIndicator, SettersRefuseWhatTheyCannotTake) {
  TSegmentIndicator indicator;
  for (int bad : {0, -5}) {
    indicator.SETIndicatorWidth(bad);
    indicator.SETIndicatorHeight(bad);
    indicator.SETSignNumber(bad);
  }
  EXPECT_EQ(QSize(indicator.IndicatorWidth(), indicator.IndicatorHeight()), QSize(172, 36));
  EXPECT_EQ(indicator.SignNumber(), 10);
  indicator.SETIndicatorGap(-5);
  indicator.SETIndicatorString("8");
  EXPECT_GT(indicator.LitPoints().number, 0);  // cells grow to the whole face height instead of failing
}

TEST(SegmentIndicator, HugeGapAndBevelWidthsDoNotWrapAround) {
  // Together they leave no room for the cells, which move off the face; a sum that wrapped
  // around to a small margin would show them as if nothing were wrong. The bevel wider than
  // the face covers it without the memory a region billions of pixels tall would take.
  auto indicator = BareCells(2);
  indicator->SETOuterBevel(bkUP);
  indicator->SETInnerBevel(bkDown);
  indicator->SETIndicatorGap(2147483647);
  indicator->SETOuterBevelWidth(2147483647);
  indicator->SETInnerBevelWidth(7);
  indicator->SETIndicatorString("88");
  const QImage image = indicator->ImageBitmap();
  EXPECT_EQ(probe::Count(image, Rgb(kFore)) + probe::Count(image, Rgb(kUnlit)), 0);
  EXPECT_EQ(probe::Count(image, Rgb(kBack)), 0);
}

TEST(SegmentIndicator, HoverColourAndWidth) {
  auto indicator = BareCells(1);
  indicator->SETNumberForeColor1(kHover);
  indicator->SETIndicatorString("8");
  int entered = 0, left = 0;
  indicator->onMouseEnter = [&](QObject*) { ++entered; };
  indicator->onMouseExit = [&](QObject*) { ++left; };
  auto top = [&] { return indicator->ImageBitmap().pixel(kProbes[2]); };
  for (TIAMouseAction action : {maNone, maColor}) {  // the events fire whatever the action
    indicator->SETMouseAction(action);
    Hover(*indicator, true);
    EXPECT_EQ(top(), Rgb(action == maColor ? kHover : kFore));
    Hover(*indicator, false);
    EXPECT_EQ(top(), Rgb(kFore));
  }
  EXPECT_EQ(std::make_pair(entered, left), std::make_pair(2, 2));
  // Hovering with maWidth makes the bars thicker: the top bar gains rows.
  auto rows = [&] { return probe::Count(indicator->ImageBitmap(), Rgb(kFore), QRect(42, 0, 1, 30)); };
  const int normal = rows();
  indicator->SETMouseAction(maWidth);
  Hover(*indicator, true);
  EXPECT_GT(rows(), normal);
}

TEST(SegmentIndicator, TransparentModesShowOnlyTheirParts) {
  auto indicator = BareCells(2);
  indicator->SETOuterBevel(bkUP);
  indicator->SETIndicatorGap(6);
  indicator->SETIndicatorString("1");
  const QPoint bevel(80, 0), background(80, 4);
  const QPoint lit = indicator->LitPoints().Polygon(0).boundingRect().center();
  const QPoint unlit = indicator->UnlitPoints().Polygon(0).boundingRect().center();
  indicator->SETTransparentMode(tmAll);
  EXPECT_FALSE(indicator->testAttribute(Qt::WA_OpaquePaintEvent));
  ASSERT_TRUE(indicator->PaintRgn().has_value());
  const QRegion all = *indicator->PaintRgn();
  EXPECT_TRUE(all.contains(bevel) && all.contains(lit));
  EXPECT_FALSE(all.contains(unlit) || all.contains(background));
  indicator->SETTransparentMode(tmBackOnly);
  EXPECT_TRUE(indicator->PaintRgn()->contains(unlit));
  EXPECT_FALSE(indicator->PaintRgn()->contains(background));
  indicator->SETTransparentMode(tmNone);
  EXPECT_FALSE(indicator->PaintRgn().has_value());
  EXPECT_TRUE(indicator->testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST(SegmentIndicator, MaterialsAndTheirShades) {
  auto indicator = BareCells(1);
  indicator->SETOuterBevel(bkUP);
  indicator->SETOuterBevelWidth(4);
  indicator->SETIndicatorString("1");
  QImage grey(2, 2, QImage::Format_RGB32);
  grey.fill(qRgb(0x80, 0x80, 0x80));
  indicator->SETBackMaterial(grey);
  grey.fill(Qt::black);  // the control keeps its own copy
  auto at = [&](int x, int y) { return indicator->ImageBitmap().pixel(x, y) & 0xFFFFFF; };
  EXPECT_EQ(at(40, 6), 0x808080u);   // background
  EXPECT_EQ(at(40, 1), 0xC0C0C0u);   // light bevel face
  EXPECT_EQ(at(40, 78), 0x404040u);  // dark bevel face
  // Unlit segments: the back material shaded down, up, or as it is.
  const std::pair<TIAMaterialShadowMode, QRgb> shades[] = {{msmDark, 0x606060}, {msmLight, 0xA0A0A0}, {msmNone, 0x808080}};
  for (const auto& [mode, rgb] : shades) {
    indicator->SETMaterialShadowMode(mode);
    EXPECT_EQ(at(40, 14), rgb) << int(mode);
  }
}

TEST(SegmentIndicator, TurnedFaceShapesAndSizesTheWindow) {
  QWidget parent;
  parent.resize(400, 400);
  auto* indicator = new TSegmentIndicator(&parent);
  parent.show();
  EXPECT_EQ(indicator->mask().boundingRect(), QRect(0, 0, 172, 36));
  indicator->Loaded();
  indicator->SETIndicatorAngle(900);
  EXPECT_EQ(indicator->size(), QSize(36, 172));
  EXPECT_EQ(indicator->mask(), QRegion(0, 0, 36, 172));
  indicator->SETIndicatorAngle(450);
  EXPECT_EQ(indicator->size(), QSize(147, 147));
  const QRegion diamond = indicator->mask();
  EXPECT_TRUE(diamond.contains(QPoint(73, 73)));
  EXPECT_FALSE(diamond.contains(QPoint(3, 3)) || diamond.contains(QPoint(143, 143)));
  EXPECT_TRUE(QRect(0, 0, 147, 147).contains(indicator->UnlitPoints().points.boundingRect()));
  indicator->resize(100, 300);  // turned by 45 degrees: the control snaps back around the face
  EXPECT_EQ(indicator->size(), QSize(147, 147));
  EXPECT_EQ(indicator->IndicatorWidth(), 172);
  indicator->SETIndicatorAngle(900);  // on its side: width and height swap into the face
  indicator->resize(60, 250);
  EXPECT_EQ(QSize(indicator->IndicatorWidth(), indicator->IndicatorHeight()), QSize(250, 60));
  QCoreApplication::sendPostedEvents(indicator);
  EXPECT_EQ(indicator->ImageBitmap().size(), QSize(60, 250));
  indicator->SETIndicatorAngle(0);
  indicator->resize(200, 50);  // upright: the new size is the face
  EXPECT_EQ(QSize(indicator->IndicatorWidth(), indicator->IndicatorHeight()), QSize(200, 50));
  TSegmentIndicator alone;  // a control without a parent keeps no shape
  alone.Loaded();
  alone.SETIndicatorAngle(450);
  EXPECT_TRUE(alone.mask().isEmpty());
}

TEST(SegmentIndicator, CellCountsBeyondTheFaceStayCheap) {
  TSegmentIndicator indicator;
  indicator.Loaded();
  indicator.SETIndicatorString("12.5");
  indicator.SETSignNumber(2147483647);  // cells narrower than a pixel: bevels and background only
  EXPECT_EQ(indicator.LitPoints().number + indicator.UnlitPoints().number, 0);
  EXPECT_EQ(indicator.ImageBitmap().pixel(86, 18), qRgb(0xDD, 0xDD, 0xDD));
  indicator.SETSignNumber(170);  // one-pixel cells
  EXPECT_GT(indicator.UnlitPoints().number, 0);
  // A face far wider than the control (never loaded, so the face is only stored): only the
  // cells that can reach the control are built.
  TSegmentIndicator wide;
  wide.SETIndicatorWidth(16000000);
  wide.SETSignNumber(1600000);
  wide.SETIndicatorString("8");
  EXPECT_GT(wide.UnlitPoints().number, 0);
  EXPECT_LT(wide.UnlitPoints().number, 8 * 1000);
  // A face larger than any widget can be, turned a little: nothing of it can be shown, and
  // its regions, millions of pixels tall, are not built.
  TSegmentIndicator huge;
  huge.SETIndicatorAngle(1);
  huge.SETIndicatorWidth(2147483647);
  huge.SETIndicatorString("8");
  EXPECT_EQ(huge.LitPoints().number + huge.UnlitPoints().number, 0);
  EXPECT_EQ(huge.ImageBitmap().pixel(86, 18), qRgb(0xDD, 0xDD, 0xDD));
}

TEST(SegmentIndicator, ZeroSizeControlPaintsNothing) {
  probe::WarningCounter warnings;
  QWidget parent;
  auto* indicator = new TSegmentIndicator(&parent);
  parent.show();
  indicator->resize(0, 0);
  QCoreApplication::sendPostedEvents(indicator);
  EXPECT_TRUE(indicator->ImageBitmap().isNull());
  indicator->SETIndicatorString("12");
  indicator->repaint();
  EXPECT_EQ(warnings.count, 0);
}
