// TConfigViewForm: what each control of the settings step does to the record and the preview.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <functional>
#include <tuple>

#include "controls/analog_meter.h"
#include "controls/bar_meter.h"
#include "controls/dial_gauge.h"
#include "controls/digit_display.h"
#include "controls/segment_indicator.h"
#include "controls/tcolor.h"
#include "display/wizard/color_circle.h"
#include "display/wizard/config_view_form.h"
#include "ui/radio_group.h"
#include "display/wizard/range_rules.h"
#include "display/wizard/up_down.h"
#include "qcustomplot.h"
#include "ui/color_chooser.h"

using controls::TDialGauge;
using wizard::RangePair;
using wizard::UpDownLimits;

namespace {

UpDownLimits LimitsOf(const wizard::TUpDown* upDown) { return {upDown->Min(), upDown->Max()}; }

void SetOption(TDialGauge* gauge, TDialGauge::TFaceOption option, bool on) {
  TDialGauge::TFaceOptions options = gauge->FaceOptions();
  if (on) {
    options |= TDialGauge::Option(option);
  } else {
    options &= static_cast<TDialGauge::TFaceOptions>(~TDialGauge::Option(option));
  }
  gauge->SetFFaceOptions(options);
}

constexpr int kMeterAngleForBottomCaption = 240;

}  // namespace

void TConfigViewForm::ConnectHandlers() {
  connect(howRadioGroup_, &ui::TRadioGroup::Clicked, this, [this](int) { SelectKind(); });
  connect(nextBitBtn_, &QPushButton::clicked, this, &TConfigViewForm::NextClick);
  connect(backBitBtn_, &QPushButton::clicked, this, &TConfigViewForm::BackClick);
  connect(closeBitBtn_, &QPushButton::clicked, this, &TConfigViewForm::FinishClick);
  connect(cancelBitBtn_, &QPushButton::clicked, this, &TConfigViewForm::CancelClick);
  connect(timer_, &QTimer::timeout, this, &TConfigViewForm::TimerTimer);
  connect(whichDeviceComboBox_, &QComboBox::activated, this, [this](int) { WhichDeviceChange(); });
  connect(whatRadioGroup_, &ui::TRadioGroup::Clicked, this, &TConfigViewForm::WhatClick);
  connect(allListView_, &QListWidget::currentRowChanged, this, &TConfigViewForm::AllListClick);
  connect(selectedListView_, &QListWidget::currentRowChanged, this, &TConfigViewForm::SelectedListClick);
  connect(allListView_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { AllListClick(allListView_->row(item)); });
  connect(selectedListView_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { SelectedListClick(selectedListView_->row(item)); });
  connect(selButton_, &QPushButton::clicked, this, &TConfigViewForm::SelClick);
  connect(unselButton_, &QPushButton::clicked, this, &TConfigViewForm::UnselClick);
  connect(clearSelButton_, &QPushButton::clicked, this, &TConfigViewForm::ClearSelClick);
  connect(chartPageControl_, &QTabWidget::currentChanged, this, [this](int) { BuildColorList(); });
  ConnectRanges();
  ConnectKindHandlers();
}

void TConfigViewForm::ConnectRanges() {
  // Each edit with arrows: the arrows give a new position at once; a typed text counts when
  // the edit is left, a text that is no number gives the field's value back.
  auto family = [this](wizard::TUpDown* upDown, std::function<void(int32_t)> changed) {
    QLineEdit* edit = upDown->Associate();
    connect(upDown, &wizard::TUpDown::Stepped, this, [changed](int n) { changed(n); });
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, upDown, changed] {
      const std::optional<int32_t> v = wizard::TypedPosition(edit->text().toStdString(), LimitsOf(upDown));
      if (!v) {
        upDown->SetPosition(upDown->Position());
        NoteRefusedInput();
        return;
      }
      changed(*v);
    });
  };
  // Each pair of range ends, minimum first.
  const std::tuple<wizard::TUpDown*, wizard::TUpDown*, void (TConfigViewForm::*)(bool, int32_t)> ranges[] = {
      {chartMinValUpDown_, chartMaxValUpDown_, &TConfigViewForm::ChartRangeChanged},
      {meterMinUpDown_, meterMaxUpDown_, &TConfigViewForm::BarRangeChanged},
      {minGaugeValUpDown_, maxGaugeValUpDown_, &TConfigViewForm::GaugeRangeChanged},
      {minAMeterUpDown_, maxAMeterUpDown_, &TConfigViewForm::AMeterRangeChanged},
  };
  for (const auto& [minUpDown, maxUpDown, changed] : ranges) {
    family(minUpDown, [this, changed](int32_t n) { (this->*changed)(true, n); });
    family(maxUpDown, [this, changed](int32_t n) { (this->*changed)(false, n); });
  }
  family(lineThicknessUpDown_, [this](int32_t n) { LineWidthChanged(n); });
  family(lowIndUpDown_, [this](int32_t n) { LowZoneChanged(n); });
  family(highIndUpDown_, [this](int32_t n) { HighZoneChanged(n); });

  // Digit and segment counts: checked when the edit is left and after each arrow step.
  connect(lcdDigNumberEdit_, &QLineEdit::editingFinished, this, [this] { LcdDigitsRule(true); });
  connect(lcdDigNumberUpDown_, &wizard::TUpDown::Stepped, this, [this](int) { LcdDigitsRule(false); });
  connect(ledDigNumberEdit_, &QLineEdit::editingFinished, this, [this] { LedDigitsRule(true); });
  connect(ledDigNumberUpDown_, &wizard::TUpDown::Stepped, this, [this](int) { LedDigitsRule(false); });
  connect(ledThickEdit_, &QLineEdit::editingFinished, this, [this] { LedSegmentRule(true); });
  connect(ledThickUpDown_, &wizard::TUpDown::Stepped, this, [this](int) { LedSegmentRule(false); });
  connect(timeDisplayedMaskEdit_, &QLineEdit::editingFinished, this, &TConfigViewForm::PeriodExit);
}

void TConfigViewForm::ConnectKindHandlers() {
  connect(autoScaleYCheckBox_, &QCheckBox::toggled, this, [this] {
    AutoScaleClick();
    ChartSettings s = config_.Chart();
    s.autoY = autoScaleYCheckBox_->isChecked();
    if (!loading_) config_.SetChart(s);
  });
  connect(ref1CheckBox_, &QCheckBox::toggled, this, [this] { RefClick(1); });
  connect(ref2CheckBox_, &QCheckBox::toggled, this, [this] { RefClick(2); });
  for (QCheckBox* box : {gaugeHighCheckBox_, gaugeMediumCheckBox_, gaugeLowCheckBox_, gaugeCenterCheckBox_}) {
    connect(box, &QCheckBox::toggled, this, &TConfigViewForm::GaugeZoneClick);
  }
  auto spin = [this](QSpinBox* box, std::function<void(int)> handler) {
    connect(box, &QSpinBox::valueChanged, this, std::move(handler));
  };
  spin(gaugeAngleCSpinEdit_, [this](int v) {
    DialSettings s = config_.Dial();
    s.angle = static_cast<uint16_t>(v);
    config_.SetDial(s);
    analogGauge_->SetFScaleAngle(v);
  });
  spin(indicationCSpinEdit_, [this](int v) {
    DialSettings s = config_.Dial();
    s.mainTicks = static_cast<int16_t>(v - 1);
    config_.SetDial(s);
    analogGauge_->SetFNumMainTicks(v - 1);
  });
  spin(gaugeHighCSpinEdit_, [this](int) { GaugeHighSpinChange(); });
  spin(gaugeLowCSpinEdit_, [this](int) { GaugeLowSpinChange(); });
  spin(incrementCSpinEdit_, [this](int v) {
    BarSettings s = config_.Bar();
    s.increment = v;
    config_.SetBar(s);
    meter_->SetIncrement(v);
  });
  spin(barThicknessCSpinEdit_, [this](int v) {
    BarSettings s = config_.Bar();
    s.thickness = static_cast<uint16_t>(v);
    config_.SetBar(s);
    meter_->SetBarThickness(v);
  });
  connect(showMarkerCheckBox_, &QCheckBox::toggled, this, &TConfigViewForm::ShowMarkerClick);
  connect(showIncsCheckBox_, &QCheckBox::toggled, this, &TConfigViewForm::ShowIncsClick);
  spin(angleCSpinEdit_, [this](int) { AngleSpinChange(); });
  spin(ticksCSpinEdit_, [this](int v) {
    MeterSettings s = config_.Meter();
    s.tickCount = static_cast<uint16_t>(v);
    config_.SetMeter(s);
    analogMeter_->SetTickCount(v);
  });
  connect(showZonesCheckBox_, &QCheckBox::toggled, this, &TConfigViewForm::ShowZonesClick);
  connect(logScaleCheckBox_, &QCheckBox::toggled, this, &TConfigViewForm::LogScaleClick);
  for (const auto& [button, circle] : kindColorButtons_) {
    QPushButton* b = button;
    connect(b, &QPushButton::clicked, this, [this, b] { KindColorClick(b); });
  }
  connect(colorButton_, &QPushButton::clicked, this, [this] { ChartColorClick(false); });
  connect(backColorButton_, &QPushButton::clicked, this, [this] { ChartColorClick(true); });
}

// --- Range families ------------------------------------------------------------------------

std::optional<RangePair> TConfigViewForm::MoveRangeEnd(RangePair old, int32_t n, bool isMin, wizard::TUpDown* minUpDown,
                                                        wizard::TUpDown* maxUpDown) {
  const auto r = isMin ? wizard::WithNewMinimum(old, n, LimitsOf(maxUpDown))
                       : wizard::WithNewMaximum(old, n, LimitsOf(minUpDown));
  if (!r) {
    if (isMin) {
      minUpDown->SetPosition(old.min);
    } else {
      maxUpDown->SetPosition(old.max);
    }
    NoteRefusedInput();
    return std::nullopt;
  }
  minUpDown->SetPosition(r->min);
  maxUpDown->SetPosition(r->max);
  walk_.SetRange(r->min, r->max);
  return r;
}

void TConfigViewForm::ChartRangeChanged(bool isMin, int32_t n) {
  ChartSettings s = config_.Chart();
  const auto r = MoveRangeEnd({s.yMin, s.yMax}, n, isMin, chartMinValUpDown_, chartMaxValUpDown_);
  if (!r) return;
  s.yMin = r->min;
  s.yMax = r->max;
  config_.SetChart(s);
  chart_->yAxis->setRange(r->min, r->max);
  chart_->replot();
}

void TConfigViewForm::LineWidthChanged(int32_t n) {
  ChartSettings s = config_.Chart();
  s.lineWidth = n;
  config_.SetChart(s);
  lineThicknessUpDown_->SetPosition(n);
  ApplyPreviewLineWidth();
}

void TConfigViewForm::BarRangeChanged(bool isMin, int32_t n) {
  BarSettings s = config_.Bar();
  const auto r = MoveRangeEnd({s.min, s.max}, n, isMin, meterMinUpDown_, meterMaxUpDown_);
  if (!r) return;
  s.min = r->min;
  s.max = r->max;
  config_.SetBar(s);
  meter_->SetRange(r->min, r->max);
}

void TConfigViewForm::GaugeRangeChanged(bool isMin, int32_t n) {
  DialSettings s = config_.Dial();
  const auto r = MoveRangeEnd({s.min, s.max}, n, isMin, minGaugeValUpDown_, maxGaugeValUpDown_);
  if (!r) return;
  s.min = r->min;
  s.max = r->max;
  config_.SetDial(s);
  analogGauge_->SetRange(r->min, r->max);
  // The gauge moves its thresholds into a new range on its own; both go back to what the
  // spins show, in the order a window's gauge takes them, so the example draws its zones as
  // the window will.
  analogGauge_->SetFMaximum(s.highThreshold);
  analogGauge_->SetFMinimum(s.lowThreshold);
  // A zone whose threshold the new end passed is switched off.
  const wizard::DialZonesOff off = isMin ? wizard::DialZonesAfterMinimum(r->min, s.lowThreshold, s.highThreshold)
                                         : wizard::DialZonesAfterMaximum(r->max, s.lowThreshold, s.highThreshold);
  if (isMin ? off.low : off.high) {
    (isMin ? gaugeLowCheckBox_ : gaugeHighCheckBox_)->setChecked(false);
    if (off.mid) gaugeMediumCheckBox_->setChecked(false);
  }
}

void TConfigViewForm::AMeterRangeChanged(bool isMin, int32_t n) {
  MeterSettings s = config_.Meter();
  const auto r = MoveRangeEnd({s.min, s.max}, n, isMin, minAMeterUpDown_, maxAMeterUpDown_);
  if (!r) return;
  s.min = r->min;
  s.max = r->max;
  config_.SetMeter(s);
  analogMeter_->SetRange(static_cast<float>(r->min), static_cast<float>(r->max));
  ApplyMeterZones();
}

void TConfigViewForm::ApplyMeterZones() {
  // Zone values are in the meter's own units, so their arrows follow its range; the low zone
  // stays below the high one. The positions the arrows keep are what the record stores.
  const int min = minAMeterUpDown_->Position();
  const int max = maxAMeterUpDown_->Position();
  lowIndUpDown_->SetRange(min, std::max(min, max - 1));
  highIndUpDown_->SetRange(std::min(max, min + 1), max);
  lowIndUpDown_->SetMax(std::max(min, highIndUpDown_->Position() - 1));
  highIndUpDown_->SetMin(std::min(max, lowIndUpDown_->Position() + 1));
  lowIndUpDown_->SetPosition(lowIndUpDown_->Position());
  highIndUpDown_->SetPosition(highIndUpDown_->Position());
  MeterSettings s = config_.Meter();
  s.lowZone = lowIndUpDown_->Position();
  s.highZone = highIndUpDown_->Position();
  if (!loading_) config_.SetMeter(s);
  analogMeter_->SetLowZoneValue(static_cast<float>(s.lowZone));
  analogMeter_->SetHighZoneValue(static_cast<float>(s.highZone));
}

void TConfigViewForm::LowZoneChanged(int32_t n) {
  lowIndUpDown_->SetPosition(n);
  MeterSettings s = config_.Meter();
  s.lowZone = lowIndUpDown_->Position();
  config_.SetMeter(s);
  analogMeter_->SetLowZoneValue(static_cast<float>(s.lowZone));
  highIndUpDown_->SetMin(std::min(highIndUpDown_->Max(), s.lowZone + 1));
}

void TConfigViewForm::HighZoneChanged(int32_t n) {
  highIndUpDown_->SetPosition(n);
  MeterSettings s = config_.Meter();
  s.highZone = highIndUpDown_->Position();
  config_.SetMeter(s);
  analogMeter_->SetHighZoneValue(static_cast<float>(s.highZone));
  lowIndUpDown_->SetMax(std::max(lowIndUpDown_->Min(), s.highZone - 1));
}

// --- Digit and segment counts ----------------------------------------------------------------

void TConfigViewForm::LcdDigitsRule(bool leaving) {
  const auto digits = wizard::ParseCount(lcdDigNumberEdit_->text().toStdString(), LimitsOf(lcdDigNumberUpDown_));
  if (!digits) {
    lcdDigNumberEdit_->setText(QString::number(liqCrystal_->SignNumber()));
    lcdDigNumberEdit_->setFocus();
    NoteRefusedInput();
    return;
  }
  LcdSettings s = config_.Lcd();
  s.digits = static_cast<uint16_t>(*digits);
  config_.SetLcd(s);
  liqCrystal_->SETSignNumber(*digits);
  SetPreviewRange(*digits);
  PlaceLcdPreview(*digits);
  if (leaving) lcdDigNumberUpDown_->SetPosition(*digits);
}

void TConfigViewForm::LedDigitsRule(bool leaving) {
  const auto digits = wizard::ParseCount(ledDigNumberEdit_->text().toStdString(), LimitsOf(ledDigNumberUpDown_));
  if (!digits) {
    ledDigNumberEdit_->setText(QString::number(ledLcd_->DigitNum()));
    ledDigNumberEdit_->setFocus();
    NoteRefusedInput();
    return;
  }
  LedSettings s = config_.Led();
  s.digits = static_cast<int16_t>(*digits);
  config_.SetLed(s);
  ledLcd_->SetDigitNum(*digits);
  SetPreviewRange(*digits);
  PlaceLedPreview(*digits);
  if (leaving) ledDigNumberUpDown_->SetPosition(*digits);
}

void TConfigViewForm::LedSegmentRule(bool leaving) {
  const auto size = wizard::ParseCount(ledThickEdit_->text().toStdString(), LimitsOf(ledThickUpDown_));
  if (!size) {
    ledThickEdit_->setText(QString::number(ledLcd_->SegmentSize()));
    ledThickEdit_->setFocus();
    NoteRefusedInput();
    return;
  }
  LedSettings s = config_.Led();
  s.segmentSize = static_cast<int16_t>(*size);
  config_.SetLed(s);
  ledLcd_->SetSegmentSize(*size);
  if (leaving) ledThickUpDown_->SetPosition(*size);
}

// --- Chart settings --------------------------------------------------------------------------

void TConfigViewForm::PeriodExit() {
  const auto period = wizard::ParsePeriod(timeDisplayedMaskEdit_->displayText().toStdString());
  if (!period) {
    ShowMessage(QString::fromUtf8("Período inválido!"));
    NoteRefusedInput();  // after the message: its own event loop would clear the note
    return;
  }
  visiblePeriod_ = *period;
  ChartSettings s = config_.Chart();
  s.visiblePeriod = visiblePeriod_;
  config_.SetChart(s);
  SetPreviewAxisRange();
}

void TConfigViewForm::AutoScaleClick() {
  const bool manual = !autoScaleYCheckBox_->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{
           findChild<QLabel*>(QStringLiteral("MinValLabel")), findChild<QLabel*>(QStringLiteral("MaxValLabel")),
           chartMinValUpDown_->Associate(), chartMinValUpDown_, chartMaxValUpDown_->Associate(), chartMaxValUpDown_}) {
    if (w != nullptr) w->setEnabled(manual);
  }
}

void TConfigViewForm::RefClick(int which) {
  QCheckBox* box = which == 1 ? ref1CheckBox_ : ref2CheckBox_;
  QSpinBox* value = which == 1 ? ref1ValCSpinEdit_ : ref2ValCSpinEdit_;
  value->setEnabled(box->isChecked());
  if (box->isChecked()) {
    CreateReferenceSeries(which);
  } else {
    DeleteReferenceSeries(which);
  }
}

// --- Dial gauge ------------------------------------------------------------------------------

void TConfigViewForm::GaugeZoneClick() {
  DialSettings s = config_.Dial();
  s.highOn = gaugeHighCheckBox_->isChecked();
  s.midOn = gaugeMediumCheckBox_->isChecked();
  s.lowOn = gaugeLowCheckBox_->isChecked();
  s.centerOn = gaugeCenterCheckBox_->isChecked();
  if (!loading_) config_.SetDial(s);
  SetOption(analogGauge_, TDialGauge::ShowIndicatorMax, s.highOn);
  SetOption(analogGauge_, TDialGauge::ShowIndicatorMid, s.midOn);
  SetOption(analogGauge_, TDialGauge::ShowIndicatorMin, s.lowOn);
  SetOption(analogGauge_, TDialGauge::ShowCenter, s.centerOn);
  const std::pair<const char*, bool> buttons[] = {{"GaugeHighColorButton", s.highOn},
                                                  {"GaugeMediumColorButton", s.midOn},
                                                  {"GaugeLowColorButton", s.lowOn},
                                                  {"GaugeCenterColorButton", s.centerOn}};
  for (auto [name, on] : buttons) {
    if (auto* b = findChild<QPushButton*>(QLatin1String(name))) b->setEnabled(on);
  }
}

void TConfigViewForm::GaugeHighSpinChange() {
  analogGauge_->SetFMaximum(gaugeHighCSpinEdit_->value());
  gaugeHighCSpinEdit_->setValue(analogGauge_->IndMaximum());
  DialSettings s = config_.Dial();
  s.highThreshold = gaugeHighCSpinEdit_->value();
  config_.SetDial(s);
  gaugeLowCSpinEdit_->setMaximum(s.highThreshold - 1);
}

void TConfigViewForm::GaugeLowSpinChange() {
  analogGauge_->SetFMinimum(gaugeLowCSpinEdit_->value());
  gaugeLowCSpinEdit_->setValue(analogGauge_->IndMinimum());
  DialSettings s = config_.Dial();
  s.lowThreshold = gaugeLowCSpinEdit_->value();
  config_.SetDial(s);
  gaugeHighCSpinEdit_->setMinimum(s.lowThreshold + 1);
}

// --- Bar -------------------------------------------------------------------------------------

void TConfigViewForm::ShowMarkerClick() {
  BarSettings s = config_.Bar();
  s.showMarker = showMarkerCheckBox_->isChecked();
  if (!loading_) config_.SetBar(s);
  meter_->SetShowMarker(s.showMarker);
  if (auto* b = findChild<QPushButton*>(QStringLiteral("MeterMarkerButton"))) b->setEnabled(s.showMarker);
}

void TConfigViewForm::ShowIncsClick() {
  BarSettings s = config_.Bar();
  s.showIncrements = showIncsCheckBox_->isChecked();
  if (!loading_) config_.SetBar(s);
  meter_->SetShowIncrements(s.showIncrements);
  incrementLabel_->setEnabled(s.showIncrements);
  incrementCSpinEdit_->setEnabled(s.showIncrements);
}

// --- Analog meter ----------------------------------------------------------------------------

void TConfigViewForm::AngleSpinChange() {
  MeterSettings s = config_.Meter();
  s.angle = static_cast<uint16_t>(angleCSpinEdit_->value());
  config_.SetMeter(s);
  analogMeter_->SetAngularRange(s.angle);
  if (s.angle >= kMeterAngleForBottomCaption) {
    analogMeter_->SetCaptionPosition(controls::TAnalogMeter::cpBottom);
    analogMeter_->SetCaptionVAdj(-10);
  } else {
    analogMeter_->SetCaptionPosition(controls::TAnalogMeter::cpTop);
    analogMeter_->SetCaptionVAdj(15);
  }
}

void TConfigViewForm::ShowZonesClick() {
  MeterSettings s = config_.Meter();
  s.showZones = showZonesCheckBox_->isChecked();
  if (!loading_) config_.SetMeter(s);
  analogMeter_->SetShowZones(s.showZones);
  for (QWidget* w : std::initializer_list<QWidget*>{
           findChild<QPushButton*>(QStringLiteral("LowZoneButton")),
           findChild<QPushButton*>(QStringLiteral("HighZoneButton")), lowIndUpDown_->Associate(), lowIndUpDown_, highIndUpDown_->Associate(),
           highIndUpDown_}) {
    if (w != nullptr) w->setEnabled(s.showZones);
  }
}

void TConfigViewForm::LogScaleClick() {
  MeterSettings s = config_.Meter();
  s.logScale = logScaleCheckBox_->isChecked();
  if (!loading_) config_.SetMeter(s);
  analogMeter_->SetLogScale(s.logScale);
  if (s.logScale && minAMeterUpDown_->Position() < 1 && !loading_) AMeterRangeChanged(true, 1);
}

// --- Colours ---------------------------------------------------------------------------------

std::optional<uint32_t> TConfigViewForm::ChooseColor(uint32_t initial) {
  std::optional<QColor> chosen;
  if (services_.colors != nullptr) {
    chosen = services_.colors->Choose(this, draw::ToQColor(initial));
  } else {
    ui::QtColorChooser dialog;
    chosen = dialog.Choose(this, draw::ToQColor(initial));
  }
  if (!chosen) return std::nullopt;
  return draw::FromQColor(*chosen);
}

void TConfigViewForm::KindColorClick(QPushButton* button) {
  wizard::TColorCircle* circle = nullptr;
  for (const auto& [b, c] : kindColorButtons_) {
    if (b == button) circle = c;
  }
  if (circle == nullptr) return;
  const std::optional<uint32_t> color = ChooseColor(circle->Color());
  if (!color) return;
  circle->SetColor(*color);
  const uint32_t c = *color;
  const QString name = button->objectName();
  auto is = [&name](const char* n) { return name == QLatin1String(n); };
  if (is("Lcd1ColorButton") || is("Lcd2ColorButton") || is("Lcd3ColorButton")) {
    LcdSettings s = config_.Lcd();
    if (is("Lcd1ColorButton")) liqCrystal_->SETNumberForeColor(s.onColor = c);
    if (is("Lcd2ColorButton")) liqCrystal_->SETNumberBackColor(s.offColor = c);
    if (is("Lcd3ColorButton")) liqCrystal_->SETBackColor(s.backColor = c);
    config_.SetLcd(s);
  } else if (is("Led1ColorButton") || is("Led2ColorButton") || is("Led3ColorButton")) {
    LedSettings s = config_.Led();
    if (is("Led1ColorButton")) ledLcd_->SetOnColor(s.onColor = c);
    if (is("Led2ColorButton")) ledLcd_->SetOffColor(s.offColor = c);
    if (is("Led3ColorButton")) ledLcd_->SetColor(s.backColor = c);
    config_.SetLed(s);
  } else if (name.startsWith(QLatin1String("Meter"))) {
    BarSettings s = config_.Bar();
    if (is("MeterForeButton")) meter_->SetColorFore(s.barColor = c);
    if (is("MeterBackButton")) meter_->SetColor(s.backColor = c);
    if (is("MeterBackBarButton")) meter_->SetColorBack(s.barBackColor = c);
    if (is("MeterMarkerButton")) meter_->SetMarkerColor(s.markerColor = c);
    config_.SetBar(s);
  } else if (name.startsWith(QLatin1String("Gauge"))) {
    DialSettings s = config_.Dial();
    if (is("GaugeNeedleColorButton")) analogGauge_->SetFArrowColor(s.needleColor = c);
    if (is("GaugeBackColorButton")) analogGauge_->SetFFaceColor(s.faceColor = c);
    if (is("GaugeTextColorButton")) {
      analogGauge_->SetFCaptionColor(s.textColor = c);
      analogGauge_->SetFValueColor(c);
    }
    if (is("GaugeCenterColorButton")) analogGauge_->SetFCenterColor(s.centerColor = c);
    if (is("GaugeLowColorButton")) analogGauge_->SetFMinColor(s.lowColor = c);
    if (is("GaugeMediumColorButton")) analogGauge_->SetFMidColor(s.midColor = c);
    if (is("GaugeHighColorButton")) analogGauge_->SetFMaxColor(s.highColor = c);
    config_.SetDial(s);
  } else {
    MeterSettings s = config_.Meter();
    if (is("TextButton")) {
      analogMeter_->SetTickColor(s.textColor = c);
      analogMeter_->SetFontColor(c);
    }
    if (is("BackgroundButton")) analogMeter_->SetColor(s.backColor = c);
    if (is("LowZoneButton")) analogMeter_->SetLowZoneColor(s.lowColor = c);
    if (is("MidZoneButton")) analogMeter_->SetOKZoneColor(s.midColor = c);
    if (is("HighZoneButton")) analogMeter_->SetHighZoneColor(s.highColor = c);
    config_.SetMeter(s);
  }
}

void TConfigViewForm::ChartColorClick(bool back) {
  wizard::TColorCircle* circle = back ? backColorShape_ : colorShape_;
  const std::optional<uint32_t> color = ChooseColor(circle->Color());
  if (!color) return;
  circle->SetColor(*color);
  ChartSettings s = config_.Chart();
  if (back) {
    s.backColor = *color;
    chart_->axisRect()->setBackground(QBrush(draw::ToQColor(*color)));
  } else {
    s.chartColor = *color;
    chart_->setBackground(QBrush(draw::ToQColor(*color)));
  }
  config_.SetChart(s);
  chart_->replot();
}
