#include "devconfig/custom_calib_report_form.h"

#include <QDate>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "devconfig/config_form.h"
#include "devconfig/custom_calibration.h"
#include "devconfig/form_building.h"
#include "devconfig/page_transfer.h"
#include "instrument/device_interface.h"
#include "platform/atomic_file.h"
#include "platform/datetime.h"
#include "platform/qt_text.h"
#include "ui/help_context.h"
#include "ui/language_file.h"

using devconfig::Named;
using devconfig::U;
namespace t = devconfig::certificate_text;

namespace {

constexpr int kGridColumns = 4;
constexpr int kUncertaintyColumn = 3;

QPlainTextEdit* Memo(QWidget* parent, const char* name) {
  auto* memo = Named(new QPlainTextEdit(parent), name);
  memo->setTabChangesFocus(true);
  memo->setMinimumHeight(60);
  return memo;
}

QTableWidget* Grid(QWidget* parent, const char* name) {
  auto* grid = Named(new QTableWidget(0, kGridColumns, parent), name);
  grid->verticalHeader()->hide();
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed);
  grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  for (int c = 1; c < kGridColumns; ++c) grid->horizontalHeader()->setSectionResizeMode(c, QHeaderView::Stretch);
  return grid;
}

std::string Cp1252(const QString& text) { return platform::ToCp1252(text); }

std::string Cell(const QTableWidget* grid, int row, int column) {
  const QTableWidgetItem* item = grid->item(row, column);
  return item != nullptr ? Cp1252(item->text()) : std::string();
}

QString Degrees(int32_t config) {
  return (config & devconfig::channel_bit::kFahrenheit) != 0 ? QStringLiteral("°F") : QStringLiteral("°C");
}

}  // namespace

TCustomCalibReportForm::TCustomCalibReportForm(ui::UserInteraction& ui, const TConfigForm& configForm,
                                               QWidget* parent)
    : QDialog(parent),
      ui_(ui),
      configForm_(configForm),
      clock_(&platform::WallClock::System()),
      texts_(devconfig::BuiltInCertificateTexts()) {
  BuildForm();
  pageControl_->setTabText(0, configForm_.CalibrationSubPageCaption(false));
  pageControl_->setTabText(1, configForm_.CalibrationSubPageCaption(true));
  obsMemo_->clear();
  if (ui::ProgramLanguage().Loaded()) Translate();
  obsMemo_->appendPlainText(Text(t::kInformativeNote));
  saveDialog_.defaultSuffix = QStringLiteral("rtf");
  saveDialog_.filter = QStringLiteral("Rich Text File (*.rtf)|*.rtf");
}

QString TCustomCalibReportForm::Text(size_t n) const { return platform::FromCp1252(texts_.Text(n)); }

void TCustomCalibReportForm::BuildForm() {
  setObjectName(QStringLiteral("CustomCalibReportForm"));
  setWindowTitle(U("Relatório de Calibração Customizada"));
  setModal(true);
  ui::SetHelpContext(this, ui::kHelpContextCalibrationCertificate);
  auto* top = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  top->addLayout(columns, 1);

  auto* left = new QGridLayout;
  testerLabel_ = Named(new QLabel(U("Certificador"), this), "TesterLabel");
  testerMemo_ = Memo(this, "TesterMemo");
  calIdLabel_ = Named(new QLabel(U("Identificação do Certificado"), this), "CalIDLabel");
  calIdEdit_ = Named(new QLineEdit(this), "CalIDEdit");
  dateLabel_ = Named(new QLabel(U("Data"), this), "DateLabel");
  dateEdit_ = Named(new QLineEdit(this), "DateEdit");
  ownerLabel_ = Named(new QLabel(U("Proprietário"), this), "OwnerLabel");
  ownerMemo_ = Memo(this, "OwnerMemo");
  standardLabel_ = Named(new QLabel(U("Instrumento(s) Padrão Utilizado(s)"), this), "StandardLabel");
  standardMemo_ = Memo(this, "StandardMemo");
  obsLabel_ = Named(new QLabel(U("Observações"), this), "ObsLabel");
  obsMemo_ = Memo(this, "ObsMemo");
  left->addWidget(testerLabel_, 0, 0, 1, 2);
  left->addWidget(testerMemo_, 1, 0, 1, 2);
  left->addWidget(calIdLabel_, 2, 0);
  left->addWidget(dateLabel_, 2, 1);
  left->addWidget(calIdEdit_, 3, 0);
  left->addWidget(dateEdit_, 3, 1);
  left->addWidget(ownerLabel_, 4, 0, 1, 2);
  left->addWidget(ownerMemo_, 5, 0, 1, 2);
  left->addWidget(standardLabel_, 6, 0, 1, 2);
  left->addWidget(standardMemo_, 7, 0, 1, 2);
  left->addWidget(obsLabel_, 8, 0, 1, 2);
  left->addWidget(obsMemo_, 9, 0, 1, 2);
  left->setColumnStretch(0, 2);
  left->setColumnStretch(1, 1);
  columns->addLayout(left, 2);

  auto* right = new QVBoxLayout;
  ambientGroupBox_ = Named(new QGroupBox(U("Condições Ambientais"), this), "AmbientGroupBox");
  auto* ambient = new QGridLayout(ambientGroupBox_);
  tempLabel_ = Named(new QLabel(U("Temperatura"), ambientGroupBox_), "TempLabel");
  tempEdit_ = Named(new QLineEdit(ambientGroupBox_), "TempEdit");
  rhLabel_ = Named(new QLabel(U("Umidade Relativa"), ambientGroupBox_), "RHLabel");
  rhEdit_ = Named(new QLineEdit(ambientGroupBox_), "RHEdit");
  ambient->addWidget(tempLabel_, 0, 0);
  ambient->addWidget(tempEdit_, 0, 1);
  ambient->addWidget(rhLabel_, 1, 0);
  ambient->addWidget(rhEdit_, 1, 1);
  right->addWidget(ambientGroupBox_);

  pageControl_ = Named(new QTabWidget(this), "PageControl");
  for (bool humidity : {false, true}) {
    auto* sheet = Named(new QWidget, humidity ? "RHTabSheet" : "TempTabSheet");
    auto* layout = new QVBoxLayout(sheet);
    QTableWidget* grid = Grid(sheet, humidity ? "RHStringGrid" : "TempStringGrid");
    auto* unitRow = new QHBoxLayout;
    auto* unitLabel = Named(new QLabel(U("Unidade"), sheet), humidity ? "RHUnitLabel" : "TempUnitLabel");
    auto* unitEdit = Named(new QLineEdit(sheet), humidity ? "RHUnitEdit" : "TempUnitEdit");
    unitEdit->setFixedWidth(60);
    unitEdit->setText(humidity ? QStringLiteral("%") : QStringLiteral("°C"));
    unitRow->addWidget(unitLabel);
    unitRow->addWidget(unitEdit);
    unitRow->addStretch();
    layout->addWidget(grid, 1);
    layout->addLayout(unitRow);
    pageControl_->addTab(sheet, humidity ? U("Umidade") : U("Temperatura"));
    (humidity ? rhTabSheet_ : tempTabSheet_) = sheet;
    (humidity ? rhStringGrid_ : tempStringGrid_) = grid;
    (humidity ? rhUnitLabel_ : tempUnitLabel_) = unitLabel;
    (humidity ? rhUnitEdit_ : tempUnitEdit_) = unitEdit;
  }
  right->addWidget(pageControl_, 1);
  columns->addLayout(right, 3);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  createReportBitBtn_ = Named(new QPushButton(U("Gerar relatório"), this), "CreateReportBitBtn");
  fechaBitBtn_ = Named(new QPushButton(U("Fechar"), this), "FechaBitBtn");
  createReportBitBtn_->setDefault(true);
  fechaBitBtn_->setAutoDefault(false);
  buttons->addWidget(createReportBitBtn_);
  buttons->addWidget(fechaBitBtn_);
  top->addLayout(buttons);
  // Wide enough for the four column headings of the tables.
  resize(1020, 620);

  connect(createReportBitBtn_, &QPushButton::clicked, this, &TCustomCalibReportForm::CreateReportBitBtnClick);
  connect(fechaBitBtn_, &QPushButton::clicked, this, &QDialog::accept);
}

void TCustomCalibReportForm::Translate() {
  std::vector<ui::LanguageTextTarget> targets = devconfig::CertificateTextTargets(texts_);
  auto set = [&targets](size_t line, std::function<void(const QString&)> target) {
    targets[line - 1] = [target](const std::string& text) { target(platform::FromCp1252(text)); };
  };
  namespace l = devconfig::report_line;
  set(l::kCaption, [this](const QString& s) { setWindowTitle(s); });
  const std::pair<size_t, QLabel*> labels[] = {
      {l::kOwnerLabel, ownerLabel_},     {l::kTesterLabel, testerLabel_}, {l::kCalIdLabel, calIdLabel_},
      {l::kStandardLabel, standardLabel_}, {l::kObsLabel, obsLabel_},     {l::kTempLabel, tempLabel_},
      {l::kRhLabel, rhLabel_},           {l::kDateLabel, dateLabel_},
  };
  for (const auto& [line, label] : labels) set(line, [label](const QString& s) { label->setText(s); });
  set(l::kAmbientGroupBox, [this](const QString& s) { ambientGroupBox_->setTitle(s); });
  set(l::kCreateReportButton, [this](const QString& s) { createReportBitBtn_->setText(s); });
  set(l::kCloseButton, [this](const QString& s) { fechaBitBtn_->setText(s); });
  set(l::kUnitLabel, [this](const QString& s) {
    rhUnitLabel_->setText(s);
    tempUnitLabel_->setText(s);
  });
  ui::ApplyLanguageSection(ui::ProgramLanguage(), devconfig::kReportFormHeading, targets);
}

void TCustomCalibReportForm::Execute(const DeviceInterface& device) {
  SetDevice(&device);
  FormShow();
  ui_.RunModal(this);
}

void TCustomCalibReportForm::FillGrid(QTableWidget* grid, const Channel& channel) {
  const std::vector<devconfig::CalibrationPoint> points = devconfig::PresentPoints(channel);
  const int rows = static_cast<int>(points.size());
  grid->setRowCount(rows);
  for (int r = 0; r < rows; ++r) {
    const devconfig::CalibrationRowTexts texts =
        devconfig::RowTexts(static_cast<size_t>(r), points[static_cast<size_t>(r)], configForm_.DecimalMark());
    const std::string cells[] = {texts.number, texts.standard, texts.indication};
    for (int c = 0; c < kUncertaintyColumn; ++c) {
      auto* item = new QTableWidgetItem(QString::fromStdString(cells[c]));
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      grid->setItem(r, c, item);
    }
    if (grid->item(r, kUncertaintyColumn) == nullptr) grid->setItem(r, kUncertaintyColumn, new QTableWidgetItem);
  }
  grid->setEnabled(rows > 0);
}

void TCustomCalibReportForm::FormShow() {
  platform::DateParts today;
  platform::DecodeDate(clock_->Now(), today);
  dateEdit_->setText(QLocale().toString(QDate(today.year, today.month, today.day), QLocale::ShortFormat));
  const QStringList headers = configForm_.CalibrationGridHeaders() << Text(t::kUncertaintyHeader);
  for (QTableWidget* grid : {tempStringGrid_, rhStringGrid_}) grid->setHorizontalHeaderLabels(headers);
  const DeviceRegs regs = device_ != nullptr ? device_->regs : DeviceRegs{};
  const bool humidityProbe = device_ != nullptr && device_->GetProbeType() == 0;
  if (humidityProbe) {
    FillGrid(rhStringGrid_, regs.Channel1);
    FillGrid(tempStringGrid_, regs.Channel2);
    const int32_t c1 = regs.Channel1.Config;
    rhUnitEdit_->setText((c1 & devconfig::channel_bit::kDewPoint) == 0 ? QStringLiteral("%") : Degrees(c1));
    tempUnitEdit_->setText(Degrees(regs.Channel2.Config));
  } else {
    FillGrid(tempStringGrid_, regs.Channel1);
    tempUnitEdit_->setText(Degrees(regs.Channel1.Config));
    rhStringGrid_->setRowCount(0);
    rhStringGrid_->setEnabled(false);
  }
  pageControl_->setTabVisible(1, humidityProbe);
  pageControl_->setCurrentIndex(0);
}

devconfig::CertificateTable TCustomCalibReportForm::TableOf(const QTableWidget* grid, const QLineEdit* unit) const {
  devconfig::CertificateTable table;
  table.unit = Cp1252(unit->text());
  for (int r = 0; r < grid->rowCount(); ++r) table.rows.push_back({Cell(grid, r, 1), Cell(grid, r, 2), Cell(grid, r, 3)});
  return table;
}

devconfig::RtfDocument TCustomCalibReportForm::BuildDocument() const {
  devconfig::CertificateLabels labels;
  labels.date = Cp1252(dateLabel_->text());
  labels.owner = Cp1252(ownerLabel_->text());
  labels.standards = Cp1252(standardLabel_->text());
  labels.ambient = Cp1252(ambientGroupBox_->title());
  labels.ambientTemperature = Cp1252(tempLabel_->text());
  labels.ambientHumidity = Cp1252(rhLabel_->text());
  labels.remarks = Cp1252(obsLabel_->text());
  labels.temperatureTab = Cp1252(pageControl_->tabText(0));
  labels.humidityTab = Cp1252(pageControl_->tabText(1));

  devconfig::CertificateContent content;
  content.tester = devconfig::MemoLines(Cp1252(testerMemo_->toPlainText()));
  content.owner = devconfig::MemoLines(Cp1252(ownerMemo_->toPlainText()));
  content.standards = devconfig::MemoLines(Cp1252(standardMemo_->toPlainText()));
  content.remarks = devconfig::MemoLines(Cp1252(obsMemo_->toPlainText()));
  content.id = Cp1252(calIdEdit_->text());
  content.date = Cp1252(dateEdit_->text());
  content.ambientTemperature = Cp1252(tempEdit_->text());
  content.ambientHumidity = Cp1252(rhEdit_->text());
  if (device_ != nullptr) {
    content.humidityProbe = device_->GetProbeType() == 0;
    content.sensorName = device_->GetProbeSensorName();
    content.serialNumber = device_->regs.SerialNumber;
  }
  content.temperature = TableOf(tempStringGrid_, tempUnitEdit_);
  content.humidity = TableOf(rhStringGrid_, rhUnitEdit_);
  return devconfig::BuildCertificate(texts_, labels, content);
}

void TCustomCalibReportForm::CreateReportBitBtnClick() {
  const std::optional<QString> file = ui_.ChooseSaveFile(this, saveDialog_);
  if (!file) return;
  const std::string rtf = devconfig::WriteRtf(BuildDocument());
  platform::AtomicFile out;
  const bool written = out.Open(QFile::encodeName(*file).toStdString()) && out.Write(rtf.data(), rtf.size()) &&
                       out.Commit();
  ui_.ShowMessage(this, Text(written ? t::kCreated : t::kFailed));
}
