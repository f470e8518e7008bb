#include "ui/user_interaction.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "ui/program_constants.h"

namespace ui {
namespace {

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, request.title);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  const QStringList filters = ToQtFileFilter(request.filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
  dialog.setNameFilters(filters);
  if (request.filterIndex >= 1 && request.filterIndex <= filters.size()) dialog.selectNameFilter(filters[request.filterIndex - 1]);
  // The windows ask before overwriting where they must, in their own words.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

}  // namespace

QString ToQtFileFilter(const QString& classicFilter) {
  const QStringList parts = classicFilter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString name = parts[i].trimmed();
    QStringList masks = parts[i + 1].trimmed().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& mask : masks) {
      mask = mask.trimmed();
      if (mask == QStringLiteral("*.*")) mask = QStringLiteral("*");
    }
    const qsizetype open = name.indexOf(QLatin1Char('('));
    const QString label = open >= 0 ? name.left(open).trimmed() : name;
    filters << QStringLiteral("%1 (%2)").arg(label, masks.join(QLatin1Char(' ')));
  }
  return filters.join(QStringLiteral(";;"));
}

bool QtUserInteraction::AskYesNo(QWidget* parent, const QString& caption, const QString& text) {
  return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

void QtUserInteraction::ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()), text);
}

void QtUserInteraction::ShowError(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox::critical(parent, caption, text);
}

void QtUserInteraction::ShowWarning(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox::warning(parent, caption, text);
}

std::optional<QString> QtUserInteraction::ChooseOpenFile(QWidget* parent, const FileDialogRequest& request) {
  return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtUserInteraction::ChooseSaveFile(QWidget* parent, const FileDialogRequest& request) {
  return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

int QtUserInteraction::RunModal(QDialog* dialog) { return dialog->exec(); }

}  // namespace ui
