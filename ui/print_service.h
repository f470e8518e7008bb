#pragma once
// The program's printer and its print dialog. Every print command takes its printer from here
// and runs the dialog through it, so one printer keeps the user's choices from one print to
// the next, and tests print into a PDF file with no dialog at all.
#include <QString>
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
  // Prepares and runs the print dialog over `parent`; nothing when the user cancels.
  virtual std::optional<PrintJob> Prepare(QWidget* parent, const PrintDialogSetup& setup) = 0;
};

// The system's print dialog on the program's one printer, run through `ui` (so a scripted
// user can answer it).
class QtPrintService : public PrintService {
 public:
  explicit QtPrintService(UserInteraction& ui);
  ~QtPrintService() override;
  std::optional<PrintJob> Prepare(QWidget* parent, const PrintDialogSetup& setup) override;

 private:
  UserInteraction& ui_;
  std::unique_ptr<QPrinter> printer_;
};

// Prints into a PDF file without asking: for tools and tests. Each print replaces the file;
// the page is A4 at 1200 dots per inch.
class PdfFilePrintService : public PrintService {
 public:
  explicit PdfFilePrintService(QString fileName);
  ~PdfFilePrintService() override;
  std::optional<PrintJob> Prepare(QWidget* parent, const PrintDialogSetup& setup) override;

  void SetFileName(const QString& fileName) { fileName_ = fileName; }
  // Answers the next dialogs as a user pressing Cancel (false) or OK (true).
  void SetConfirm(bool confirm) { confirm_ = confirm; }
  int DialogCount() const { return dialogs_; }
  const PrintDialogSetup& LastSetup() const { return lastSetup_; }

 private:
  QString fileName_;
  bool confirm_ = true;
  int dialogs_ = 0;
  PrintDialogSetup lastSetup_;
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace ui
