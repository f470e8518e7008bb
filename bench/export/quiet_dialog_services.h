#pragma once
// Dialog services for the dialog's benchmarks: nothing is printed or asked, so the figures are
// the form's and the export's alone. The run's progress window is shown, as a user sees it: its
// cost is part of what the dialog's export takes.
#include <QDialog>
#include <optional>
#include <string>

#include "export/dialog/dialog_services.h"
#include "export/shell_service.h"

namespace benchsupport {

class QuietShell : public vantrix::TVantrixShell {
 public:
  std::string Open(const std::string&) override { return {}; }
  std::string Print(const std::string&) override { return {}; }
  std::string SetClipboardText(const std::string&) override { return {}; }
};

class QuietServices : public vantrix::DialogServices {
 public:
  vantrix::MessageAnswer Message(QWidget*, const vantrix::MessageRequest&) override { return vantrix::MessageAnswer::No; }
  std::optional<QString> InputBox(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  std::optional<QString> OpenFile(QWidget*, const vantrix::FileRequest&) override { return {}; }
  std::optional<QString> SaveFile(QWidget*, const vantrix::FileRequest&) override { return {}; }
  std::optional<uint32_t> ChooseColor(QWidget*, uint32_t) override { return {}; }
  std::optional<vantrix::TVantrixFont> ChooseFont(QWidget*, const vantrix::TVantrixFont&) override { return {}; }
  int RunModal(QDialog*) override { return QDialog::Rejected; }
  vantrix::TVantrixShell& Shell() override { return shell; }
  QuietShell shell;
};

}  // namespace benchsupport
