// The export dialog's options file, the one file of the dialog that people carry between
// machines and edit by hand: the input is the file's text. A fresh form loads it and saves it;
// that save, loaded into another fresh form, saves the same bytes again (whatever was read is
// kept within bounds and comes back as it went). The input is also read as a spreadsheet and an
// RTF strip-style file and as an HTML template, each of which saves to a fixed point too. Then
// the form runs its export of a small table to a file through its start button, with services
// that answer every question, and the run ends.
#include <QApplication>
#include <QPushButton>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "export/dialog/style_lists.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/vantrix3_html.h"
#include "fuzz/export_table_source.h"
#include "fuzz/fuzz_target.h"
#include "tests/export/dialog/fake_dialog_services.h"

// Fontconfig keeps every pattern it has matched for the life of the process; libFuzzer's leak
// check, run after an input whose allocations outlive it, would count them as lost.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

// What one input works with, made afresh so that no input sees what another left: a dialog
// over the table, its services scripted (every question answered Yes, every file dialog
// cancelled unless a file is queued), and the forms it opens.
struct Session {
  Session() {
    dialog.SetServices(&services);
    dialog.ExportSource = vantrix::esCustom;
    dialog.SetCustomSource(&source);
  }

  // A form on the table's columns, initialised as the dialog's Execute does.
  std::unique_ptr<vantrix::TVantrix3DialogF> Open() {
    dialog.Columns().Clear();
    dialog.Columns().Fill(true);
    auto form = std::make_unique<vantrix::TVantrix3DialogF>(dialog);
    form->InitializeDialog();
    return form;
  }

  testsupport::FakeDialogServices services;
  fuzz::ExportTableSource source;
  vantrix::TVantrix3Dialog dialog;
};

// One application for the process, on the offscreen platform unless another was asked for,
// and a folder of its own for the files each input writes. A first form is made and dropped
// here, so that the fonts and styles Qt caches for good are in place before any input runs.
struct Process {
  Process() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    app = std::make_unique<QApplication>(argc, argv);
    std::error_code ec;
    const bool shm = std::filesystem::is_directory("/dev/shm", ec);
    folder = std::filesystem::path(shm ? "/dev/shm" : std::filesystem::temp_directory_path()) /
             ("tervana-fuzz-dialog-" + std::to_string(getpid()));
    Session warmUp;
    warmUp.Open()->show();
  }
  ~Process() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  int argc = 1;
  char name[8] = "fuzz";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<QApplication> app;
  std::filesystem::path folder;
};

Process& TheProcess() {
  static Process process;
  return process;
}

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A file loaded, saved, loaded again and saved again: the second save is the first.
template <class Load, class Save>
void CheckFixedPoint(const std::filesystem::path& first, const std::filesystem::path& second, Load load, Save save) {
  save(first);
  load(first);
  save(second);
  FUZZ_CHECK(Bytes(first) == Bytes(second));
}

// The form's export of the table through its start button, which tells a run's error (a page
// with no room inside its margins, say) as a message. The files it would read or write besides
// its own output are kept inside the folder, and the file is "shown" through the scripted
// shell so that the run never waits for the progress window to be closed.
void RunExport(vantrix::TVantrix3DialogF& form, Session& session, const std::filesystem::path& folder) {
  form.SetFileName((folder / "out").string());
  form.SetShowFile(true);
  form.SetPrintFile(false);
  form.SetXLSPageBackground("");
  form.SetHTMLCSSFileName((folder / "out.css").string());
  session.source.Rewind();
  emit form.Control<QPushButton>("bStart")->clicked();
  FUZZ_CHECK(form.ProgressWindow() == nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Process& process = TheProcess();
  std::error_code ec;
  std::filesystem::remove_all(process.folder, ec);
  std::filesystem::create_directories(process.folder);
  const std::filesystem::path& folder = process.folder;
  const fuzz::InputFile input("export-dialog-options", data, size);

  Session session;
  const std::unique_ptr<vantrix::TVantrix3DialogF> form = session.Open();
  try {
    form->LoadExportOptions(input.Path());
  } catch (const std::exception&) {
    return 0;  // told to the user as a file that cannot be read
  }
  form->SaveExportOptions((folder / "s1.cfg").string());
  {
    const std::unique_ptr<vantrix::TVantrix3DialogF> fresh = session.Open();
    fresh->LoadExportOptions((folder / "s1.cfg").string());
    fresh->SaveExportOptions((folder / "s2.cfg").string());
    FUZZ_CHECK(Bytes(folder / "s1.cfg") == Bytes(folder / "s2.cfg"));
  }

  // The input as a strip-style file of each kind.
  vantrix::XLSLoadStyle(*form, input.Path());
  CheckFixedPoint(
      folder / "t1.xst", folder / "t2.xst", [&](const auto& p) { vantrix::XLSLoadStyle(*form, p.string()); },
      [&](const auto& p) { FUZZ_CHECK(vantrix::XLSSaveStyle(*form, p.string())); });
  vantrix::RTFLoadStyle(*form, input.Path());
  CheckFixedPoint(
      folder / "t1.rst", folder / "t2.rst", [&](const auto& p) { vantrix::RTFLoadStyle(*form, p.string()); },
      [&](const auto& p) { FUZZ_CHECK(vantrix::RTFSaveStyle(*form, p.string())); });

  // The input as an HTML template, chosen through the page's button as a person does.
  session.services.files.push_back(QString::fromStdString(input.Path()));
  emit form->Control<QPushButton>("bHTMLLoadTemplate")->clicked();
  CheckFixedPoint(
      folder / "t1.htf", folder / "t2.htf", [&](const auto& p) { form->HTMLExp().LoadTemplateFromFile(p.string()); },
      [&](const auto& p) { form->HTMLExp().SaveTemplateToFile(p.string()); });

  RunExport(*form, session, folder);
  return 0;
}

std::vector<fuzz::CraftedInput> fuzz::CraftedInputs() {
  // Counts and sizes at the ends of their types, which a hand-edited file may hold.
  return {
      {"counts of 2^31-1 for a spreadsheet",
       "[GENERAL]\nExportType=0\nExportRecCount=2147483647\nSkipRecCount=2147483647\nCaptionRow=2147483647\n"
       "[XLS_STYLE_ITEM_0]\nFontSize=2147483647\n[XLS_CELL_0]\nCol=2147483647\nRow=-2147483648\n"},
      {"HTML split into one-row files",
       "[GENERAL]\nExportType=3\n[HTML]\nFileRecCount=1\nGenerateIndex=1\nCSS=1\nOverwriteCSSFile=1\n"},
  };
}
