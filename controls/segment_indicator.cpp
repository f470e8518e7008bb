#include "controls/segment_indicator.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>
#include <numbers>

#include "controls/segment_geometry.h"
#include "platform/qt_text.h"

namespace controls {

namespace {

// Posted to the control itself so that several changes in a row render once.
const QEvent::Type kNeedRepaintEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// Below this a sine or cosine counts as zero: the face is at a right angle.
constexpr double kRightAngleEpsilon = 0.0001;

}  // namespace

TSegmentIndicator::TSegmentIndicator(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  resize(face_.indicatorWidth, face_.indicatorHeight);
  GetIndicatorRgn();
  Render();
}

TSegmentIndicator::~TSegmentIndicator() = default;

void TSegmentIndicator::Loaded() {
  isLoaded_ = true;
  SETLD(materials_, face_.materialShadowMode);
  GetIndicatorRgn();
  Rebuild();
}

template <typename T>
void TSegmentIndicator::Store(T& field, const T& value) {
  if (field == value) return;
  field = value;
  Rebuild();
}

void TSegmentIndicator::SETSignNumber(int value) {
  if (value <= 0 || value == face_.signNumber) return;
  face_.signNumber = value;
  if (!Rebuilds()) return;
  GetIndicatorRgn();
  Rebuild();
}

void TSegmentIndicator::SETIndicatorWidth(int value) {
  if (value <= 0 || value == face_.indicatorWidth) return;
  face_.indicatorWidth = value;
  if (Rebuilds()) ResizeToTurnedFace(true);
}

void TSegmentIndicator::SETIndicatorHeight(int value) {
  if (value <= 0 || value == face_.indicatorHeight) return;
  face_.indicatorHeight = value;
  if (Rebuilds()) ResizeToTurnedFace(true);
}

void TSegmentIndicator::SETIndicatorAngle(int value) {
  if (value == face_.indicatorAngle) return;
  face_.indicatorAngle = value;
  if (!Rebuilds()) return;
  resize(TurnedFaceSize(face_.indicatorWidth, face_.indicatorHeight, face_.indicatorAngle));
  GetIndicatorRgn();
  Rebuild();
}

void TSegmentIndicator::SETIndicatorGap(int value) { Store(face_.indicatorGap, value); }

void TSegmentIndicator::SETIndicatorString(const QString& value) {
  if (value == indicatorString_) return;
  indicatorString_ = value;
  face_.indicatorString = platform::ToCp1252(value);
  Rebuild();
}

void TSegmentIndicator::SETIndicatorKind(TIAIndicatorKind value) { Store(face_.indicatorKind, value); }
void TSegmentIndicator::SETInnerBevel(TIABevelKind value) { Store(face_.innerBevel, value); }
void TSegmentIndicator::SETOuterBevel(TIABevelKind value) { Store(face_.outerBevel, value); }

void TSegmentIndicator::SETInnerBevelWidth(int value) {
  if (value > 0) Store(face_.innerBevelWidth, value);
}

void TSegmentIndicator::SETOuterBevelWidth(int value) {
  if (value > 0) Store(face_.outerBevelWidth, value);
}

void TSegmentIndicator::SETBevelColor(draw::TColor value) { Store(face_.bevelColor, value); }
void TSegmentIndicator::SETBackColor(draw::TColor value) { Store(face_.backColor, value); }
void TSegmentIndicator::SETNumberForeColor(draw::TColor value) { Store(face_.numberForeColor, value); }
void TSegmentIndicator::SETNumberForeColor1(draw::TColor value) { Store(face_.numberForeColor1, value); }
void TSegmentIndicator::SETNumberBackColor(draw::TColor value) { Store(face_.numberBackColor, value); }
void TSegmentIndicator::SETIndicatorStyle(TIAIndicatorStyle value) { Store(face_.indicatorStyle, value); }
void TSegmentIndicator::SETMouseAction(TIAMouseAction value) { Store(face_.mouseAction, value); }
void TSegmentIndicator::SETMaterialMode(TIAMaterialMode value) { Store(face_.materialMode, value); }
void TSegmentIndicator::SETForeMaterialMode(TIAMaterialMode value) { Store(face_.foreMaterialMode, value); }

void TSegmentIndicator::SETTransparentMode(TIATransparentMode value) {
  if (value == face_.transparentMode) return;
  face_.transparentMode = value;
  // Only an opaque control covers its whole rectangle; otherwise the parent shows through.
  setAttribute(Qt::WA_OpaquePaintEvent, value == tmNone);
  Rebuild();
}

void TSegmentIndicator::SETColorScheme(TIAColorScheme value) {
  colorScheme_ = value;
  if (!Rebuilds()) return;
  const SchemeColors colors = ColorSchemeColors(value);
  face_.backColor = colors.backColor;
  face_.bevelColor = colors.bevelColor;
  face_.numberBackColor = colors.numberBackColor;
  face_.numberForeColor = colors.numberForeColor;
  face_.numberForeColor1 = colors.numberForeColor1;
  PostNeedRepaint();
}

void TSegmentIndicator::SETBackMaterial(const QImage& value) {
  materials_.back = value.copy();
  SETLD(materials_, face_.materialShadowMode);
  Rebuild();
}

void TSegmentIndicator::SETForeMaterial(const QImage& value) {
  materials_.fore = value.copy();
  Rebuild();
}

void TSegmentIndicator::SETMaterialShadowMode(TIAMaterialShadowMode value) {
  if (value == face_.materialShadowMode) return;
  face_.materialShadowMode = value;
  SETLD(materials_, value);
  Rebuild();
}

void TSegmentIndicator::Render() { rendered_ = controls::GetIndicatorImageRgns(face_, materials_, size()); }

void TSegmentIndicator::Rebuild() {
  Render();
  update();
}

void TSegmentIndicator::GetIndicatorImageRgns() { Rebuild(); }

void TSegmentIndicator::GetIndicatorRgn() {
  if (parentWidget() == nullptr) {
    clearMask();
    return;
  }
  const FacePlacement placement{face_.indicatorWidth, face_.indicatorHeight, face_.indicatorAngle, width(), height()};
  setMask(PolygonRegion(IndicatorWindowPolygon(placement)));
}

void TSegmentIndicator::PostNeedRepaint() {
  if (repaintPosted_) return;
  repaintPosted_ = true;
  QCoreApplication::postEvent(this, new QEvent(kNeedRepaintEvent));
}

void TSegmentIndicator::ResizeToTurnedFace(bool renderAfter) {
  // What the control covered before is repainted on the parent: it may shrink or, turned,
  // change shape.
  const QRegion before = (mask().isEmpty() ? QRegion(rect()) : mask()).translated(pos());
  resize(TurnedFaceSize(face_.indicatorWidth, face_.indicatorHeight, face_.indicatorAngle));
  if (renderAfter) GetIndicatorRgn();
  if (QWidget* parent = parentWidget()) parent->update(before);
  if (renderAfter) Render();
  if (QWidget* parent = parentWidget()) parent->update();
  if (renderAfter) update();
}

void TSegmentIndicator::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const double a = face_.indicatorAngle * std::numbers::pi / 1800.0;
  if (std::abs(std::sin(a)) < kRightAngleEpsilon) {
    // Upright or upside down: the control's size is the face.
    face_.indicatorHeight = height();
    face_.indicatorWidth = width();
    GetIndicatorRgn();
    PostNeedRepaint();
  } else if (std::abs(std::cos(a)) < kRightAngleEpsilon) {
    // On its side: the control's width is the face's height.
    face_.indicatorHeight = width();
    face_.indicatorWidth = height();
    GetIndicatorRgn();
    Rebuild();
  } else {
    // At any other angle the face keeps its size and the control snaps back around it.
    ResizeToTurnedFace(false);
    PostNeedRepaint();
  }
}

void TSegmentIndicator::enterEvent(QEnterEvent* event) {
  face_.mouseInside = true;
  PostNeedRepaint();
  QWidget::enterEvent(event);
  if (onMouseEnter) onMouseEnter(this);
}

void TSegmentIndicator::leaveEvent(QEvent* event) {
  face_.mouseInside = false;
  PostNeedRepaint();
  QWidget::leaveEvent(event);
  if (onMouseExit) onMouseExit(this);
}

bool TSegmentIndicator::event(QEvent* event) {
  if (event->type() == kNeedRepaintEvent) {
    repaintPosted_ = false;
    Rebuild();
    return true;
  }
  return QWidget::event(event);
}

void TSegmentIndicator::paintEvent(QPaintEvent*) {
  // A resize whose repaint is still on its way must not show a face of the old size.
  if (rendered_.image.size() != size()) Render();
  if (rendered_.image.isNull()) return;
  QPainter painter(this);
  if (rendered_.paintRgn) painter.setClipRegion(*rendered_.paintRgn);
  painter.drawImage(0, 0, rendered_.image);
}

}  // namespace controls
