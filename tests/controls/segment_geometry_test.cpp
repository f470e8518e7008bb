// Shapes, character tables, turning, regions and text layout of the segment indicator.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "controls/segment_geometry.h"
#include "controls/segment_indicator_layout.h"

using namespace controls;

namespace {

QPolygon Poly(std::initializer_list<QPoint> points) { return QPolygon(QList<QPoint>(points)); }

// Which shapes of an 80 x 80 cell land in the lit list, in shape order; the lists must hold
// every shape of the cell.
std::string LitMask(char ch, bool point, TIAIndicatorKind kind) {
  PolyPolygon lit, unlit;
  GetSinglePolyPoly(QRect(0, 0, 80, 80), ch, point, CellStyle{kind, isNormal, false}, lit, unlit);
  std::vector<QPolygon> litShapes;
  for (int i = 0; i < lit.number; ++i) litShapes.push_back(lit.Polygon(i));
  std::string mask;
  for (int k = 1; k <= lit.number + unlit.number; ++k) {
    const QPolygon shape = kind == ik5x7matrix
                               ? GetsinglePoly5x7matrix(80, 80, (k - 1) / 5 + 1, (k - 1) % 5 + 1, isNormal, false)
                               : GetsinglePoly7segment(80, 80, SegmentShapeOf(kind, k), 80 / 6.0);
    mask += std::count(litShapes.begin(), litShapes.end(), shape) ? '1' : '0';
  }
  return mask;
}

}  // namespace

TEST(SegmentGeometry, TopSegmentOfAnEightyPixelCell) {
  const double t = SegmentThickness(80, 80, isNormal, false);
  EXPECT_NEAR(t, 13.333, 0.001);
  EXPECT_EQ(GetsinglePoly7segment(80, 80, 3, t), Poly({{21, 3}, {27, 3}, {57, 3}, {64, 3}, {57, 16}, {27, 16}}));
  // The cell's place moves every vertex; the region covers the bar's inside only.
  PolyPolygon lit, unlit;
  GetSinglePolyPoly(QRect(100, 0, 80, 80), '7', false, {}, lit, unlit);
  const QRegion top = PolyPolygonRegion(lit);
  EXPECT_TRUE(top.contains(QPoint(140, 10)));
  EXPECT_FALSE(top.contains(QPoint(40, 10)));
  EXPECT_FALSE(top.contains(QPoint(140, 20)));
}

// The decimal point is a six-cornered dot as tall as a bar is thick, on the bottom bar's
// centre line, right of the bottom bar and clear of every other shape of its cell.
TEST(SegmentGeometry, DecimalPointSitsOnTheBaselineRightOfTheBottomBar) {
  for (QSize cell : {QSize(80, 80), QSize(40, 72), QSize(120, 200), QSize(17, 31)}) {
    SCOPED_TRACE(testing::Message() << cell.width() << "x" << cell.height());
    const double t = SegmentThickness(cell.width(), cell.height(), isNormal, false);
    const QPolygon point = GetsinglePoly7segment(cell.width(), cell.height(), 10, t);
    const QRect dot = point.boundingRect();
    const QRect bottom = GetsinglePoly7segment(cell.width(), cell.height(), 6, t).boundingRect();
    ASSERT_EQ(point.size(), 6);
    EXPECT_LE(std::abs(dot.center().y() - bottom.center().y()), 1);
    EXPECT_NEAR(dot.height(), t, 2.0);
    EXPECT_NEAR(dot.width(), 1.25 * t, 2.0);
    EXPECT_GT(dot.left(), bottom.right());
    EXPECT_TRUE(QRect(QPoint(0, 0), cell).contains(dot));
    // Symmetric about its centre line, corners first on it, then above, above, on, below, below.
    const int line = point[0].y();
    EXPECT_EQ(point[3].y(), line);
    for (int i : {1, 2}) EXPECT_LT(point[i].y(), line) << i;
    for (int i : {4, 5}) EXPECT_GT(point[i].y(), line) << i;
    EXPECT_LT(point[0].x(), point[1].x());
    EXPECT_LT(point[2].x(), point[3].x());
    // Convex, its corners in one turning direction.
    for (int i = 0; i < 6; ++i) {
      const QPoint a = point[(i + 1) % 6] - point[i];
      const QPoint b = point[(i + 2) % 6] - point[(i + 1) % 6];
      EXPECT_GE(a.x() * b.y() - a.y() * b.x(), 0) << "corner " << (i + 1) % 6;
    }
    const QRegion dotRegion = PolygonRegion(point);
    EXPECT_GT(dotRegion.boundingRect().width(), 0);
    for (int shape = 1; shape <= 9; ++shape) {
      const QPolygon other = GetsinglePoly7segment(cell.width(), cell.height(), shape, t);
      EXPECT_TRUE(dotRegion.intersected(PolygonRegion(other)).isEmpty()) << "shape " << shape;
    }
  }
}

TEST(SegmentGeometry, ThicknessByStyleFloorAndHover) {
  struct Case { int w, h; TIAIndicatorStyle style; bool hover; double t; };
  const Case cases[] = {
      {8, 16, isThin, false, 2},     // min(1, 2) raised to the floor
      {80, 160, isThin, false, 10},  // the narrower side decides
      {90, 90, isThick, true, 20},
      {10, 10, isThick, true, 4},    // floor applies while hovering too
      {0, 40, isNormal, false, 3},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(SegmentThickness(c.w, c.h, c.style, c.hover), c.t) << c.w << "x" << c.h;
}

TEST(SegmentGeometry, MatrixDotsShrinkWhileHovering) {
  // 32 x 56: margin 3, pitch 5.2 x 8.
  EXPECT_EQ(GetsinglePoly5x7matrix(32, 56, 1, 1, isNormal, false), Poly({{3, 0}, {5, 0}, {5, 5}, {3, 5}}));
  EXPECT_EQ(GetsinglePoly5x7matrix(32, 56, 7, 5, isThick, false), Poly({{23, 48}, {27, 48}, {27, 55}, {23, 55}}));
  EXPECT_EQ(GetsinglePoly5x7matrix(32, 56, 2, 2, isThick, true), Poly({{8, 8}, {11, 8}, {11, 13}, {8, 13}}));
  // Tiny cells keep dots of the floor size.
  EXPECT_EQ(GetsinglePoly5x7matrix(5, 7, 1, 1, isThin, false), Poly({{1, 0}, {2, 0}, {2, 1}, {1, 1}}));
}

TEST(SegmentGeometry, CharactersLightTheirShapes) {
  struct Case { char ch; bool point; TIAIndicatorKind kind; const char* mask; };
  const Case cases[] = {
      {'8', true, ik7segment, "11111111"},
      {'8', false, ik9segment, "1111111000"},
      {':', false, ik7segment, "00000000"},
      {':', true, ik9segment, "0000000111"},
      {'b', false, ik7segment, "11001110"},
      {'B', false, ik7segment, "00000000"},  // case matters
      {'.', false, ik7segment, "00000001"},  // a dot cell shows its point only
      {',', false, ik9segment, "0000000001"},
      {'\xE9', false, ik7segment, "00000000"},
      {'B', false, ik5x7matrix, "11110100011000111110100011000111110"},
      {'b', false, ik5x7matrix, "10000100001111010001100011000111110"},
      {'.', true, ik5x7matrix, "00000000000000000000000000011000110"},
      {'~', false, ik5x7matrix, "01010101000000000000000000000000000"},
      {'\xC7', true, ik5x7matrix, "00000000000000000000000000000000000"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LitMask(c.ch, c.point, c.kind), c.mask) << "'" << c.ch << "' kind " << int(c.kind);
}

TEST(SegmentGeometry, FaceTurnedNinetyDegrees) {
  QPolygon face = Poly({{0, 0}, {172, 0}, {172, 36}, {0, 36}});
  PolyRotate(face, 86, 18, 900);
  EXPECT_EQ(face, Poly({{68, 104}, {68, -68}, {104, -68}, {104, 104}}));
  EXPECT_EQ(TurnedFaceSize(172, 36, 900), QSize(36, 172));
  EXPECT_EQ(IndicatorWindowPolygon({172, 36, 900, 36, 172}), Poly({{0, 172}, {0, 0}, {36, 0}, {36, 172}}));
  EXPECT_EQ(TurnedFaceSize(100, 20, 450), QSize(85, 85));  // 70.71 + 14.14 = 84.85
  EXPECT_EQ(TurnedFaceSize(172, 36, -1800), QSize(172, 36));
  QPolygon full = face;  // a whole turn leaves every point where it was
  PolyRotate(full, 40, 30, 3600);
  EXPECT_EQ(full, face);
}

TEST(SegmentGeometry, PolyPolygonRegionCancelsOverlaps) {
  PolyPolygon list;
  AddPolytoPPoly(list, Poly({{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
  AddPolytoPPoly(list, Poly({{5, 5}, {15, 5}, {15, 15}, {5, 15}}));
  PolyPolygon third;
  AddPolytoPPoly(third, Poly({{30, 0}, {40, 0}, {40, 10}, {30, 10}}));
  Addpolypoly(list, third);
  ASSERT_EQ(list.number, 3);
  const QRegion region = PolyPolygonRegion(list);
  EXPECT_TRUE(region.contains(QPoint(2, 2)));
  EXPECT_FALSE(region.contains(QPoint(7, 7)));  // covered twice
  EXPECT_TRUE(region.contains(QPoint(12, 12)));
  EXPECT_TRUE(region.contains(QPoint(35, 5)));
  EXPECT_FALSE(region.contains(QPoint(10, 2)));  // right edges are outside
  EXPECT_TRUE(PolyPolygonRegion(PolyPolygon{}).isEmpty());
}

// Cells of a layout as text: each cell's character, then '.' when its point is lit; a dot
// character is a blank cell whose point is lit.
std::string Shown(const SegmentTextLayout& layout, TIAIndicatorKind kind) {
  std::string shown;
  for (int n = 1; n <= layout.signNumber; ++n) {
    const SegmentCell cell = layout.Cell(n);
    const bool dot = kind != ik5x7matrix && (cell.character == '.' || cell.character == ',');
    shown += dot ? ' ' : cell.character;
    if (cell.pointLit || dot) shown += '.';
  }
  return shown;
}

TEST(SegmentLayout, TextIntoCells) {
  struct Case { const char* text; int cells; TIAIndicatorKind kind; const char* shown; };
  const Case cases[] = {
      {"12.5", 10, ik7segment, "       12.5"},
      {".5", 10, ik7segment, "         .5"},
      {"1..2", 10, ik7segment, "       1. .2"},
      {"3,25", 6, ik9segment, "   3.25"},
      {"7.", 3, ik7segment, "  7."},
      {"1..", 4, ik7segment, "  1. ."},
      {"..", 3, ik7segment, "  . ."},
      {"123456", 4, ik7segment, "1234"},  // the left part stays
      {"12.34", 2, ik7segment, "12."},
      {"12.5", 10, ik5x7matrix, "      12.5"},  // here a dot is a character
      {"12.5", 3, ik5x7matrix, "12."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Shown(LayoutSegmentText(c.text, c.cells, c.kind), c.kind), c.shown) << '"' << c.text << "\" in " << c.cells;
}

TEST(SegmentLayout, CellCountsOutOfRange) {
  EXPECT_EQ(LayoutSegmentText("12", 0, ik7segment).signNumber, 0);
  EXPECT_EQ(LayoutSegmentText("12", -4, ik5x7matrix).Cell(1).character, ' ');
  // A huge count keeps the blank run as a number instead of building it.
  const SegmentTextLayout huge = LayoutSegmentText("12.5", INT_MAX, ik7segment);
  EXPECT_EQ(huge.leadingBlanks, INT_MAX - 4);
  ASSERT_EQ(huge.cells.size(), 4u);
  EXPECT_EQ(huge.Cell(INT_MAX - 1).character, '2');
  EXPECT_TRUE(huge.Cell(INT_MAX - 1).pointLit);
  EXPECT_EQ(huge.Cell(INT_MAX).character, '5');
  EXPECT_EQ(LayoutSegmentText("", INT_MAX, ik7segment).leadingBlanks, INT_MAX);
}
