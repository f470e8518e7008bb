#pragma once
// A self-drawn segment display: a short text in a row of 7-segment, 9-segment (with colon) or
// 5x7 dot-matrix cells, framed by two bevels, optionally turned by any angle, textured and
// partly transparent. Every property change renders the face into an off-screen image; the
// paint only copies that image. The window is shaped to the turned face.
#include <QImage>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "controls/segment_indicator_render.h"
#include "controls/segment_indicator_types.h"
#include "controls/tcolor.h"

namespace controls {

using TMouseInOutEvent = std::function<void(QObject* sender)>;

class TSegmentIndicator : public QWidget {
  Q_OBJECT

 public:
  explicit TSegmentIndicator(QWidget* parent = nullptr);
  ~TSegmentIndicator() override;

  // The owner calls this once the control sits on its form with all properties read, as a
  // form loader would; until then the cell count, face size, angle and colour scheme are
  // only stored and the face follows the control's size.
  void Loaded();
  bool IsLoaded() const { return isLoaded_; }

  TIAColorScheme ColorScheme() const { return colorScheme_; }
  int SignNumber() const { return face_.signNumber; }
  int IndicatorWidth() const { return face_.indicatorWidth; }
  int IndicatorHeight() const { return face_.indicatorHeight; }
  int IndicatorAngle() const { return face_.indicatorAngle; }
  int IndicatorGap() const { return face_.indicatorGap; }
  QString Indicatorstring() const { return indicatorString_; }
  TIAIndicatorKind IndicatorKind() const { return face_.indicatorKind; }
  TIABevelKind InnerBevel() const { return face_.innerBevel; }
  TIABevelKind OuterBevel() const { return face_.outerBevel; }
  int InnerBevelWidth() const { return face_.innerBevelWidth; }
  int OuterBevelWidth() const { return face_.outerBevelWidth; }
  draw::TColor BevelColor() const { return face_.bevelColor; }
  draw::TColor BackColor() const { return face_.backColor; }
  draw::TColor NumberForeColor() const { return face_.numberForeColor; }
  draw::TColor NumberForeColor1() const { return face_.numberForeColor1; }
  draw::TColor NumberBackColor() const { return face_.numberBackColor; }
  TIAIndicatorStyle IndicatorStyle() const { return face_.indicatorStyle; }
  TIAMouseAction MouseAction() const { return face_.mouseAction; }
  TIATransparentMode TransparentMode() const { return face_.transparentMode; }
  const QImage& BackMaterial() const { return materials_.back; }
  const QImage& ForeMaterial() const { return materials_.fore; }
  TIAMaterialShadowMode MaterialShadowMode() const { return face_.materialShadowMode; }
  TIAMaterialMode MaterialMode() const { return face_.materialMode; }
  TIAMaterialMode ForeMaterialMode() const { return face_.foreMaterialMode; }
  bool MouseInside() const { return face_.mouseInside; }

  // Values a setter does not accept leave the property unchanged.
  virtual void SETSignNumber(int value);       // > 0
  virtual void SETIndicatorWidth(int value);   // > 0
  virtual void SETIndicatorHeight(int value);  // > 0
  virtual void SETIndicatorAngle(int value);
  virtual void SETIndicatorGap(int value);
  virtual void SETIndicatorString(const QString& value);
  virtual void SETIndicatorKind(TIAIndicatorKind value);
  virtual void SETInnerBevel(TIABevelKind value);
  virtual void SETOuterBevel(TIABevelKind value);
  virtual void SETInnerBevelWidth(int value);  // > 0
  virtual void SETOuterBevelWidth(int value);  // > 0
  virtual void SETBevelColor(draw::TColor value);
  virtual void SETBackColor(draw::TColor value);
  virtual void SETNumberForeColor(draw::TColor value);
  virtual void SETNumberForeColor1(draw::TColor value);
  virtual void SETNumberBackColor(draw::TColor value);
  virtual void SETIndicatorStyle(TIAIndicatorStyle value);
  virtual void SETMouseAction(TIAMouseAction value);
  virtual void SETTransparentMode(TIATransparentMode value);
  virtual void SETColorScheme(TIAColorScheme value);
  virtual void SETBackMaterial(const QImage& value);  // copied
  virtual void SETForeMaterial(const QImage& value);  // copied
  virtual void SETMaterialShadowMode(TIAMaterialShadowMode value);
  virtual void SETMaterialMode(TIAMaterialMode value);
  virtual void SETForeMaterialMode(TIAMaterialMode value);

  // Fired after the mouse enters or leaves the control.
  TMouseInOutEvent onMouseEnter;
  TMouseInOutEvent onMouseExit;

  // The rendered face and the lists it was made from, for tools and tests.
  const QImage& ImageBitmap() const { return rendered_.image; }
  const std::optional<QRegion>& PaintRgn() const { return rendered_.paintRgn; }
  const PolyPolygon& LitPoints() const { return rendered_.lit; }
  const PolyPolygon& UnlitPoints() const { return rendered_.unlit; }
  const SegmentMaterials& Materials() const { return materials_; }

  // Renders the face again and repaints.
  void GetIndicatorImageRgns();
  // Shapes the window to the turned face (a control without a parent keeps no shape).
  void GetIndicatorRgn();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  bool Rebuilds() const { return isLoaded_; }
  void Render();
  void Rebuild();
  void PostNeedRepaint();
  // Resizes the control to hold the turned face and repaints what it uncovered on the parent.
  void ResizeToTurnedFace(bool renderAfter);
  template <typename T>
  void Store(T& field, const T& value);

  SegmentFace face_;
  SegmentMaterials materials_;
  RenderedFace rendered_;
  QString indicatorString_;
  TIAColorScheme colorScheme_ = csSilver;
  bool isLoaded_ = false;
  bool repaintPosted_ = false;
};

}  // namespace controls
