#pragma once
// The program's printer and its print dialog. Every print command takes its printer from here
// and runs the dialog through it, so one printer keeps the user's choices from one print to
// the next, and tests print into a PDF file with no dialog at all.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace ui {

class UserInteraction;

// How a command wants the dialog. Whatever else it offers, the dialog never offers printing
// to a file (a printout goes to a printer), and it starts with the whole document as range.
struct PrintDialogSetup {
  bool offerSelection = false;  // a table may print only its selected rows
};

// A confirmed dialog: the printer to draw on (the service keeps it) and the range chosen.
struct PrintJob {
  QPrinter* printer = nullptr;
  bool selectionOnly = false;
};

class PrintService {
 public:
  virtual ~PrintService() = default;
  // Prepares and runs the print dialog over `parent`; nothing when the user cancels or when
  // there is nothing to print on (the user has been told).
  virtual std::optional<PrintJob> Prepare(QWidget* parent, const PrintDialogSetup& setup) = 0;
  // Tells the user that the job's printer did not print (it would not start: gone, refused,
  // a file that cannot be written), so that a print never ends in silence.
  virtual void TellNotPrinted(QWidget* parent, const PrintJob& job) = 0;
};

// What the user reads when no printer is installed, and when a printer did not print.
QString NoPrinterText();
QString NotPrintedText(const QPrinter& printer);

// The system's print dialog on the program's one printer, run through `ui` (so a scripted
// user can answer it). With no printer installed the dialog offers nothing to print on: the
// user is told so instead. `installedPrinters` names them (the system's list unless given).
class QtPrintService : public PrintService {
 public:
  using InstalledPrinters = std::function<QStringList()>;
  explicit QtPrintService(UserInteraction& ui, InstalledPrinters installedPrinters = nullptr);
  ~QtPrintService() override;
  std::optional<PrintJob> Prepare(QWidget* parent, const PrintDialogSetup& setup) override;
  void TellNotPrinted(QWidget* parent, const PrintJob& job) override;

 private:
  UserInteraction& ui_;
  InstalledPrinters installedPrinters_;
  std::unique_ptr<QPrinter> printer_;
};

// Prints into a PDF file without asking: for tools and tests. Each print replaces the file;
// the page is A4 at 1200 dots per inch. A file that cannot be written is told through `ui`
// when one is given, and counted.
class PdfFilePrintService : public PrintService {
 public:
  explicit PdfFilePrintService(QString fileName, UserInteraction* ui = nullptr);
  ~PdfFilePrintService() override;
  std::optional<PrintJob> Prepare(QWidget* parent, const PrintDialogSetup& setup) override;
  void TellNotPrinted(QWidget* parent, const PrintJob& job) override;

  void SetFileName(const QString& fileName) { fileName_ = fileName; }
  // Answers the next dialogs as a user pressing Cancel (false) or OK (true).
  void SetConfirm(bool confirm) { confirm_ = confirm; }
  int DialogCount() const { return dialogs_; }
  int NotPrintedCount() const { return notPrinted_; }
  const PrintDialogSetup& LastSetup() const { return lastSetup_; }

 private:
  QString fileName_;
  UserInteraction* ui_ = nullptr;
  int notPrinted_ = 0;
  bool confirm_ = true;
  int dialogs_ = 0;
  PrintDialogSetup lastSetup_;
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace ui
