#include "controls/segment_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "controls/rounding.h"

namespace controls {

namespace {

int T(double x) { return draw::Trunc(x); }

constexpr int kMatrixRows = 7;
constexpr int kMatrixColumns = 5;

// Rows 1..7 of five dots each, top row first, for the characters '!' (0x21) to '~' (0x7E).
constexpr const char* kDotMatrixFont[] = {
    "00110001100011000110000000011000110",  // 0x21 exclamation mark
    "01010101000000000000000000000000000",  // 0x22 double quote
    "00000010101111101010111110101000000",  // 0x23 number sign
    "01110101011010001110001011010101110",  // 0x24 dollar
    "11000110010001000100010001001100011",  // 0x25 percent
    "00110010011001001100011011001001101",  // 0x26 ampersand
    "01100110000000000000000000000000000",  // 0x27 apostrophe
    "00100010000100001000010000100000100",  // 0x28 left parenthesis
    "00100000100001000010000100001000100",  // 0x29 right parenthesis
    "00000101010111011111011101010100000",  // 0x2A asterisk
    "00000000000010001110001000000000000",  // 0x2B plus
    "00000000000000000000001100011000010",  // 0x2C comma
    "00000000000000001110000000000000000",  // 0x2D hyphen
    "00000000000000000000000000011000110",  // 0x2E full stop
    "00000000010001000100010001000000000",  // 0x2F slash
    "01110100011000110001100011000101110",  // 0x30 0
    "00010001100001000010000100001000111",  // 0x31 1
    "01110100010000100010001000100011111",  // 0x32 2
    "01110100010000100110000011000101110",  // 0x33 3
    "10001100011000101111000010000100001",  // 0x34 4
    "11111100001000011110000011000101110",  // 0x35 5
    "01110100011000011110100011000101110",  // 0x36 6
    "11111000010000100010000100001000010",  // 0x37 7
    "01110100011000101110100011000101110",  // 0x38 8
    "01110100011000101111000011000101110",  // 0x39 9
    "00000001100011000000001100011000000",  // 0x3A colon
    "00000001100011000000001100011000010",  // 0x3B semicolon
    "00010001000100010000010000010000010",  // 0x3C less-than
    "00000000000111000000011100000000000",  // 0x3D equals
    "01000001000001000001000100010001000",  // 0x3E greater-than
    "01110100010000100010000000011000110",  // 0x3F question mark
    "01110100111010110111100001000101110",  // 0x40 at sign
    "01110100011000111111100011000110001",  // 0x41 A
    "11110100011000111110100011000111110",  // 0x42 B
    "01110100011000010000100001000101110",  // 0x43 C
    "11110100011000110001100011000111110",  // 0x44 D
    "11111100001000011110100001000011111",  // 0x45 E
    "11111100001000011110100001000010000",  // 0x46 F
    "01110100011000010000100111000101110",  // 0x47 G
    "10001100011000111111100011000110001",  // 0x48 H
    "01110001000010000100001000010001110",  // 0x49 I
    "00011000010000100001000011000101110",  // 0x4A J
    "10001100101010011000101001001010001",  // 0x4B K
    "10000100001000010000100001000011111",  // 0x4C L
    "10001110111010110101100011000110001",  // 0x4D M
    "10001110011100110101101111001110001",  // 0x4E N
    "01110100011000110001100011000101110",  // 0x4F O
    "01110100011000111110100001000010000",  // 0x50 P
    "01110100011000110001101011001101111",  // 0x51 Q
    "11110100011000111110101001001010001",  // 0x52 R
    "01110100011000001110000011000101110",  // 0x53 S
    "11111001000010000100001000010000100",  // 0x54 T
    "10001100011000110001100011000101110",  // 0x55 U
    "10001100011000110001100010101000100",  // 0x56 V
    "10001100011000110001101011010101010",  // 0x57 W
    "10001010100111000100011100101010001",  // 0x58 X
    "10001010100010000100001000010001110",  // 0x59 Y
    "11111000010001000100010001000011111",  // 0x5A Z
    "11100100001000010000100001000011100",  // 0x5B left bracket
    "00000100000100000100000100000100000",  // 0x5C backslash
    "00111000010000100001000010000100111",  // 0x5D right bracket
    "00100010100000000000000000000000000",  // 0x5E circumflex
    "00000000000000000000000000000011111",  // 0x5F underscore
    "00000000000000000000000000000000000",  // 0x60 grave accent
    "00000000000111000001011111000101111",  // 0x61 a
    "10000100001111010001100011000111110",  // 0x62 b
    "00000000000111010001100001000101110",  // 0x63 c
    "00001000010111110001100011000101111",  // 0x64 d
    "00000000000111010001111101000001111",  // 0x65 e
    "00000000000111010000111001000010000",  // 0x66 f
    "00000000000111010001011110000100110",  // 0x67 g
    "10000100001000011110100011000110001",  // 0x68 h
    "00000001000000000100001000010001110",  // 0x69 i
    "00000000100000000010000100001001100",  // 0x6A j
    "10000100001001010100110001010010010",  // 0x6B k
    "00000001000110000100001000010001110",  // 0x6C l
    "00000000000101010101101011010110101",  // 0x6D m
    "00000000001111010001100011000110001",  // 0x6E n
    "00000000000111010001100011000101110",  // 0x6F o
    "00000000001111010001111101000010000",  // 0x70 p
    "00000000000111110001011110000100001",  // 0x71 q
    "00000000000111010001100001000010000",  // 0x72 r
    "00000000000111110000011100000111110",  // 0x73 s
    "10000100001110010000100001000101110",  // 0x74 t
    "00000000001000110001100011001101101",  // 0x75 u
    "00000000001000110001100010101000100",  // 0x76 v
    "00000000001000110101101011010101010",  // 0x77 w
    "00000000001000101010001000101010001",  // 0x78 x
    "00000000001000110001011110000100110",  // 0x79 y
    "00000000001111100010001000100011111",  // 0x7A z
    "00110010000100010000010000100000110",  // 0x7B left brace
    "00100001000010000100001000010000100",  // 0x7C vertical bar
    "01100000100001000001000100001001100",  // 0x7D right brace
    "01010101000000000000000000000000000",  // 0x7E tilde
};

struct SegmentPatternEntry {
  char character;
  const char* segments;  // segments 1..7: lower left, upper left, top, upper right, lower right,
                         // bottom, middle
};

// Case matters: 'b' has a pattern, 'B' has none.
constexpr SegmentPatternEntry kSegmentPatterns[] = {
    {'0', "1111110"}, {'1', "0001100"}, {'2', "1011011"}, {'3', "0011111"}, {'4', "0101101"},
    {'5', "0110111"}, {'6', "1110111"}, {'7', "0011100"}, {'8', "1111111"}, {'9', "0111111"},
    {'-', "0000001"}, {'_', "0000010"}, {'A', "1111101"}, {'b', "1100111"}, {'C', "1110010"},
    {'c', "1000011"}, {'d', "1001111"}, {'E', "1110011"}, {'F', "1110001"}, {'G', "1110110"},
    {'H', "1101101"}, {'h', "1100101"}, {'i', "1000000"}, {'J', "1001110"}, {'j', "0000110"},
    {'L', "1100010"}, {'l', "1100000"}, {'n', "1000101"}, {'O', "1111110"}, {'o', "1000111"},
    {'P', "1111001"}, {'r', "1000001"}, {'t', "1100011"}, {'U', "1101110"}, {'u', "1000110"},
    {'Y', "0101111"},
};

bool IsDot(char c) { return c == '.' || c == ','; }

// The screen angle of (x, y) turned by phi; y grows downward, angles count counter-clockwise.
double TurnedAngle(double x, double y, double phi) {
  if (x != 0) return std::atan2(-y / 1000.0, x / 1000.0) + phi;
  return y > 0 ? phi - std::numbers::pi / 2 : phi + std::numbers::pi / 2;
}

double AngleRadians(int tenthsOfDegree) { return tenthsOfDegree * std::numbers::pi / 1800.0; }

}  // namespace

void PolyPolygon::Clear() {
  points.clear();
  counts.clear();
  number = 0;
}

QPolygon PolyPolygon::Polygon(int index) const {
  int first = 0;
  for (int i = 0; i < index; ++i) first += counts[i];
  return points.mid(first, counts[index]);
}

double SegmentThickness(int w, int h, TIAIndicatorStyle style, bool hover) {
  double d = 6, floor = 3;
  switch (style) {
    case isThin: d = hover ? 6 : 8; floor = 2; break;
    case isNormal: d = hover ? 5 : 6; floor = 3; break;
    case isThick: d = hover ? 4.5 : 5; floor = 4; break;
  }
  const double t = std::min(w / d, h / d);
  return t < floor ? floor : t;
}

QPolygon GetsinglePoly7segment(int w, int h, int segment, double t) {
  const double u = w / 8.0, v = h / 8.0, t2 = t / 2;
  switch (segment) {
    case 1:  // lower left
      return QPolygon({{T(u), T(7 * v + t2) - 1},
                       {T(u - t2), T(7 * v - t2) - 1},
                       {T(3 * u / 2 - t2), T(4 * v + t2)},
                       {T(3 * u / 2), T(4 * v)},
                       {T(3 * u / 2 + t2), T(4 * v + t2)},
                       {T(u + t2), T(7 * v - t2) - 1}});
    case 2:  // upper left
      return QPolygon({{T(3 * u / 2), T(4 * v) - 1},
                       {T(3 * u / 2 - t2), T(4 * v - t2) - 1},
                       {T(2 * u - t2), T(v + t2)},
                       {T(2 * u), T(v - t2)},
                       {T(2 * u + t2), T(v + t2)},
                       {T(3 * u / 2 + t2), T(4 * v - t2) - 1}});
    case 3:  // top
      return QPolygon({{T(2 * u) + 1, T(v - t2)},
                       {T(2 * u + t2) + 1, T(v - t2)},
                       {T(13 * u / 2 - t2) - 1, T(v - t2)},
                       {T(13 * u / 2) - 1, T(v - t2)},
                       {T(13 * u / 2 - t2) - 1, T(v + t2)},
                       {T(2 * u + t2) + 1, T(v + t2)}});
    case 4:  // upper right
      return QPolygon({{T(13 * u / 2), T(v - t2)},
                       {T(13 * u / 2 + t2), T(v + t2)},
                       {T(6 * u + t2), T(4 * v - t2) - 1},
                       {T(6 * u), T(4 * v) - 1},
                       {T(6 * u - t2), T(4 * v - t2) - 1},
                       {T(13 * u / 2 - t2), T(v + t2)}});
    case 5:  // lower right
      return QPolygon({{T(6 * u), T(4 * v)},
                       {T(6 * u + t2), T(4 * v + t2)},
                       {T(11 * u / 2 + t2), T(7 * v - t2) - 1},
                       {T(11 * u / 2), T(7 * v + t2) - 1},
                       {T(11 * u / 2 - t2), T(7 * v - t2) - 1},
                       {T(6 * u - t2), T(4 * v + t2)}});
    case 6:  // bottom
      return QPolygon({{T(u) + 1, T(7 * v + t2)},
                       {T(u + t2) + 1, T(7 * v - t2)},
                       {T(11 * u / 2 - t2) - 1, T(7 * v - t2)},
                       {T(11 * u / 2) - 1, T(7 * v + t2)},
                       {T(11 * u / 2 - t2) - 1, T(7 * v + t2)},
                       {T(u + t2) + 1, T(7 * v + t2)}});
    case 7:  // middle
      return QPolygon({{T(3 * u / 2) + 1, T(4 * v)},
                       {T(3 * u / 2 + t2) + 1, T(4 * v - t2)},
                       {T(6 * u - t2) - 1, T(4 * v - t2)},
                       {T(6 * u) - 1, T(4 * v)},
                       {T(6 * u - t2) - 1, T(4 * v + t2)},
                       {T(3 * u / 2 + t2) + 1, T(4 * v + t2)}});
    case 8: {  // upper colon dot
      const double x = 4 * u, y = 5 * v / 2;
      return QPolygon({{T(x - t / 3), T(y + 2 * t / 3)},
                       {T(x - 2 * t / 3), T(y)},
                       {T(x - t / 3), T(y - 2 * t / 3)},
                       {T(x + t / 3), T(y - 2 * t / 3)},
                       {T(x + 2 * t / 3), T(y)},
                       {T(x + t / 3), T(y + 2 * t / 3)}});
    }
    case 9: {  // lower colon dot
      const double x = 7 * u / 2, y = 11 * v / 2;
      return QPolygon({{T(x - t / 3), T(y + 2 * t / 3)},
                       {T(x - 2 * t / 3), T(y)},
                       {T(x - t / 3), T(y - 2 * t / 3)},
                       {T(x + t / 3), T(y - 2 * t / 3)},
                       {T(x + 2 * t / 3), T(y)},
                       {T(x + t / 3), T(y + 2 * t / 3)}});
    }
    case 10: {  // decimal point
      const double x = 11 * u / 2;
      return QPolygon({{T(x + t / 4) + 1, T(7 * v)},
                       {T(x + t2) + 1, T(7 * v - t2)},
                       {T(x + 5 * t / 4), T(7 * v - t2)},
                       {T(x + 3 * t / 2), T(7 * v)},
                       {T(x + 5 * t / 4), T(7 * v + t2)},
                       {T(x + t2) + 1, T(7 * v + t2)}});
    }
    default:
      return {};
  }
}

int SegmentShapeOf(TIAIndicatorKind kind, int k) {
  return kind == ik7segment && k == 8 ? 10 : k;
}

QPolygon GetsinglePoly5x7matrix(int w, int h, int row, int column, TIAIndicatorStyle style,
                                bool hover) {
  const int m = T(w / 16.0) + 1;
  const double cw = (w - 2 * m) / 5.0, ch = h / 7.0;
  double sx = 0, sy = 0, floor = 0;
  switch (style) {
    case isThin:
      sx = hover ? cw / 2 - 1 : 2 * cw / 3 - 1;
      sy = hover ? ch / 2 - 1 : 2 * ch / 3 - 1;
      floor = 1.5;
      break;
    case isNormal:
      sx = hover ? 2 * cw / 3 - 1 : 3 * cw / 4 - 1;
      sy = hover ? 2 * ch / 3 - 1 : 3 * ch / 4 - 1;
      floor = 2.5;
      break;
    case isThick:
      sx = hover ? 3 * cw / 4 - 1 : cw - 1;
      sy = hover ? 3 * ch / 4 - 1 : ch - 1;
      floor = 3.5;
      break;
  }
  sx = std::max(sx, floor);
  sy = std::max(sy, floor);
  const int x0 = T((column - 1) * cw + m), y0 = T((row - 1) * ch);
  return QPolygon({{x0, y0}, {x0 + T(sx), y0}, {x0 + T(sx), y0 + T(sy)}, {x0, y0 + T(sy)}});
}

std::string SegmentPattern(char c, TIAIndicatorKind kind) {
  if (kind == ik9segment && c == ':') return "000000011";
  std::string pattern = "0000000";
  for (const auto& entry : kSegmentPatterns) {
    if (entry.character == c) {
      pattern = entry.segments;
      break;
    }
  }
  if (kind == ik9segment) pattern += "00";
  return pattern;
}

std::string DotMatrixGlyph(char c) {
  const auto code = static_cast<unsigned char>(c);
  if (code < 0x21 || code > 0x7E) return std::string(kMatrixRows * kMatrixColumns, '0');
  return kDotMatrixFont[code - 0x21];
}

void GetSinglePolyPoly(const QRect& cell, char ch, bool pointLit, const CellStyle& style,
                       PolyPolygon& lit, PolyPolygon& unlit) {
  lit.Clear();
  unlit.Clear();
  const int w = cell.width(), h = cell.height();
  auto add = [&](QPolygon polygon, bool on) {
    ShiftPoly(polygon, cell.left(), cell.top());
    AddPolytoPPoly(on ? lit : unlit, polygon);
  };
  if (style.kind == ik5x7matrix) {
    const std::string glyph = DotMatrixGlyph(ch);
    for (int r = 1; r <= kMatrixRows; ++r)
      for (int c = 1; c <= kMatrixColumns; ++c)
        add(GetsinglePoly5x7matrix(w, h, r, c, style.style, style.hover),
            glyph[(r - 1) * kMatrixColumns + (c - 1)] == '1');
    return;
  }
  std::string mask = SegmentPattern(ch, style.kind) + (pointLit ? '1' : '0');
  if (IsDot(ch)) mask = style.kind == ik7segment ? "00000001" : "0000000001";
  const double t = SegmentThickness(w, h, style.style, style.hover);
  for (int k = 1; k <= static_cast<int>(mask.size()); ++k)
    add(GetsinglePoly7segment(w, h, SegmentShapeOf(style.kind, k), t), mask[k - 1] == '1');
}

void AddPolytoPPoly(PolyPolygon& list, const QPolygon& polygon) {
  list.points += polygon;
  list.counts.push_back(static_cast<int>(polygon.size()));
  ++list.number;
}

void Addpolypoly(PolyPolygon& list, const PolyPolygon& other) {
  list.points += other.points;
  list.counts.insert(list.counts.end(), other.counts.begin(), other.counts.end());
  list.number += other.number;
}

void ShiftPoly(QPolygon& points, int dx, int dy) { points.translate(dx, dy); }

void PolyZrotate(QPolygon& points, int angle) {
  const double phi = AngleRadians(angle);
  for (QPoint& p : points) {
    const double x = p.x(), y = p.y();
    const double r = std::sqrt(x * x + y * y);
    if (draw::Round(r) == 0) continue;
    const double theta = TurnedAngle(x, y, phi);
    p = QPoint(draw::Round(r * std::cos(theta)), -draw::Round(r * std::sin(theta)));
  }
}

void PolyRotate(QPolygon& points, int cx, int cy, int angle) {
  PolyZrotate(points, angle);
  const double r0 = std::sqrt(double(cx) * cx + double(cy) * cy);
  double dx = 0, dy = 0;
  if (draw::Round(r0) != 0) {
    const double theta0 = TurnedAngle(cx, cy, AngleRadians(angle));
    dx = cx - r0 * std::cos(theta0);
    dy = cy + r0 * std::sin(theta0);
  }
  points.translate(draw::Round(dx), draw::Round(dy));
}

void TurnFacePoints(QPolygon& points, const FacePlacement& face) {
  PolyRotate(points, face.indicatorWidth / 2, face.indicatorHeight / 2, face.angle);
  ShiftPoly(points, (face.controlWidth - face.indicatorWidth) / 2,
            (face.controlHeight - face.indicatorHeight) / 2);
}

QPolygon IndicatorWindowPolygon(const FacePlacement& face) {
  QPolygon outline({{0, 0},
                    {face.indicatorWidth, 0},
                    {face.indicatorWidth, face.indicatorHeight},
                    {0, face.indicatorHeight}});
  TurnFacePoints(outline, face);
  return outline;
}

QSize TurnedFaceSize(int indicatorWidth, int indicatorHeight, int angle) {
  const double a = AngleRadians(angle);
  const double c = std::cos(a), s = std::sin(a);
  return QSize(draw::Round(std::abs(indicatorWidth * c) + std::abs(indicatorHeight * s)),
               draw::Round(std::abs(indicatorWidth * s) + std::abs(indicatorHeight * c)));
}

QRegion PolygonRegion(const QPolygon& polygon) { return QRegion(polygon, Qt::OddEvenFill); }

QRegion PolyPolygonRegion(const PolyPolygon& list) {
  // Pairwise XOR in a balanced tree keeps the cost near n log n for long lists.
  std::vector<QRegion> regions;
  regions.reserve(list.counts.size());
  int first = 0;
  for (int count : list.counts) {
    regions.push_back(PolygonRegion(list.points.mid(first, count)));
    first += count;
  }
  if (regions.empty()) return {};
  while (regions.size() > 1) {
    std::vector<QRegion> merged;
    merged.reserve((regions.size() + 1) / 2);
    for (size_t i = 0; i + 1 < regions.size(); i += 2) merged.push_back(regions[i].xored(regions[i + 1]));
    if (regions.size() % 2 == 1) merged.push_back(std::move(regions.back()));
    regions = std::move(merged);
  }
  return regions.front();
}

}  // namespace controls
