#include "controls/segment_indicator_render.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "controls/segment_indicator_layout.h"

namespace controls {

namespace {

constexpr int kShadeStep = 0x20;
constexpr int64_t kBeyondAnyFace = int64_t{1} << 24;  // no widget is larger
constexpr int kMaterialStep = 0x40;

draw::TColor PlainColor(int r, int g, int b) {
  return static_cast<draw::TColor>(r) | static_cast<draw::TColor>(g) << 8 | static_cast<draw::TColor>(b) << 16;
}

draw::TColor Shade(draw::TColor color, int step) {
  const QRgb rgb = draw::ToRgb(color);
  auto channel = [step](int value) { return std::clamp(value + step, 0, 255); };
  return PlainColor(channel(qRed(rgb)), channel(qGreen(rgb)), channel(qBlue(rgb)));
}

void AddBytes(QImage& image, int delta) {
  if (image.isNull()) return;
  const int bytes = image.width() * 3;
  for (int y = 0; y < image.height(); ++y) {
    uchar* row = image.scanLine(y);
    for (int i = 0; i < bytes; ++i) row[i] = static_cast<uchar>(std::clamp(row[i] + delta, 0, 255));
  }
}

QImage Copy24(const QImage& material) {
  if (material.isNull()) return {};
  return material.convertToFormat(QImage::Format_RGB888);
}

// The range of cells that can reach the image. A cell of the face lands on the image only when
// it lies within the image's diagonal of the turning centre, so cells far beyond it (a cell
// count or face size much larger than the control) cost nothing.
struct CellRange {
  int first = 1;
  int last = 0;
};

CellRange VisibleCells(const SegmentFace& face, int margin, int cellWidth, QSize control) {
  const double reach = std::hypot(control.width(), control.height()) + cellWidth + 16;
  const double centre = face.indicatorWidth / 2 - margin;
  const double first = std::floor((centre - reach) / cellWidth);
  const double last = std::ceil((centre + reach) / cellWidth) + 1;
  CellRange range;
  range.first = static_cast<int>(std::clamp(first, 1.0, double(face.signNumber)));
  range.last = static_cast<int>(std::clamp(last, 0.0, double(face.signNumber)));
  return range;
}

void FillRegion(QPainter& painter, const QRegion& region, draw::TColor color) {
  if (region.isEmpty()) return;
  painter.save();
  painter.setClipRegion(region);
  painter.fillRect(region.boundingRect(), draw::ToQColor(color));
  painter.restore();
}

void CoverRegion(QPainter& painter, const QRegion& region, const QImage& material,
                 TIAMaterialMode mode, QSize imageSize) {
  if (region.isEmpty()) return;
  painter.save();
  painter.setClipRegion(region);
  DrawLD(painter, material, mode, imageSize);
  painter.restore();
}

}  // namespace

SchemeColors ColorSchemeColors(TIAColorScheme scheme) {
  switch (scheme) {
    case csSilver: return {0xDDDDDD, 0xDDDDDD, 0xD3D3D3, 0x363636, 0x0000FF};
    case csInvSilver: return {0x000000, 0xDDDDDD, 0x363636, 0xDDDDDD, 0x0000FF};
    case csWhite: return {0xFFFFFF, 0xDDDDDD, 0xFFFFFF, 0x000000, 0x0000FF};
    case csBlack: return {0x000000, 0x808080, 0x000000, 0xFFFFFF, 0x0080FF};
    case csPlasma: return {0x000080, 0x000080, 0x400080, 0x48BFFF, 0x80FFFF};
    case csInvPlasma: return {0x48BFFF, 0x48BFFF, 0x57A3F7, 0x000080, 0x2747FC};
    case csTIAN: return {0xA00000, 0xA00000, 0x804000, 0xDAF376, 0x00FFFF};
  }
  return ColorSchemeColors(csSilver);
}

draw::TColor GetLColor(draw::TColor color) { return Shade(color, kShadeStep); }
draw::TColor GetDColor(draw::TColor color) { return Shade(color, -kShadeStep); }

void Getme24D(QImage& image, int amount) { AddBytes(image, -amount); }
void Getme24L(QImage& image, int amount) { AddBytes(image, amount); }

void SETLD(SegmentMaterials& materials, TIAMaterialShadowMode shadowMode) {
  materials.dark = Copy24(materials.back);
  materials.light = Copy24(materials.back);
  materials.shadow = Copy24(materials.back);
  Getme24D(materials.dark, kMaterialStep);
  Getme24L(materials.light, kMaterialStep);
  if (shadowMode == msmDark) Getme24D(materials.shadow, kShadeStep);
  if (shadowMode == msmLight) Getme24L(materials.shadow, kShadeStep);
}

bool IsEmptyMaterial(const QImage& material) { return material.width() <= 0; }

void DrawLD(QPainter& painter, const QImage& material, TIAMaterialMode mode, QSize imageSize) {
  if (IsEmptyMaterial(material)) return;
  if (mode == mmStretch) {
    painter.drawImage(QRect(QPoint(0, 0), imageSize), material);
    return;
  }
  const int w = material.width(), h = material.height();
  if (w <= 0 || h <= 0) return;
  for (int i = 0; i <= imageSize.width() / w; ++i)
    for (int j = 0; j <= imageSize.height() / h; ++j) painter.drawImage(i * w, j * h, material);
}

QPolygon BevelFace(BevelSide side, int width, int height, int b, int o) {
  const int W = width, H = height;
  switch (side) {
    case BevelSide::Top: return QPolygon({{o, o}, {W - o, o}, {W - b - o, b + o}, {b + o, b + o}});
    case BevelSide::Left: return QPolygon({{o, o}, {o, H - o}, {b + o, H - b - o}, {b + o, b + o}});
    case BevelSide::Bottom:
      return QPolygon({{o, H - o}, {b + o, H - b - o}, {W - b - o, H - b - o}, {W - o, H - o}});
    case BevelSide::Right:
      return QPolygon({{W - o, H - o}, {W - b - o, H - b - o}, {W - b - o, b + o}, {W - o, o}});
  }
  return {};
}

std::array<ShadedSide, 4> BevelShading(int angle, TIABevelKind kind) {
  // After turning, the light faces are those facing the top and left of the screen.
  const double a = angle * std::numbers::pi / 1800.0;
  const double s = std::sin(a), c = std::cos(a);
  const double diagonal = 1 / std::sqrt(2.0);
  int quadrant = 1;
  if (c >= 0 && s <= 0) quadrant = 4;
  if (c <= 0 && s >= 0) quadrant = 2;
  if (c <= 0 && s <= 0) quadrant = 3;
  using S = BevelSide;
  std::array<S, 4> order{S::Top, S::Left, S::Bottom, S::Right};
  switch (quadrant) {
    case 1: order = s <= diagonal ? std::array{S::Top, S::Left, S::Bottom, S::Right}
                                  : std::array{S::Top, S::Right, S::Left, S::Bottom}; break;
    case 2: order = s > diagonal ? std::array{S::Top, S::Right, S::Left, S::Bottom}
                                 : std::array{S::Bottom, S::Right, S::Top, S::Left}; break;
    case 3: order = s >= -diagonal ? std::array{S::Bottom, S::Right, S::Top, S::Left}
                                   : std::array{S::Left, S::Bottom, S::Right, S::Top}; break;
    case 4: order = s < -diagonal ? std::array{S::Left, S::Bottom, S::Right, S::Top}
                                  : std::array{S::Top, S::Left, S::Bottom, S::Right}; break;
  }
  const bool raised = kind != bkDown;
  return {ShadedSide{order[0], raised}, ShadedSide{order[1], raised}, ShadedSide{order[2], !raised},
          ShadedSide{order[3], !raised}};
}

RenderedFace GetIndicatorImageRgns(const SegmentFace& face, const SegmentMaterials& materials,
                                   QSize controlSize) {
  RenderedFace out;
  if (face.transparentMode != tmNone) out.paintRgn = QRegion();

  // The gap and bevel widths are taken as given, so their sum is formed without overflow; a
  // margin beyond any face only pushes the cells off it.
  int64_t fullMargin = face.indicatorGap;
  if (face.outerBevel != bkNone) fullMargin += face.outerBevelWidth;
  if (face.innerBevel != bkNone) fullMargin += face.innerBevelWidth;
  const int margin = static_cast<int>(std::clamp<int64_t>(fullMargin, -kBeyondAnyFace, kBeyondAnyFace));

  const int iw = face.indicatorWidth, ih = face.indicatorHeight;
  const int n = std::max(face.signNumber, 1);
  int64_t cellHeight = ih - 2 * fullMargin;
  if (cellHeight < 1 || cellHeight > ih) cellHeight = ih;
  int64_t cellWidth = (iw - 2 * fullMargin) / n;
  if (cellWidth < 1 || cellWidth > iw / n) cellWidth = iw / n;

  const FacePlacement placement{iw, ih, face.indicatorAngle, controlSize.width(), controlSize.height()};
  const bool hover = face.mouseInside && (face.mouseAction == maWidth || face.mouseAction == maBoth);
  // A face larger than any widget can be (only ever stored on a control that follows its own
  // size) has nothing that could be shown; its regions alone would take seconds to build.
  const bool faceFits = iw <= kBeyondAnyFace && ih <= kBeyondAnyFace;
  // Cells narrower or lower than a pixel (more cells than the face is wide, a face without
  // area) have nothing to show.
  if (faceFits && face.signNumber >= 1 && cellWidth >= 1 && cellHeight >= 1) {
    const SegmentTextLayout layout = LayoutSegmentText(face.indicatorString, face.signNumber, face.indicatorKind);
    const CellStyle style{face.indicatorKind, face.indicatorStyle, hover};
    const CellRange range = VisibleCells(face, margin, static_cast<int>(cellWidth), controlSize);
    PolyPolygon lit, unlit;
    for (int cell = range.first; cell <= range.last; ++cell) {
      const SegmentCell content = layout.Cell(cell);
      GetSinglePolyPoly(QRect(static_cast<int>((cell - 1) * cellWidth), 0, static_cast<int>(cellWidth),
                              static_cast<int>(cellHeight)),
                        content.character,
                        content.pointLit, style, lit, unlit);
      Addpolypoly(out.lit, lit);
      Addpolypoly(out.unlit, unlit);
    }
    for (PolyPolygon* list : {&out.lit, &out.unlit}) {
      ShiftPoly(list->points, margin, margin);
      TurnFacePoints(list->points, placement);
    }
  }

  if (controlSize.width() <= 0 || controlSize.height() <= 0) return out;
  out.image = QImage(controlSize, QImage::Format_RGB32);
  if (out.image.isNull()) return out;  // too large to allocate: nothing to show
  QPainter painter(&out.image);
  const QSize imageSize = out.image.size();

  if (IsEmptyMaterial(materials.back)) out.image.fill(draw::ToQColor(face.backColor));
  else DrawLD(painter, materials.back, face.materialMode, imageSize);

  // A bevel wider than the face looks the same on it whatever its width; limited to that, its
  // faces stay polygons of the face's size (a region of a polygon billions of pixels tall would
  // take more memory than any machine has).
  const int bevelLimit = static_cast<int>(std::min<int64_t>(int64_t{iw} + ih, kBeyondAnyFace));
  auto paintBevel = [&](TIABevelKind kind, int width, int inset) {
    if (kind == bkNone || !faceFits) return;
    width = std::min(width, bevelLimit);
    inset = std::min(inset, bevelLimit);
    for (const ShadedSide& shaded : BevelShading(face.indicatorAngle, kind)) {
      QPolygon polygon = BevelFace(shaded.side, iw, ih, width, inset);
      TurnFacePoints(polygon, placement);
      const QRegion region = PolygonRegion(polygon);
      if (out.paintRgn) *out.paintRgn += region;
      if (IsEmptyMaterial(materials.back))
        FillRegion(painter, region, shaded.light ? GetLColor(face.bevelColor) : GetDColor(face.bevelColor));
      else
        CoverRegion(painter, region, shaded.light ? materials.light : materials.dark, face.materialMode, imageSize);
    }
  };
  paintBevel(face.outerBevel, face.outerBevelWidth, 0);
  paintBevel(face.innerBevel, face.innerBevelWidth, face.outerBevel == bkNone ? 0 : face.outerBevelWidth);

  if (out.lit.number > 0) {
    const QRegion region = PolyPolygonRegion(out.lit);
    const bool hoverColor = face.mouseInside && (face.mouseAction == maColor || face.mouseAction == maBoth);
    if (out.paintRgn) *out.paintRgn += region;
    if (IsEmptyMaterial(materials.fore) || hoverColor)
      FillRegion(painter, region, hoverColor ? face.numberForeColor1 : face.numberForeColor);
    else
      CoverRegion(painter, region, materials.fore, face.foreMaterialMode, imageSize);
  }
  if (out.unlit.number > 0) {
    const QRegion region = PolyPolygonRegion(out.unlit);
    if (out.paintRgn && face.transparentMode == tmBackOnly) *out.paintRgn += region;
    if (IsEmptyMaterial(materials.back)) FillRegion(painter, region, face.numberBackColor);
    else CoverRegion(painter, region, materials.shadow, face.materialMode, imageSize);
  }
  return out;
}

}  // namespace controls
