#include "ui/print_service.h"

#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

#include "ui/user_interaction.h"

namespace ui {

QtPrintService::QtPrintService(UserInteraction& ui)
    : ui_(ui), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

QtPrintService::~QtPrintService() = default;

std::optional<PrintJob> QtPrintService::Prepare(QWidget* parent, const PrintDialogSetup& setup) {
  // A file chosen for an earlier print is forgotten, and the whole document is the range.
  printer_->setOutputFileName(QString());
  printer_->setPrintRange(QPrinter::AllPages);
  QPrintDialog dialog(printer_.get(), parent);
  dialog.setObjectName(QStringLiteral("PrintDialog"));
  // Every option cleared: no printing to a file, no page range; selection where asked for.
  QAbstractPrintDialog::PrintDialogOptions options;
  if (setup.offerSelection) options |= QAbstractPrintDialog::PrintSelection;
  dialog.setOptions(options);
  if (ui_.RunModal(&dialog) != QDialog::Accepted) return std::nullopt;
  return PrintJob{printer_.get(), printer_->printRange() == QPrinter::Selection};
}

PdfFilePrintService::PdfFilePrintService(QString fileName) : fileName_(std::move(fileName)) {}

PdfFilePrintService::~PdfFilePrintService() = default;

std::optional<PrintJob> PdfFilePrintService::Prepare(QWidget*, const PrintDialogSetup& setup) {
  ++dialogs_;
  lastSetup_ = setup;
  if (!confirm_) return std::nullopt;
  printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer_->setOutputFormat(QPrinter::PdfFormat);
  printer_->setPageSize(QPageSize(QPageSize::A4));
  printer_->setOutputFileName(fileName_);
  return PrintJob{printer_.get(), false};
}

}  // namespace ui
