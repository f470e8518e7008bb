// TConfigViewForm: the live example beside the steps, its chart lines and the chart's
// colour list.
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <algorithm>

#include "controls/analog_meter.h"
#include "controls/bar_meter.h"
#include "controls/decimal_mark.h"
#include "controls/dial_gauge.h"
#include "controls/digit_display.h"
#include "controls/segment_indicator.h"
#include "controls/tcolor.h"
#include "display/wizard/color_circle.h"
#include "display/wizard/config_view_form.h"
#include "display/wizard/range_rules.h"
#include "display/wizard/up_down.h"
#include "platform/chart_time.h"
#include "platform/qt_text.h"
#include "platform/text_trim.h"
#include "qcustomplot.h"

namespace {

constexpr int kMaxPreviewLineWidth = 50;  // as the display window draws it
constexpr int kColorRowPitch = 36;
constexpr int kColorRowTop = 12;

QPen LinePen(uint32_t color, int width) {
  return QPen(draw::ToQColor(color), std::clamp(width, 1, kMaxPreviewLineWidth));
}

}  // namespace

TDateTime TConfigViewForm::Now() const {
  const platform::WallClock& clock = services_.clock ? *services_.clock : platform::WallClock::System();
  return clock.Now();
}

void TConfigViewForm::SetPreviewRange(int digits) { walk_.SetDigitRange(digits); }

void TConfigViewForm::PlaceLcdPreview(int digits) {
  if (digits >= 3) {
    liqCrystal_->setGeometry(12, 20, 345, 110);
  } else {
    liqCrystal_->setGeometry(97, 20, 163, 110);
  }
  liqCrystal_->SETIndicatorWidth(liqCrystal_->width());
  liqCrystal_->SETIndicatorHeight(liqCrystal_->height());
}

void TConfigViewForm::PlaceLedPreview(int digits) {
  if (digits >= 3) {
    ledLcd_->setGeometry(49, 90, 320, 100);
  } else {
    ledLcd_->setGeometry(149, 90, 120, 100);
  }
}

void TConfigViewForm::ShowPreviewElement() {
  const DisplayKind k = config_.kind;
  chart_->setVisible(k == DisplayKind::Chart);
  lcdPanel_->setVisible(k == DisplayKind::LcdIndicator);
  liqCrystal_->setVisible(true);
  ledLcd_->setVisible(k == DisplayKind::LedDigits);
  meter_->setVisible(k == DisplayKind::BarMeter);
  analogGauge_->setVisible(k == DisplayKind::DialGauge);
  analogMeter_->setVisible(k == DisplayKind::AnalogMeter);
}

void TConfigViewForm::SetPreviewAxisRange() {
  const TDateTime now = Now();
  chart_->xAxis->setRange(chart_time::KeyFromDateTime(now - visiblePeriod_), chart_time::KeyFromDateTime(now));
  chart_->replot();
}

void TConfigViewForm::TimerTimer() {
  const int64_t keep = wizard::PointsToKeep(visiblePeriod_);
  const std::vector<int64_t> values = walk_.Tick(previewSeries_.size());
  const int64_t value = values.front();
  const QString text = QString::number(value);
  liqCrystal_->SETIndicatorString(text);
  meter_->SetValue(static_cast<double>(value));
  // As text: ten to twelve digits do not fit the control's integer setter.
  ledLcd_->SetValue(text);
  const QString unit = platform::FromCp1252(platform::TrimBlanks(config_.unit.str()));
  const QString caption =
      draw::WithDecimalMark(QString::number(static_cast<double>(value), 'f', 1).toStdString(),
                            draw::LocaleDecimalMark()) +
      QLatin1Char(' ') + unit;
  analogGauge_->SetFPosition(static_cast<float>(value));
  analogGauge_->SetFCaption(caption);
  analogMeter_->SetValue(static_cast<float>(value));
  analogMeter_->SetCaption(caption);

  const TDateTime now = Now();
  const double key = chart_time::KeyFromDateTime(now);
  for (size_t i = 0; i < previewSeries_.size(); ++i) {
    QCPGraph* g = previewSeries_[i];
    g->addData(key, static_cast<double>(values[i]));
    while (g->data()->size() > keep) g->data()->remove(g->data()->constBegin()->key);
  }
  if (refSeries1_ != nullptr) refSeries1_->addData(key, ref1ValCSpinEdit_->value());
  if (refSeries2_ != nullptr) refSeries2_->addData(key, ref2ValCSpinEdit_->value());
  chart_->xAxis->setRange(chart_time::KeyFromDateTime(now - visiblePeriod_), key);
  if (config_.kind == DisplayKind::Chart) chart_->replot();
}

QCPGraph* TConfigViewForm::NewPreviewSeries(const QString& title, uint32_t color) {
  QCPGraph* g = chart_->addGraph();
  g->setName(title);
  g->setPen(LinePen(color, lineThicknessUpDown_->Position()));
  g->setAdaptiveSampling(false);
  return g;
}

void TConfigViewForm::RemovePreviewSeries(size_t index) {
  if (index >= previewSeries_.size()) return;
  chart_->removeGraph(previewSeries_[index]);
  previewSeries_.erase(previewSeries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void TConfigViewForm::DeleteSeries() {
  while (!previewSeries_.empty()) RemovePreviewSeries(previewSeries_.size() - 1);
  // The chosen channels go with their lines; the lists are rebuilt on entering step 1.
  lists_.Clear();
  SyncChannelListWidgets();
  chart_->replot();
}

void TConfigViewForm::ApplyPreviewLineWidth() {
  const int width = lineThicknessUpDown_->Position();
  for (QCPGraph* g : previewSeries_) g->setPen(LinePen(draw::FromQColor(g->pen().color()), width));
  chart_->replot();
}

void TConfigViewForm::CreateReferenceSeries(int which) {
  QCPGraph*& series = which == 1 ? refSeries1_ : refSeries2_;
  if (series != nullptr) return;
  series = chart_->addGraph();
  series->setPen(LinePen(which == 1 ? refColor1_ : refColor2_, 1));
  series->setName(referenceText_ + QStringLiteral(" %1").arg(which));
}

void TConfigViewForm::DeleteReferenceSeries(int which) {
  QCPGraph*& series = which == 1 ? refSeries1_ : refSeries2_;
  if (series == nullptr) return;
  chart_->removeGraph(series);
  series = nullptr;
}

void TConfigViewForm::DeleteColorList() {
  for (QPushButton* b : colorButtons_) delete b;
  for (wizard::TColorCircle* c : colorCircles_) delete c;
  colorButtons_.clear();
  colorCircles_.clear();
  colorListLast_.clear();
}

void TConfigViewForm::BuildColorList() {
  DeleteColorList();
  if (chartPageControl_->currentIndex() != 2) return;
  struct Row {
    QString caption;
    uint32_t color;
    int tag;
  };
  std::vector<Row> rows;
  for (size_t i = 0; i < lists_.Chosen().size(); ++i) {
    rows.push_back({platform::FromCp1252(lists_.Chosen()[i].item.caption), lists_.Chosen()[i].color, 0});
  }
  if (refSeries1_ != nullptr) rows.push_back({referenceText_ + QStringLiteral(" 1"), refColor1_, 1});
  if (refSeries2_ != nullptr) rows.push_back({referenceText_ + QStringLiteral(" 2"), refColor2_, 2});
  for (size_t r = 0; r < rows.size(); ++r) {
    const int top = kColorRowTop + kColorRowPitch * static_cast<int>(r);
    auto* button = new QPushButton(rows[r].caption, colorsHolder_);
    button->setObjectName(QStringLiteral("ColorListButton%1").arg(r));
    button->setGeometry(50, top, 125, 25);
    button->setProperty("tag", rows[r].tag);
    auto* circle = new wizard::TColorCircle(colorsHolder_, rows[r].color);
    circle->setGeometry(30, top + 4, 15, 15);
    button->show();
    circle->show();
    colorButtons_.push_back(button);
    colorCircles_.push_back(circle);
    colorListLast_.push_back(rows[r].color);
    connect(button, &QPushButton::clicked, this, [this, r] { ColorListClick(r); });
  }
  colorsHolder_->resize(colorsHolder_->width(), kColorRowTop + kColorRowPitch * static_cast<int>(rows.size()));
}

void TConfigViewForm::ColorListClick(size_t row) {
  if (row >= colorButtons_.size()) return;
  const std::optional<uint32_t> color = ChooseColor(colorListLast_[row]);
  if (!color) return;
  colorListLast_[row] = *color;
  colorCircles_[row]->SetColor(*color);
  const int tag = colorButtons_[row]->property("tag").toInt();
  if (tag == 1 || tag == 2) {
    (tag == 1 ? refColor1_ : refColor2_) = *color;
    if (QCPGraph* series = tag == 1 ? refSeries1_ : refSeries2_) series->setPen(LinePen(*color, 1));
  } else if (row < previewSeries_.size()) {
    lists_.SetChosenColor(row, *color);
    previewSeries_[row]->setPen(LinePen(*color, lineThicknessUpDown_->Position()));
  }
  chart_->replot();
}

void TConfigViewForm::SyncChannelListWidgets() {
  auto fill = [](QListWidget* view, const std::vector<QString>& captions, size_t current) {
    const QSignalBlocker quiet(view);
    view->clear();
    for (const QString& c : captions) view->addItem(c);
    view->setCurrentRow(current < captions.size() ? static_cast<int>(current) : -1);
  };
  std::vector<QString> available;
  for (const wizard::ChannelItem& i : lists_.Available()) available.push_back(platform::FromCp1252(i.caption));
  std::vector<QString> chosen;
  for (const wizard::ChosenChannel& c : lists_.Chosen()) chosen.push_back(platform::FromCp1252(c.item.caption));
  fill(allListView_, available, lists_.RememberedAvailable());
  fill(selectedListView_, chosen, lists_.RememberedChosen());
  selButton_->setEnabled(lists_.ChooseEnabled());
  unselButton_->setEnabled(lists_.UnchooseEnabled());
  clearSelButton_->setEnabled(lists_.ClearEnabled());
  if (step_ == 1 && config_.kind == DisplayKind::Chart) nextBitBtn_->setEnabled(lists_.NextEnabled());
}
