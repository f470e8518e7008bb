#pragma once
// Rendering of the segment indicator's face into an off-screen image: background, bevels, lit
// and unlit segments, colour shades and bitmap materials, and the region that is shown when
// the control is partly transparent.
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <QSize>
#include <array>
#include <optional>
#include <string>

#include "controls/segment_geometry.h"
#include "controls/segment_indicator_types.h"
#include "controls/tcolor.h"

namespace controls {

// Everything the face depends on apart from the materials.
struct SegmentFace {
  int signNumber = 10;
  int indicatorWidth = 172;
  int indicatorHeight = 36;
  int indicatorAngle = 0;  // tenths of a degree, counter-clockwise
  int indicatorGap = 2;
  std::string indicatorString;  // code page 1252
  TIAIndicatorKind indicatorKind = ik7segment;
  TIABevelKind innerBevel = bkDown;
  TIABevelKind outerBevel = bkUP;
  int innerBevelWidth = 2;
  int outerBevelWidth = 2;
  draw::TColor bevelColor = 0xDDDDDD;
  draw::TColor backColor = 0xDDDDDD;
  draw::TColor numberForeColor = 0x363636;
  draw::TColor numberForeColor1 = 0x0000FF;
  draw::TColor numberBackColor = 0xD3D3D3;
  TIAIndicatorStyle indicatorStyle = isNormal;
  TIAMouseAction mouseAction = maNone;
  TIATransparentMode transparentMode = tmNone;
  TIAMaterialShadowMode materialShadowMode = msmDark;
  TIAMaterialMode materialMode = mmStretch;
  TIAMaterialMode foreMaterialMode = mmStretch;
  bool mouseInside = false;
};

// The textures: the two given ones and the three shades made from the back material.
struct SegmentMaterials {
  QImage back;
  QImage fore;
  QImage dark;    // back darkened: dark bevel faces
  QImage light;   // back lightened: light bevel faces
  QImage shadow;  // back shaded by the shadow mode: unlit segments
};

struct RenderedFace {
  QImage image;                     // the control's size; null for a control without area
  std::optional<QRegion> paintRgn;  // what is shown when the control is partly transparent
  PolyPolygon lit;                  // segment polygons in control coordinates
  PolyPolygon unlit;
};

// The five colours of a scheme: back, bevel, number back, number fore, number fore on hover.
struct SchemeColors {
  draw::TColor backColor, bevelColor, numberBackColor, numberForeColor, numberForeColor1;
};
SchemeColors ColorSchemeColors(TIAColorScheme scheme);

// A colour 0x20 lighter or darker in each channel (capped), as a plain colour.
draw::TColor GetLColor(draw::TColor color);
draw::TColor GetDColor(draw::TColor color);

// Lowers or raises every byte of every pixel of a 24-bit image by an amount, saturating.
void Getme24D(QImage& image, int amount);
void Getme24L(QImage& image, int amount);

// 24-bit copies of the back material: darkened, lightened and shaded.
void SETLD(SegmentMaterials& materials, TIAMaterialShadowMode shadowMode);

// A material counts as empty when it has no width.
bool IsEmptyMaterial(const QImage& material);

// Covers the painter's device (imageSize) with a material: stretched over it or tiled.
void DrawLD(QPainter& painter, const QImage& material, TIAMaterialMode mode, QSize imageSize);

enum class BevelSide { Top, Left, Bottom, Right };

// A bevel face in face coordinates: b the bevel's width, o its inset.
QPolygon BevelFace(BevelSide side, int width, int height, int b, int o);

// The four bevel faces in painting order (light ones first) and whether each is light, for a
// raised (bkUP) or sunken (bkDown) bevel turned by the angle.
struct ShadedSide {
  BevelSide side;
  bool light;
};
std::array<ShadedSide, 4> BevelShading(int angle, TIABevelKind kind);

// Renders the face for a control of the given size.
RenderedFace GetIndicatorImageRgns(const SegmentFace& face, const SegmentMaterials& materials,
                                   QSize controlSize);

}  // namespace controls
