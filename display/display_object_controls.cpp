// The five indicator controls of a display element: how each is set up from the
// configuration, placed in the panel, and fed a value.
#include <QFont>
#include <QWidget>
#include <algorithm>
#include <string>

#include "controls/analog_meter.h"
#include "controls/bar_meter.h"
#include "controls/decimal_mark.h"
#include "controls/dial_gauge.h"
#include "controls/digit_display.h"
#include "controls/number_text.h"
#include "controls/segment_indicator.h"
#include "display/display_chart.h"
#include "display/display_object.h"
#include "display/element_setup.h"
#include "platform/qt_text.h"
#include "platform/text_trim.h"

namespace {

// Decimals beyond this only add noise to a 32-bit reading.
constexpr int kMaxDecimals = 15;

constexpr int kFixedPrecision = 15;

int Decimals(const DisplayConfig& c) { return std::clamp<int>(c.decimals, 0, kMaxDecimals); }

QString UnitOf(const DisplayConfig& c) { return platform::FromCp1252(platform::TrimBlanks(c.unit.str())); }

void UseGaugeFont(QWidget* w) {
  QFont f = w->font();
  f.setPointSize(10);
  f.setBold(true);
  w->setFont(f);
}

// The value as the configuration's decimals write it, with "." as decimal mark.
std::string ValueText(float value, const DisplayConfig& c) {
  return draw::FloatToStrFixed(value, kFixedPrecision, Decimals(c));
}

}  // namespace

void DisplayObject::BuildLcd(const DisplayConfig& config, QWidget* parent) {
  indicator_ = new controls::TSegmentIndicator(parent);
  indicator_->setObjectName(QStringLiteral("Indicator"));
  display_setup::SetUpLcd(*indicator_, config.Lcd());
}

void DisplayObject::BuildLed(const DisplayConfig& config, QWidget* parent) {
  ledDigits_ = new controls::TDigitDisplay(parent);
  ledDigits_->setObjectName(QStringLiteral("LedDigits"));
  display_setup::SetUpLed(*ledDigits_, config.Led());
}

void DisplayObject::BuildBar(const DisplayConfig& config, QWidget* parent) {
  bar_ = new controls::TBarMeter(parent);
  bar_->setObjectName(QStringLiteral("Bar"));
  display_setup::SetUpBar(*bar_, config.Bar());
  bar_->SetDigits(Decimals(config));
  bar_->SetSignalUnit(UnitOf(config));
  bar_->SetValue(bar_->ValueMin());
}

void DisplayObject::BuildGauge(const DisplayConfig& config, QWidget* parent) {
  gauge_ = new controls::TDialGauge(parent);
  gauge_->setObjectName(QStringLiteral("Gauge"));
  display_setup::SetUpDial(*gauge_, config.Dial());
  UseGaugeFont(gauge_);
  unitText_ = UnitOf(config);
  gauge_->SetFCaption(unitText_);
  gauge_->SetFPosition(static_cast<float>(gauge_->MinValue()));
}

void DisplayObject::BuildMeter(const DisplayConfig& config, QWidget* parent) {
  meter_ = new controls::TAnalogMeter(parent);
  meter_->setObjectName(QStringLiteral("Meter"));
  display_setup::SetUpMeter(*meter_, config.Meter());
  unitText_ = UnitOf(config);
  meter_->SetCaption(unitText_);
  UseGaugeFont(meter_);
  meter_->SetValueDigits(Decimals(config));
  meter_->SetTickDigits(Decimals(config));
  meter_->SetValuePrecision(7);
  meter_->SetTickPrecision(7);
}

void DisplayObject::ShowValue(float value, const DisplayConfig& config) {
  const std::string plain = ValueText(value, config);
  const QString text = draw::WithDecimalMark(plain, decimalMark_);
  switch (kind_) {
    case DisplayKind::LcdIndicator:
      indicator_->SETIndicatorString(text);
      break;
    case DisplayKind::LedDigits:
      // Its cells have a point between them and nothing else: a comma would blank them.
      ledDigits_->SetValue(QString::fromStdString(plain));
      break;
    case DisplayKind::BarMeter:
      if (value > bar_->ValueMax()) {
        bar_->SetCaption(QStringLiteral("OVERFLOW"));
      } else if (value < bar_->ValueMin()) {
        bar_->SetCaption(QStringLiteral("UNDERFLOW"));
      } else {
        bar_->SetCaption(QString());
      }
      bar_->SetValue(value);
      break;
    case DisplayKind::DialGauge:
      // The needle stops at the end of the scale; the caption tells the true value.
      gauge_->SetFPosition(std::clamp(value, static_cast<float>(gauge_->MinValue()),
                                      static_cast<float>(gauge_->MaxValue())));
      gauge_->SetFCaption(text + QLatin1Char(' ') + unitText_);
      break;
    case DisplayKind::AnalogMeter:
      meter_->SetValue(value);
      meter_->SetCaption(text + QLatin1Char(' ') + unitText_);
      break;
    case DisplayKind::Chart:
    case DisplayKind::None:
      break;
  }
}

bool DisplayObject::FitToPanel(QWidget* panel) {
  if (panel == nullptr || Widget() == nullptr) return false;
  const int pw = panel->width();
  const int ph = panel->height();
  const int m = std::min(pw, ph) / 20;
  switch (kind_) {
    case DisplayKind::Chart:
      return chart_->FitToPanel(panel);
    case DisplayKind::LcdIndicator:
      indicator_->setGeometry(m, m, std::max(pw - 2 * m, 1), std::max(ph - 2 * m, 1));
      indicator_->SETIndicatorWidth(indicator_->width());
      indicator_->SETIndicatorHeight(indicator_->height());
      return true;
    case DisplayKind::LedDigits: {
      ledDigits_->setGeometry(2 * m, 2 * m, std::max(pw - 4 * m, 1), std::max(ph - 4 * m, 1));
      const int w = ledDigits_->width();
      const int h = ledDigits_->height();
      ledDigits_->SetDigitSpacing(w / 35 + ledDigits_->SegmentSize() - 2);
      ledDigits_->SetGapX(w / 220 + 2);
      ledDigits_->SetGapY(h / 135 + 2);
      return true;
    }
    case DisplayKind::BarMeter:
      bar_->setGeometry(panel->rect());
      return true;
    case DisplayKind::DialGauge:
      gauge_->setGeometry(m, m, std::max(pw - 2 * m, 1), std::max(ph - 2 * m, 1));
      gauge_->SetFMargin(12);
      return true;
    case DisplayKind::AnalogMeter:
      meter_->setGeometry(panel->rect());
      return true;
    case DisplayKind::None:
      break;
  }
  return false;
}

void DisplayObject::SetSeriesTitles(std::span<const std::string> titles) {
  const QString text = titles.empty() ? QString() : platform::FromCp1252(titles.front());
  switch (kind_) {
    case DisplayKind::Chart:
      chart_->SetSeriesTitles(titles);
      break;
    case DisplayKind::BarMeter:
      if (bar_) bar_->SetSignalUnit(text);
      break;
    case DisplayKind::DialGauge:
    case DisplayKind::AnalogMeter:
      unitText_ = text;
      break;
    default:
      break;
  }
}
