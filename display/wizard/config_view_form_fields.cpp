// TConfigViewForm: the record's fields into the kinds' controls and preview elements, and back.
#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <cmath>

#include "controls/analog_meter.h"
#include "controls/bar_meter.h"
#include "controls/dial_gauge.h"
#include "controls/digit_display.h"
#include "controls/segment_indicator.h"
#include "display/element_setup.h"
#include "display/wizard/color_circle.h"
#include "display/wizard/config_view_form.h"
#include "display/wizard/range_rules.h"
#include "display/wizard/up_down.h"
#include "platform/qt_text.h"
#include "qcustomplot.h"



wizard::TColorCircle* TConfigViewForm::CircleOf(const char* buttonName) const {
  for (const auto& [button, circle] : kindColorButtons_) {
    if (button->objectName() == QLatin1String(buttonName)) return circle;
  }
  return nullptr;
}

void TConfigViewForm::LoadControls() {
  loading_ = true;
  LoadKindControls();
  loading_ = false;
}

void TConfigViewForm::LoadKindControls() {
  switch (config_.kind) {
    case DisplayKind::Chart: {
      const ChartSettings s = config_.Chart();
      DeleteSeries();
      std::vector<uint32_t> colors;
      for (const ChartChannelEntry& e : config_.chartChannels) colors.push_back(e.color);
      lists_.SetPendingColors(std::move(colors));
      autoScaleYCheckBox_->setChecked(s.autoY);
      AutoScaleClick();
      chart_->yAxis->setRange(s.yMin, s.yMax);
      chartMaxValUpDown_->SetPosition(s.yMax);
      chartMinValUpDown_->SetPosition(s.yMin);
      walk_.SetRange(s.yMin, s.yMax);
      visiblePeriod_ = s.visiblePeriod;
      timeDisplayedMaskEdit_->setText(QString::fromLatin1(wizard::PeriodText(visiblePeriod_)));
      colorShape_->SetColor(s.chartColor);
      backColorShape_->SetColor(s.backColor);
      chart_->setBackground(QBrush(draw::ToQColor(s.chartColor)));
      chart_->axisRect()->setBackground(QBrush(draw::ToQColor(s.backColor)));
      // The colours first: ticking a box makes its line in the preview with them.
      refColor1_ = s.ref1Color;
      refColor2_ = s.ref2Color;
      ref1ValCSpinEdit_->setValue(s.ref1Value);
      ref2ValCSpinEdit_->setValue(s.ref2Value);
      ref1CheckBox_->setChecked(false);
      ref1CheckBox_->setChecked(s.ref1On);
      ref2CheckBox_->setChecked(false);
      ref2CheckBox_->setChecked(s.ref2On);
      lineThicknessUpDown_->SetPosition(s.lineWidth);
      ApplyPreviewLineWidth();
      chart_->replot();
      break;
    }
    case DisplayKind::LcdIndicator: {
      const LcdSettings s = config_.Lcd();
      display_setup::SetUpLcd(*liqCrystal_, s);
      CircleOf("Lcd1ColorButton")->SetColor(s.onColor);
      CircleOf("Lcd2ColorButton")->SetColor(s.offColor);
      CircleOf("Lcd3ColorButton")->SetColor(s.backColor);
      lcdDigNumberUpDown_->SetPosition(s.digits);
      lcdDigNumberEdit_->setText(QString::number(s.digits));
      LcdDigitsRule(false);
      break;
    }
    case DisplayKind::LedDigits: {
      const LedSettings s = config_.Led();
      display_setup::SetUpLed(*ledLcd_, s);
      CircleOf("Led1ColorButton")->SetColor(s.onColor);
      CircleOf("Led2ColorButton")->SetColor(s.offColor);
      CircleOf("Led3ColorButton")->SetColor(s.backColor);
      ledThickUpDown_->SetPosition(s.segmentSize);
      ledThickEdit_->setText(QString::number(s.segmentSize));
      LedSegmentRule(false);
      ledDigNumberUpDown_->SetPosition(s.digits);
      ledDigNumberEdit_->setText(QString::number(s.digits));
      LedDigitsRule(false);
      break;
    }
    case DisplayKind::BarMeter: {
      const BarSettings s = config_.Bar();
      display_setup::SetUpBar(*meter_, s);
      showIncsCheckBox_->setChecked(s.showIncrements);
      showMarkerCheckBox_->setChecked(s.showMarker);
      ShowIncsClick();
      ShowMarkerClick();
      incrementCSpinEdit_->setValue(s.increment);
      meterMinUpDown_->SetPosition(s.min);
      meterMaxUpDown_->SetPosition(s.max);
      walk_.SetRange(s.min, s.max);
      CircleOf("MeterForeButton")->SetColor(s.barColor);
      CircleOf("MeterBackBarButton")->SetColor(s.barBackColor);
      CircleOf("MeterBackButton")->SetColor(s.backColor);
      CircleOf("MeterMarkerButton")->SetColor(s.markerColor);
      barThicknessCSpinEdit_->setValue(s.thickness);
      break;
    }
    case DisplayKind::DialGauge: {
      const DialSettings s = config_.Dial();
      display_setup::SetUpDial(*analogGauge_, s);
      gaugeAngleCSpinEdit_->setValue(analogGauge_->Angle());
      indicationCSpinEdit_->setValue(analogGauge_->NumberMainTicks() + 1);
      minGaugeValUpDown_->SetPosition(s.min);
      maxGaugeValUpDown_->SetPosition(s.max);
      walk_.SetRange(s.min, s.max);
      gaugeHighCheckBox_->setChecked(s.highOn);
      gaugeMediumCheckBox_->setChecked(s.midOn);
      gaugeLowCheckBox_->setChecked(s.lowOn);
      gaugeCenterCheckBox_->setChecked(s.centerOn);
      GaugeZoneClick();
      gaugeHighCSpinEdit_->setValue(s.highThreshold);
      gaugeLowCSpinEdit_->setValue(s.lowThreshold);
      analogGauge_->SetFMaximum(s.highThreshold);
      analogGauge_->SetFMinimum(s.lowThreshold);
      const std::pair<const char*, uint32_t> colors[] = {
          {"GaugeNeedleColorButton", s.needleColor}, {"GaugeBackColorButton", s.faceColor},
          {"GaugeTextColorButton", s.textColor},     {"GaugeCenterColorButton", s.centerColor},
          {"GaugeLowColorButton", s.lowColor},       {"GaugeMediumColorButton", s.midColor},
          {"GaugeHighColorButton", s.highColor}};
      for (auto [name, color] : colors) CircleOf(name)->SetColor(color);
      break;
    }
    case DisplayKind::AnalogMeter: {
      const MeterSettings s = config_.Meter();
      display_setup::SetUpMeter(*analogMeter_, s);
      angleCSpinEdit_->setValue(analogMeter_->AngularRange());
      ticksCSpinEdit_->setValue(analogMeter_->TickCount());
      minAMeterUpDown_->SetPosition(s.min);
      maxAMeterUpDown_->SetPosition(s.max);
      walk_.SetRange(s.min, s.max);
      // The zone arrows span the meter's range, so the stored zones fit them.
      ApplyMeterZones();
      lowIndUpDown_->SetPosition(s.lowZone);
      highIndUpDown_->SetPosition(s.highZone);
      lowIndUpDown_->SetMax(highIndUpDown_->Position() - 1);
      highIndUpDown_->SetMin(lowIndUpDown_->Position() + 1);
      analogMeter_->SetHighZoneValue(static_cast<float>(s.highZone));
      analogMeter_->SetLowZoneValue(static_cast<float>(s.lowZone));
      showZonesCheckBox_->setChecked(s.showZones);
      logScaleCheckBox_->setChecked(s.logScale);
      ShowZonesClick();
      const std::pair<const char*, uint32_t> colors[] = {{"TextButton", s.textColor},
                                                         {"BackgroundButton", s.backColor},
                                                         {"LowZoneButton", s.lowColor},
                                                         {"MidZoneButton", s.midColor},
                                                         {"HighZoneButton", s.highColor}};
      for (auto [name, color] : colors) CircleOf(name)->SetColor(color);
      break;
    }
    case DisplayKind::None:
      break;
  }
}

void TConfigViewForm::ReadKindControls(DisplayConfig& config) const {
  switch (config.kind) {
    case DisplayKind::Chart: {
      ChartSettings s = config.Chart();
      config.chartChannels.clear();
      for (const wizard::ChosenChannel& chosen : lists_.Chosen()) {
        ChartChannelEntry e;
        e.color = chosen.color;
        e.name = chosen.item.caption;
        e.deviceSerial = chosen.item.deviceSerial;
        e.valueIndex = chosen.item.valueIndex;
        config.chartChannels.push_back(e);
      }
      s.channelsSelected = !lists_.Chosen().empty();
      s.autoY = autoScaleYCheckBox_->isChecked();
      s.yMax = chartMaxValUpDown_->Position();
      s.yMin = chartMinValUpDown_->Position();
      s.visiblePeriod = visiblePeriod_;
      s.chartColor = colorShape_->Color();
      s.backColor = backColorShape_->Color();
      s.ref1On = ref1CheckBox_->isChecked();
      s.ref2On = ref2CheckBox_->isChecked();
      s.ref1Value = ref1ValCSpinEdit_->value();
      s.ref2Value = ref2ValCSpinEdit_->value();
      s.ref1Color = refColor1_;
      s.ref2Color = refColor2_;
      s.lineWidth = lineThicknessUpDown_->Position();
      config.SetChart(s);
      break;
    }
    case DisplayKind::LcdIndicator: {
      LcdSettings s = config.Lcd();
      s.onColor = liqCrystal_->NumberForeColor();
      s.offColor = liqCrystal_->NumberBackColor();
      s.backColor = liqCrystal_->BackColor();
      s.digits = static_cast<uint16_t>(liqCrystal_->SignNumber());
      config.SetLcd(s);
      break;
    }
    case DisplayKind::LedDigits: {
      LedSettings s = config.Led();
      s.onColor = ledLcd_->OnColor();
      s.offColor = ledLcd_->OffColor();
      s.backColor = ledLcd_->Color();
      s.digits = static_cast<int16_t>(ledLcd_->DigitNum());
      s.segmentSize = static_cast<int16_t>(ledLcd_->SegmentSize());
      config.SetLed(s);
      break;
    }
    case DisplayKind::BarMeter: {
      BarSettings s = config.Bar();
      s.showIncrements = showIncsCheckBox_->isChecked();
      s.showMarker = showMarkerCheckBox_->isChecked();
      s.increment = incrementCSpinEdit_->value();
      s.min = meterMinUpDown_->Position();
      s.max = meterMaxUpDown_->Position();
      s.barColor = meter_->ColorFore();
      s.barBackColor = meter_->ColorBack();
      s.backColor = meter_->Color();
      s.markerColor = meter_->MarkerColor();
      s.thickness = static_cast<uint16_t>(meter_->BarThickness());
      config.SetBar(s);
      break;
    }
    case DisplayKind::DialGauge: {
      DialSettings s = config.Dial();
      s.angle = static_cast<uint16_t>(gaugeAngleCSpinEdit_->value());
      s.mainTicks = static_cast<int16_t>(indicationCSpinEdit_->value() - 1);
      s.min = minGaugeValUpDown_->Position();
      s.max = maxGaugeValUpDown_->Position();
      s.highOn = gaugeHighCheckBox_->isChecked();
      s.midOn = gaugeMediumCheckBox_->isChecked();
      s.lowOn = gaugeLowCheckBox_->isChecked();
      s.centerOn = gaugeCenterCheckBox_->isChecked();
      s.highThreshold = gaugeHighCSpinEdit_->value();
      s.lowThreshold = gaugeLowCSpinEdit_->value();
      s.needleColor = CircleOf("GaugeNeedleColorButton")->Color();
      s.faceColor = CircleOf("GaugeBackColorButton")->Color();
      s.textColor = CircleOf("GaugeTextColorButton")->Color();
      s.centerColor = CircleOf("GaugeCenterColorButton")->Color();
      s.lowColor = CircleOf("GaugeLowColorButton")->Color();
      s.midColor = CircleOf("GaugeMediumColorButton")->Color();
      s.highColor = CircleOf("GaugeHighColorButton")->Color();
      config.SetDial(s);
      break;
    }
    case DisplayKind::AnalogMeter: {
      MeterSettings s = config.Meter();
      s.angle = static_cast<uint16_t>(angleCSpinEdit_->value());
      s.tickCount = static_cast<uint16_t>(ticksCSpinEdit_->value());
      s.min = minAMeterUpDown_->Position();
      s.max = maxAMeterUpDown_->Position();
      s.highZone = highIndUpDown_->Position();
      s.lowZone = lowIndUpDown_->Position();
      s.showZones = showZonesCheckBox_->isChecked();
      s.logScale = logScaleCheckBox_->isChecked();
      s.textColor = CircleOf("TextButton")->Color();
      s.backColor = CircleOf("BackgroundButton")->Color();
      s.lowColor = CircleOf("LowZoneButton")->Color();
      s.midColor = CircleOf("MidZoneButton")->Color();
      s.highColor = CircleOf("HighZoneButton")->Color();
      config.SetMeter(s);
      break;
    }
    case DisplayKind::None:
      break;
  }
}

void TConfigViewForm::ResetChartForNewKind() {
  config_.ResetChart();
  LoadControls();
}

void TConfigViewForm::EnterSettingsStep() {
  switch (config_.kind) {
    case DisplayKind::Chart: {
      const ChartSettings s = config_.Chart();
      colorShape_->SetColor(s.chartColor);
      backColorShape_->SetColor(s.backColor);
      BuildColorList();
      break;
    }
    case DisplayKind::BarMeter: {
      BarSettings s = config_.Bar();
      s.min = meterMinUpDown_->Position();
      s.max = meterMaxUpDown_->Position();
      config_.SetBar(s);
      break;
    }
    case DisplayKind::DialGauge: {
      DialSettings s = config_.Dial();
      s.min = minGaugeValUpDown_->Position();
      s.max = maxGaugeValUpDown_->Position();
      config_.SetDial(s);
      break;
    }
    case DisplayKind::AnalogMeter: {
      MeterSettings s = config_.Meter();
      s.min = minAMeterUpDown_->Position();
      s.max = maxAMeterUpDown_->Position();
      s.highZone = static_cast<int32_t>(std::trunc(analogMeter_->HighZoneValue()));
      s.lowZone = static_cast<int32_t>(std::trunc(analogMeter_->LowZoneValue()));
      config_.SetMeter(s);
      break;
    }
    default:
      break;
  }
}
