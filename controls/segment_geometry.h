#pragma once
// Shapes of the segment indicator: the segment and dot polygons of one character cell, the
// tables of lit segments and dots, the turning of point lists, the collection of polygons
// into poly-polygon lists and the regions made from them. Pure geometry: no widget here.
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <string>
#include <vector>

#include "controls/segment_indicator_types.h"

namespace controls {

// Polygons in the form a poly-polygon region takes: all vertices one after another, the vertex
// count of each polygon, and the number of polygons.
struct PolyPolygon {
  QPolygon points;
  std::vector<int> counts;
  int number = 0;

  void Clear();
  // The i-th polygon (0-based).
  QPolygon Polygon(int index) const;
};

// What a cell's shapes depend on besides its rectangle.
struct CellStyle {
  TIAIndicatorKind kind = ik7segment;
  TIAIndicatorStyle style = isNormal;
  // The mouse is over the control and its mouse action changes the segment width: segments get
  // one step thicker, matrix dots one step smaller.
  bool hover = false;
};

// Segment thickness of a w x h cell of the segment kinds.
double SegmentThickness(int w, int h, TIAIndicatorStyle style, bool hover);

// The six-vertex polygon of segment 1..10 of a segment cell of size w x h with thickness t, in
// cell coordinates, numbered as in a 9-segment cell: 1-7 the bars, 8 and 9 the upper and lower
// colon dots, 10 the decimal point. Other numbers give an empty polygon.
QPolygon GetsinglePoly7segment(int w, int h, int segment, double t);

// Segment k (1-based) of a cell of the given kind as a shape number of GetsinglePoly7segment:
// the same, except that segment 8 of a 7-segment cell is the decimal point.
int SegmentShapeOf(TIAIndicatorKind kind, int k);

// The four-vertex dot of row 1..7 and column 1..5 of a w x h matrix cell, in cell coordinates.
QPolygon GetsinglePoly5x7matrix(int w, int h, int row, int column, TIAIndicatorStyle style,
                                bool hover);

// Which segments a character lights in a segment cell, without the decimal point: 7 '0'/'1'
// characters for ik7segment, 9 for ik9segment. Unknown characters light nothing.
std::string SegmentPattern(char c, TIAIndicatorKind kind);

// The 5x7 glyph of a character: 35 '0'/'1' characters, rows top to bottom, columns left to right.
// Characters without a glyph give 35 zeros.
std::string DotMatrixGlyph(char c);

// The polygons of one cell, moved to the cell's place, sorted into lit and unlit. The lists are
// emptied first.
void GetSinglePolyPoly(const QRect& cell, char ch, bool pointLit, const CellStyle& style,
                       PolyPolygon& lit, PolyPolygon& unlit);

// Appends one polygon to a list.
void AddPolytoPPoly(PolyPolygon& list, const QPolygon& polygon);
// Appends a whole list to another.
void Addpolypoly(PolyPolygon& list, const PolyPolygon& other);
// Moves every point by (dx, dy).
void ShiftPoly(QPolygon& points, int dx, int dy);

// Turns points about the origin by an angle in tenths of a degree, counter-clockwise on screen.
void PolyZrotate(QPolygon& points, int angle);
// Turns points about (cx, cy) by an angle in tenths of a degree, counter-clockwise on screen.
void PolyRotate(QPolygon& points, int cx, int cy, int angle);

// The placement of the display face in the control: the unturned face size, its angle and the
// control's size. The face is turned about its centre and centred in the control.
struct FacePlacement {
  int indicatorWidth = 0;
  int indicatorHeight = 0;
  int angle = 0;
  int controlWidth = 0;
  int controlHeight = 0;
};

// Turns face coordinates into control coordinates.
void TurnFacePoints(QPolygon& points, const FacePlacement& face);

// The turned face outline in control coordinates: the window's shape.
QPolygon IndicatorWindowPolygon(const FacePlacement& face);

// Control size that holds the face turned by its angle.
QSize TurnedFaceSize(int indicatorWidth, int indicatorHeight, int angle);

// A polygon region with alternate (odd-even) filling.
QRegion PolygonRegion(const QPolygon& polygon);
// A poly-polygon region with alternate filling: a pixel is inside when an odd number of the
// polygons cover it, so it is the XOR of the polygons' regions (a union would lose the
// cancellation where polygons overlap).
QRegion PolyPolygonRegion(const PolyPolygon& list);

}  // namespace controls
