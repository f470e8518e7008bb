#include "ui/print_service.h"

#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "ui/user_interaction.h"

namespace ui {

QString NoPrinterText() {
  return QStringLiteral("Nenhuma impressora instalada! Instale uma impressora no sistema para imprimir.");
}

QString NotPrintedText(const QPrinter& printer) {
  const QString name = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
  return name.isEmpty() ? QStringLiteral("Não foi possível imprimir!")
                        : QStringLiteral("Não foi possível imprimir em \"%1\"!").arg(name);
}

QtPrintService::QtPrintService(UserInteraction& ui, InstalledPrinters installedPrinters)
    : ui_(ui),
      installedPrinters_(installedPrinters ? std::move(installedPrinters) : [] { return QPrinterInfo::availablePrinterNames(); }),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

QtPrintService::~QtPrintService() = default;

std::optional<PrintJob> QtPrintService::Prepare(QWidget* parent, const PrintDialogSetup& setup) {
  // Without a printer the dialog lists none and its Print button prints nowhere.
  if (installedPrinters_().isEmpty()) {
    ui_.ShowMessage(parent, NoPrinterText());
    return std::nullopt;
  }
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

void QtPrintService::TellNotPrinted(QWidget* parent, const PrintJob& job) {
  if (job.printer != nullptr) ui_.ShowMessage(parent, NotPrintedText(*job.printer));
}

PdfFilePrintService::PdfFilePrintService(QString fileName, UserInteraction* ui)
    : fileName_(std::move(fileName)), ui_(ui) {}

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

void PdfFilePrintService::TellNotPrinted(QWidget* parent, const PrintJob& job) {
  ++notPrinted_;
  if (ui_ != nullptr && job.printer != nullptr) ui_->ShowMessage(parent, NotPrintedText(*job.printer));
}

}  // namespace ui
