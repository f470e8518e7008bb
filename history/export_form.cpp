#include "history/export_form.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "export/output_stream.h"
#include "history/history_export.h"
#include "platform/atomic_file.h"
#include "platform/qt_text.h"
#include "ui/help_context.h"
#include "ui/language_qt.h"
#include "ui/user_interaction.h"

namespace history {
namespace {

// Language section, code page 1252 like the file.
constexpr std::string_view kLanguageHeading = "# Form de Configura\xE7\xE3o da Exporta\xE7\xE3o";

// Each format name is followed by its piece of the filter.
constexpr const char* kFilterPieces[TExportForm::kFormatCount] = {
    " (*.xls)|*.xls|", " (*.pdf)|*.pdf|", " (*.rtf)|*.rtf|", " (*.xml)|*.xml|",
    " (*.html)|*.html|", " (*.dbf)|*.dbf|", " (*.txt)|*.txt|", " (*.csv)|*.csv"};

// What OK asks of the user before the dialog closes.
constexpr char kNoFileNameText[] = "Informe o nome do arquivo para o qual exportar.";
constexpr char kReplaceFileText[] = "O arquivo \"%1\" já existe. Deseja substituí-lo?";

}  // namespace

TExportForm::TExportForm(ui::UserInteraction& ui, QWidget* parent)
    : QDialog(parent),
      ui_(ui),
      formatNames_{QStringLiteral("MS Excel"),     QStringLiteral("Acrobat"),      QStringLiteral("MS Word"),
                   QStringLiteral("Arquivo XML"),  QStringLiteral("Arquivo HTML"), QStringLiteral("Arquivo DBF"),
                   QStringLiteral("Arquivo Texto"), QStringLiteral("Arquivo CSV")},
      fileLabel_(new QLabel(QStringLiteral("Arquivo"), this)),
      fileNameEdit_(new QLineEdit(this)),
      changeFileButton_(new QPushButton(QStringLiteral("..."), this)),
      okBitBtn_(new QPushButton(QStringLiteral("OK"), this)),
      cancelBitBtn_(new QPushButton(QStringLiteral("Cancela"), this)),
      milisecCheckBox_(new QCheckBox(QStringLiteral("Incluir milissegundos"), this)),
      msecPanel_(new QFrame(this)),
      msecSeparator_(new QLabel(QStringLiteral("Separador do milissegundo:"), msecPanel_)),
      separatorEdit_(new QLineEdit(QStringLiteral("."), msecPanel_)),
      sepColCheckBox_(new QCheckBox(QStringLiteral("Colocar em coluna separada"), msecPanel_)) {
  setObjectName(QStringLiteral("ExportForm"));
  setWindowTitle(QStringLiteral("Exportar..."));
  setModal(true);
  ui::SetHelpContext(this, ui::kHelpContextExportDialog);
  fileLabel_->setObjectName(QStringLiteral("FileLabel"));
  fileNameEdit_->setObjectName(QStringLiteral("FileNameEdit"));
  fileNameEdit_->setMinimumWidth(320);
  fileLabel_->setBuddy(fileNameEdit_);
  changeFileButton_->setObjectName(QStringLiteral("ChangeFileButton"));
  changeFileButton_->setAutoDefault(false);
  changeFileButton_->setMaximumWidth(40);
  okBitBtn_->setObjectName(QStringLiteral("OkBitBtn"));
  okBitBtn_->setDefault(true);
  cancelBitBtn_->setObjectName(QStringLiteral("CancelBitBtn"));
  cancelBitBtn_->setAutoDefault(false);
  milisecCheckBox_->setObjectName(QStringLiteral("MilisecCheckBox"));
  milisecCheckBox_->setChecked(true);
  msecPanel_->setObjectName(QStringLiteral("MsecPanel"));
  msecPanel_->setFrameShape(QFrame::StyledPanel);
  msecSeparator_->setObjectName(QStringLiteral("MsecSeparator"));
  separatorEdit_->setObjectName(QStringLiteral("SeparatorEdit"));
  separatorEdit_->setMaxLength(1);
  separatorEdit_->setMaximumWidth(40);
  msecSeparator_->setBuddy(separatorEdit_);
  sepColCheckBox_->setObjectName(QStringLiteral("SepColCheckBox"));
  sepColCheckBox_->setChecked(false);

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(fileNameEdit_, 1);
  fileRow->addWidget(changeFileButton_);
  auto* panel = new QGridLayout(msecPanel_);
  panel->addWidget(msecSeparator_, 0, 0);
  panel->addWidget(separatorEdit_, 0, 1, Qt::AlignLeft);
  panel->addWidget(sepColCheckBox_, 1, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(okBitBtn_);
  buttons->addWidget(cancelBitBtn_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fileLabel_);
  layout->addLayout(fileRow);
  layout->addWidget(milisecCheckBox_);
  layout->addWidget(msecPanel_);
  layout->addLayout(buttons);

  connect(changeFileButton_, &QPushButton::clicked, this, &TExportForm::ChangeFileButtonClick);
  connect(okBitBtn_, &QPushButton::clicked, this, &TExportForm::OkBitBtnClick);
  connect(cancelBitBtn_, &QPushButton::clicked, this, &QDialog::reject);
  connect(milisecCheckBox_, &QCheckBox::clicked, this, &TExportForm::MilisecCheckBoxClick);
  connect(sepColCheckBox_, &QCheckBox::clicked, this, &TExportForm::SepColCheckBoxClick);

  if (ui::ProgramLanguage().Loaded()) ApplyLanguage();
  fileNameEdit_->clear();
}

void TExportForm::ApplyLanguage() {
  auto format = [this](int i) { return ui::Into(formatNames_[i]); };
  ui::ApplyLanguageTexts(kLanguageHeading,
                         {ui::TitleOf(this), ui::TextOf(fileLabel_), ui::TextOf(milisecCheckBox_),
                          ui::TextOf(sepColCheckBox_), ui::TextOf(msecSeparator_), ui::TextOf(okBitBtn_),
                          ui::TextOf(cancelBitBtn_), format(0), format(1), format(2), format(3), format(4), format(5),
                          format(6), format(7)});
}

QString TExportForm::Filter() const {
  QString filter;
  for (int i = 0; i < kFormatCount; ++i) filter += formatNames_[i] + QString::fromLatin1(kFilterPieces[i]);
  return filter;
}

bool TExportForm::Execute() {
  accepted_ = false;
  ui_.RunModal(this);
  return accepted_;
}

void TExportForm::showEvent(QShowEvent* event) {
  accepted_ = false;
  QDialog::showEvent(event);
}

void TExportForm::ChangeFileButtonClick() {
  ui::FileDialogRequest request;
  request.title = windowTitle();
  request.filter = Filter();
  request.defaultSuffix = QStringLiteral("xls");
  request.filterIndex = 1;
  if (const auto file = ui_.ChooseSaveFile(this, request)) fileNameEdit_->setText(*file);
}

// The dialog closes only with a file to export to that the export may replace, and over an
// existing file only once the user has said to replace it; otherwise it stays open for another
// name.
void TExportForm::OkBitBtnClick() {
  const QString name = fileNameEdit_->text();
  if (name.trimmed().isEmpty()) {
    ui_.ShowWarning(this, windowTitle(), QString::fromUtf8(kNoFileNameText));
    fileNameEdit_->setFocus();
    return;
  }
  // What the export will refuse (a named pipe, a folder, a file its user may not write) is
  // told at once: asking first whether to replace it would promise what cannot be done.
  // Said in the export's own words for the same failure.
  const std::string path = QFile::encodeName(name).toStdString();
  if (const std::string refusal = platform::ReplaceRefusal(path); !refusal.empty()) {
    ui_.ShowError(this, windowTitle(),
                  platform::FromCp1252(HistoryExport::FailureText(path, vantrix::CannotCreateFileText(path, refusal))));
    fileNameEdit_->setFocus();
    return;
  }
  if (QFileInfo::exists(name) &&
      !ui_.AskYesNo(this, windowTitle(), QString::fromUtf8(kReplaceFileText).arg(QFileInfo(name).fileName()))) {
    fileNameEdit_->setFocus();
    return;
  }
  accepted_ = true;
  accept();
}

void TExportForm::MilisecCheckBoxClick() {
  const bool milliseconds = milisecCheckBox_->isChecked();
  sepColCheckBox_->setEnabled(milliseconds);
  // The separator only matters while the milliseconds stay in the time column.
  const bool separator = milliseconds && !sepColCheckBox_->isChecked();
  separatorEdit_->setEnabled(separator);
  msecSeparator_->setEnabled(separator);
}

void TExportForm::SepColCheckBoxClick() {
  const bool separator = !sepColCheckBox_->isChecked();
  separatorEdit_->setEnabled(separator);
  msecSeparator_->setEnabled(separator);
}

QString TExportForm::FileName() const { return fileNameEdit_->text(); }

bool TExportForm::IncludeMilliseconds() const { return milisecCheckBox_->isChecked(); }

bool TExportForm::MillisecondsInOwnColumn() const { return sepColCheckBox_->isChecked(); }

QChar TExportForm::Separator() const {
  const QString text = separatorEdit_->text();
  return text.isEmpty() ? QLatin1Char('.') : text.front();
}

}  // namespace history
