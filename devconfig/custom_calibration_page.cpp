// TConfigForm: the custom calibration page of the probe ("Calibração Customizada"): a grid of
// up to ten points per quantity, entered by the user, written to the probe with the date.
#include <QCheckBox>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "devconfig/config_form.h"
#include "devconfig/custom_calib_report_form.h"
#include "devconfig/form_building.h"
#include "instrument/device_interface.h"
#include "platform/datetime.h"

using devconfig::FieldText;
using devconfig::HourglassScope;
using devconfig::Msg;
using devconfig::Named;
using devconfig::U;

namespace {

constexpr int kGridColumns = 3;
constexpr int kNumberColumnWidth = 36;
constexpr int kGridWidth = 430;
constexpr int kRowHeight = 21;
constexpr int kEntryWidth = 140;

// The sub-pages' controls are named alike; the humidity grid's carry "RH".
QString SubPageName(bool humidity, const char* name, const char* rhName) {
  return QString::fromLatin1(humidity ? rhName : name);
}

QTableWidget* BuildGrid(QWidget* parent, const QString& name) {
  auto* grid = Named(new QTableWidget(static_cast<int>(devconfig::kMaxCalibrationPoints), kGridColumns, parent), name);
  grid->verticalHeader()->hide();
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
  grid->setColumnWidth(0, kNumberColumnWidth);
  for (int c = 1; c < kGridColumns; ++c) grid->horizontalHeader()->setSectionResizeMode(c, QHeaderView::Stretch);
  grid->setFixedWidth(kGridWidth);
  // All ten rows in sight, without scrolling.
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setFixedHeight(grid->horizontalHeader()->sizeHint().height() + grid->rowCount() * kRowHeight +
                       2 * grid->frameWidth());
  for (int r = 0; r < grid->rowCount(); ++r) {
    for (int c = 0; c < kGridColumns; ++c) {
      auto* item = new QTableWidgetItem;
      item->setTextAlignment(c == 0 ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter));
      grid->setItem(r, c, item);
    }
  }
  return grid;
}

QPushButton* Button(const char* caption, const QString& name, QWidget* parent) {
  auto* b = Named(new QPushButton(U(caption), parent), name);
  // "Aplica" stays the dialog's default button whichever of these has the focus.
  b->setAutoDefault(false);
  return b;
}

}  // namespace

QWidget* TConfigForm::BuildCustomCalibrationSubPage(bool humidity) {
  devconfig::CustomCalibrationWidgets& w = SubPage(humidity);
  w.page = Named(new QWidget, humidity ? "RHTabSheet" : "TemperatureTabSheet");
  QWidget* p = w.page;
  auto* grid = new QGridLayout(p);
  w.grid = BuildGrid(p, SubPageName(humidity, "CustomCalStringGrid", "RHCustomCalStringGrid"));
  grid->addWidget(w.grid, 0, 0, 2, 1);

  auto* entry = new QVBoxLayout;
  w.realValueLabel = Named(new QLabel(p), SubPageName(humidity, "RealValueLabel", "RealValueRHLabel"));
  w.realValueEdit = Named(new QLineEdit(p), SubPageName(humidity, "RealValueEdit", "RealValueRHEdit"));
  w.measuredValueLabel = Named(new QLabel(p), SubPageName(humidity, "MeasuredValueLabel", "MeasuredValueRHLabel"));
  w.measuredValueEdit = Named(new QLineEdit(p), SubPageName(humidity, "MeasuredValueEdit", "MeasuredValueRHEdit"));
  for (QLineEdit* edit : {w.realValueEdit, w.measuredValueEdit}) edit->setFixedWidth(kEntryWidth);
  w.addButton = Button("Adicionar linha", SubPageName(humidity, "AddButton", "AddButtonRH"), p);
  w.delRowButton = Button("Excluir linha", SubPageName(humidity, "DelRowButton", "DelRowButtonRH"), p);
  w.delAllButton = Button("Excluir tudo", SubPageName(humidity, "DelAllButton", "DelAllButtonRH"), p);
  w.applyButton = Button("Aplicar", SubPageName(humidity, "ApplyCustomCalibBitBtn", "ApplyRHCustomCalibBitBtn"), p);
  w.reportButton = Button("Relatório...", SubPageName(humidity, "ReportBitBtn", "ReportRHBitBtn"), p);
  for (QWidget* c : std::initializer_list<QWidget*>{w.realValueLabel, w.realValueEdit, w.measuredValueLabel,
                                                     w.measuredValueEdit, w.addButton, w.delRowButton,
                                                     w.delAllButton}) {
    entry->addWidget(c);
  }
  entry->addStretch();
  entry->addWidget(w.applyButton);
  entry->addWidget(w.reportButton);
  for (QPushButton* b : {w.addButton, w.delRowButton, w.delAllButton, w.applyButton, w.reportButton})
    b->setFixedWidth(kEntryWidth);
  grid->addLayout(entry, 0, 1);

  auto* date = new QHBoxLayout;
  w.lastCalDateLabel = Named(new QLabel(U("Data da Última Calibração"), p),
                             SubPageName(humidity, "LastCustomCalDateLabel", "LastCustomCalDateRHLabel"));
  w.lastCalDateEdit = Named(new QLineEdit(p), SubPageName(humidity, "LastCustomCalDateEdit", "LastCustomCalDateRHEdit"));
  w.lastCalDateEdit->setReadOnly(true);
  w.lastCalDateEdit->setFixedWidth(110);
  date->addWidget(w.lastCalDateLabel);
  date->addWidget(w.lastCalDateEdit);
  date->addStretch();
  grid->addLayout(date, 2, 0, 1, 2);
  grid->setColumnStretch(2, 1);

  connect(w.addButton, &QPushButton::clicked, this, [this, humidity] { AddPoint(humidity); });
  connect(w.delRowButton, &QPushButton::clicked, this, [this, humidity] { DeletePoint(humidity); });
  connect(w.delAllButton, &QPushButton::clicked, this, [this, humidity] { DeleteAllPoints(humidity); });
  connect(w.applyButton, &QPushButton::clicked, this, &TConfigForm::ApplyCustomCalibBitBtnClick);
  connect(w.reportButton, &QPushButton::clicked, this, &TConfigForm::ReportBitBtnClick);
  return p;
}

void TConfigForm::FillCustomCalibPage() {
  calibration_.customCalibPageControl->setTabVisible(0, devconfig::VisiblePages(context_).humidityCalibration);
  if (context_.HumidityProbe()) {
    humidityGrid_.Assign(devconfig::PresentPoints(regs_.Channel1));
    temperatureGrid_.Assign(devconfig::PresentPoints(regs_.Channel2));
  } else {
    humidityGrid_.Clear();
    temperatureGrid_.Assign(devconfig::PresentPoints(regs_.Channel1));
  }
  ShowGrid(true);
  ShowGrid(false);
  ShowLastCalibrationDate();
}

void TConfigForm::ShowGrid(bool humidity) {
  QTableWidget* grid = SubPage(humidity).grid;
  const std::vector<devconfig::CalibrationPoint>& points = GridOf(humidity).Points();
  for (int r = 0; r < grid->rowCount(); ++r) {
    const auto row = static_cast<size_t>(r);
    devconfig::CalibrationRowTexts texts;
    if (row < points.size()) texts = devconfig::RowTexts(row, points[row], mark_);
    grid->item(r, 0)->setText(QString::fromStdString(texts.number));
    grid->item(r, 1)->setText(QString::fromStdString(texts.standard));
    grid->item(r, 2)->setText(QString::fromStdString(texts.indication));
  }
}

void TConfigForm::ShowLastCalibrationDate() {
  const std::optional<platform::DateParts> date = devconfig::LastCalibrationDate(regs_);
  const QString text = date ? QLocale().toString(QDate(date->year, date->month, date->day), QLocale::ShortFormat)
                            : QStringLiteral("?");
  for (bool humidity : {true, false}) SubPage(humidity).lastCalDateEdit->setText(text);
}

void TConfigForm::AddPoint(bool humidity) {
  devconfig::CustomCalibrationWidgets& w = SubPage(humidity);
  switch (GridOf(humidity).Add(FieldText(w.realValueEdit), FieldText(w.measuredValueEdit))) {
    case devconfig::AddOutcome::Added:
      ShowGrid(humidity);
      w.realValueEdit->clear();
      w.measuredValueEdit->clear();
      break;
    case devconfig::AddOutcome::Full:
      Show(Msg::TooManyPoints);
      break;
    case devconfig::AddOutcome::BadStandard:
      Show(Msg::InvalidValue);
      w.realValueEdit->setFocus(Qt::OtherFocusReason);
      break;
    case devconfig::AddOutcome::BadIndication:
      Show(Msg::InvalidValue);
      w.measuredValueEdit->setFocus(Qt::OtherFocusReason);
      break;
  }
}

void TConfigForm::DeletePoint(bool humidity) {
  const int row = SubPage(humidity).grid->currentRow();
  if (row < 0 || !GridOf(humidity).Delete(static_cast<size_t>(row))) return;
  ShowGrid(humidity);
}

void TConfigForm::DeleteAllPoints(bool humidity) {
  GridOf(humidity).Clear();
  ShowGrid(humidity);
}

bool TConfigForm::ConfirmPoint(bool humidity, size_t row) {
  if (context_.HumidityProbe()) calibration_.customCalibPageControl->setCurrentIndex(humidity ? 0 : 1);
  devconfig::CustomCalibrationWidgets& w = SubPage(humidity);
  w.grid->selectRow(static_cast<int>(row));
  w.delRowButton->setFocus(Qt::OtherFocusReason);
  if (wait_ != nullptr) wait_->Restore();
  const QString question = Message(Msg::ConfirmLinePoints) + QStringLiteral(" %1. ").arg(row + 1) +
                           Message(Msg::ConfirmValues);
  return ui_.AskYesNo(this, Message(Msg::CustomCalibrationCaption), question);
}

void TConfigForm::ApplyCustomCalibBitBtnClick() {
  if (!device_ || !blockRead_) return;
  if (!ui_.AskYesNo(this, Message(Msg::CustomCalibrationCaption), Message(Msg::CustomCalibrationWarning))) return;
  HourglassScope hourglass(wait_);
  const auto values =
      devconfig::CustomCalibrationImage(temperatureGrid_.Points(), humidityGrid_.Points(), context_.HumidityProbe(),
                                        [this](bool humidity, size_t row) { return ConfirmPoint(humidity, row); });
  if (!values) return;
  const bool written = device_->WriteCustomCalibration(*values, clock_->Now()) && device_->ReadConfiguration();
  if (written) {
    // The dialog's copy takes the points and the date the probe now holds (a configuration
    // file loaded later refills the grids from it); the grids keep what the user entered.
    const DeviceRegs& read = device_->regs;
    for (auto channel : {&DeviceRegs::Channel1, &DeviceRegs::Channel2}) {
      (regs_.*channel).CustomCalA = (read.*channel).CustomCalA;
      (regs_.*channel).CustomCalB = (read.*channel).CustomCalB;
    }
    regs_.LastCustomCalDay = read.LastCustomCalDay;
    regs_.LastCustomCalMonth = read.LastCustomCalMonth;
    regs_.LastCustomCalYear = read.LastCustomCalYear;
    ShowLastCalibrationDate();
  }
  Show(written ? Msg::CustomCalibrationWritten : Msg::CustomCalibrationWriteFailed);
}

void TConfigForm::ReportBitBtnClick() {
  if (!device_ || !blockRead_ || report_ == nullptr) return;
  report_->Execute(*device_);
}

void TConfigForm::DewPointCheckBoxClick() {
  if (!context_.HumidityProbe()) return;
  const bool dewPoint = ch1_.dewPointCheckBox->isChecked();
  ch1_.celsiusRadioButton->setVisible(dewPoint);
  ch1_.farenheitRadioButton->setVisible(dewPoint);
}
