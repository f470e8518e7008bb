// The export dialog's options file, the one file of the dialog that people carry between
// machines and edit by hand: the input is the file's text. A form loads it and saves it; that
// save, loaded into another form, saves the same bytes again (whatever was read is kept within
// bounds and comes back as it went). The input is also read as a spreadsheet and an RTF
// strip-style file and as an HTML template, each of which saves to a fixed point too. Then the
// form runs its export of a small table to a file through its start button, with services that
// answer every question, and the run ends.
//
// The two forms are made once for the process and used by every input: making one costs far
// more than the loads and saves it is there for (a form per input let two to eight inputs a
// second through, and the memory grew with every form). A load takes every value from the file
// or, where the file has none, from the dialog, so a form that loaded an earlier input loads
// the next as a fresh one would; what a load or a template takes from the form instead (the PDF
// spacings, the captions a file without a captions section leaves, the order of the spreadsheet's
// field formats, the HTML exporter's colours and font), and what the services remember, is
// reset before each input.
//
// Most inputs of a fuzzing run differ from another only where a load ignores or bounds them, so
// they save what an earlier input saved. What follows a save depends on nothing but the saved
// bytes: a saved file whose fixed point was checked is not checked again, and options already
// run (the same files saved) are not run again. The first input of a process, and so an input
// replayed alone, gets every check and the run.
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "export/dialog/style_editing.h"
#include "export/dialog/style_lists.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/vantrix3_html.h"
#include "export/vantrix3_pdf.h"
#include "fuzz/export_table_source.h"
#include "fuzz/fuzz_target.h"
#include "platform/qt_text.h"
#include "tests/export/dialog/fake_dialog_services.h"

// Fontconfig keeps every pattern it has matched for the life of the process; libFuzzer's leak
// check, run after an input whose allocations outlive it, would count them as lost.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

// The hashes of byte strings seen before, in a table allocated once: an input that adds one
// allocates nothing, so libFuzzer, which reruns and leak-checks an input that allocates more than
// it frees, does not do so for every input that saved something new. Emptied when three
// quarters full (what was seen is then checked again).
class SeenBefore {
 public:
  // Whether these bytes were seen before; from now on they have been.
  bool Check(std::string_view bytes) {
    uint64_t hash = std::hash<std::string_view>()(bytes);
    hash += hash == 0;  // 0 marks a free slot
    if (count_ >= kSlots / 4 * 3) {
      std::fill(slots_.begin(), slots_.end(), 0);
      count_ = 0;
    }
    for (size_t at = hash & (kSlots - 1);; at = (at + 1) & (kSlots - 1)) {
      if (slots_[at] == hash) return true;
      if (slots_[at] == 0) {
        slots_[at] = hash;
        ++count_;
        return false;
      }
    }
  }

 private:
  static constexpr size_t kSlots = size_t{1} << 18;
  std::vector<uint64_t> slots_ = std::vector<uint64_t>(kSlots);
  size_t count_ = 0;
};

// Scripted services that keep the progress window of a run off the screen (showing and painting
// it would cost more than the run, and the window takes its codes all the same) and answer the
// one file dialog of an input from a slot of their own, which a queue, growing and shrinking by
// blocks, would not free in the input that filled it.
class FuzzServices : public testsupport::FakeDialogServices {
 public:
  void ShowModeless(QDialog*) override {}
  std::optional<QString> OpenFile(QWidget*, const vantrix::FileRequest&) override { return std::exchange(nextFile, {}); }
  std::optional<QString> nextFile;
};

// The process's one application (on the offscreen platform unless another was asked for), a
// folder of its own for the files each input writes, a dialog over the table with its services
// scripted (every question answered Yes, every file dialog cancelled unless a file is queued),
// and the two forms it opens, initialised as the dialog's Execute does.
struct Process {
  Process() {
    std::error_code ec;
    const bool shm = std::filesystem::is_directory("/dev/shm", ec);
    folder = std::filesystem::path(shm ? "/dev/shm" : std::filesystem::temp_directory_path()) /
             ("tervana-fuzz-dialog-" + std::to_string(getpid()));
    dialog.SetServices(&services);
    dialog.ExportSource = vantrix::esCustom;
    dialog.SetCustomSource(&source);
    dialog.Columns().Fill(true);
    for (auto& form : forms) {
      form = std::make_unique<vantrix::TVantrix3DialogF>(dialog);
      form->InitializeDialog();
    }
  }

  // What an input meets: an empty folder, services that remember nothing, and in each form the
  // values a load or a template would otherwise take from the input before.
  void Reset() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::filesystem::create_directories(folder);
    services.log.clear();
    services.nextFile.reset();
    services.shell.calls.clear();
    source.Rewind();
    const vantrix::TVantrixColumns& columns = dialog.Columns();
    for (auto& form : forms) {
      auto* grid = form->Control<QTableWidget>("sgrCaptions");
      for (int row = 1; row < grid->rowCount() && row <= columns.Count(); ++row)
        if (QTableWidgetItem* caption = grid->item(row, 1))
          caption->setText(platform::FromCp1252(columns[row - 1].Caption));
      // The spreadsheet's field formats in the columns' order, which exporting some fields
      // changes and a load of a file that exports none leaves.
      auto* fields = form->Control<QTreeWidget>("lstXLSFields");
      for (int c = 0; c < columns.Count() && c < fields->topLevelItemCount(); ++c) {
        const QString name = platform::FromCp1252(columns[c].Name);
        for (int i = c; i < fields->topLevelItemCount(); ++i)
          if (fields->topLevelItem(i)->text(0) == name) {
            vantrix::SetListItemIndex(fields->topLevelItem(i), c);
            break;
          }
      }
      vantrix::TPDFOptions& pdf = form->PDFExp().Options();
      pdf.ColSpacing = dialog.PDFOptions.ColSpacing;
      pdf.RowSpacing = dialog.PDFOptions.RowSpacing;
      vantrix::TVantrix3HTML& html = form->HTMLExp();
      html.HTMLOptions = freshHTML.HTMLOptions;
      html.TableOptions = freshHTML.TableOptions;
    }
  }

  static std::unique_ptr<QApplication> StartApplication(int& argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return std::make_unique<QApplication>(argc, argv);
  }

  int argc = 1;
  char name[8] = "fuzz";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<QApplication> app = StartApplication(argc, argv);  // before everything below
  std::filesystem::path folder;
  FuzzServices services;
  fuzz::ExportTableSource source;
  vantrix::TVantrix3Dialog dialog;
  const vantrix::TVantrix3HTML freshHTML;
  std::unique_ptr<vantrix::TVantrix3DialogF> forms[2];
  // Saved options files, strip-style files and templates whose fixed point was checked, and
  // the options run (all four saved together).
  SeenBefore checkedOptions, checkedXLSStyles, checkedRTFStyles, checkedTemplates, run;
};

// The folder goes when the process ends.
struct Folder {
  ~Folder() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
  std::filesystem::path path;
};

// Never destroyed: the forms' windows would outlive the Qt state they are torn down with,
// which goes first at exit.
Process& TheProcess() {
  static Folder folder;
  static Process* process = new Process;
  folder.path = process->folder;
  return *process;
}

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A file loaded, saved, loaded again and saved again: the second save is the first. The bytes
// of the first save; the second is left out when these bytes were checked before.
template <class Load, class Save>
std::string CheckFixedPoint(SeenBefore& checked, const std::filesystem::path& first, const std::filesystem::path& second,
                            Load load, Save save) {
  save(first);
  std::string saved = Bytes(first);
  if (checked.Check(saved)) return saved;
  load(first);
  save(second);
  FUZZ_CHECK(saved == Bytes(second));
  return saved;
}

// The form's export of the table through its start button, which tells a run's error (a page
// with no room inside its margins, say) as a message. The files it would read or write besides
// its own output are kept inside the folder, and the file is "shown" through the scripted
// shell so that the run never waits for the progress window to be closed.
void RunExport(vantrix::TVantrix3DialogF& form, Process& process) {
  form.SetFileName((process.folder / "out").string());
  form.SetShowFile(true);
  form.SetPrintFile(false);
  form.SetXLSPageBackground("");
  form.SetHTMLCSSFileName((process.folder / "out.css").string());
  process.source.Rewind();
  emit form.Control<QPushButton>("bStart")->clicked();
  FUZZ_CHECK(form.ProgressWindow() == nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Process& process = TheProcess();
  // Reset at the end as well as at the start, with the events Qt has pending done (the views'
  // delayed layouts, the deletions it defers): what an input makes is freed by that input, and
  // libFuzzer, which looks for a leak whenever an input allocates more than it frees, seldom
  // has to.
  process.Reset();
  struct ResetAtEnd {
    Process& process;
    ~ResetAtEnd() {
      process.Reset();
      QCoreApplication::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  } resetAtEnd{process};
  const std::filesystem::path& folder = process.folder;
  const fuzz::InputFile input("export-dialog-options", data, size);
  vantrix::TVantrix3DialogF& form = *process.forms[0];
  vantrix::TVantrix3DialogF& other = *process.forms[1];

  try {
    form.LoadExportOptions(input.Path());
  } catch (const std::exception&) {
    return 0;  // told to the user as a file that cannot be read
  }
  form.SaveExportOptions((folder / "s1.cfg").string());
  const std::string options = Bytes(folder / "s1.cfg");
  if (!process.checkedOptions.Check(options)) {
    other.LoadExportOptions((folder / "s1.cfg").string());
    other.SaveExportOptions((folder / "s2.cfg").string());
    FUZZ_CHECK(options == Bytes(folder / "s2.cfg"));
  }

  // The input as a strip-style file of each kind, loaded as the page's button loads one: the
  // styles it replaces are freed at once.
  vantrix::XLSLoadStyle(form, input.Path());
  form.ReleaseUnusedStyles();
  const std::string xlsStyles = CheckFixedPoint(
      process.checkedXLSStyles, folder / "t1.xst", folder / "t2.xst",
      [&](const auto& p) {
        vantrix::XLSLoadStyle(form, p.string());
        form.ReleaseUnusedStyles();
      },
      [&](const auto& p) { FUZZ_CHECK(vantrix::XLSSaveStyle(form, p.string())); });
  vantrix::RTFLoadStyle(form, input.Path());
  form.ReleaseUnusedStyles();
  const std::string rtfStyles = CheckFixedPoint(
      process.checkedRTFStyles, folder / "t1.rst", folder / "t2.rst",
      [&](const auto& p) {
        vantrix::RTFLoadStyle(form, p.string());
        form.ReleaseUnusedStyles();
      },
      [&](const auto& p) { FUZZ_CHECK(vantrix::RTFSaveStyle(form, p.string())); });

  // The input as an HTML template, chosen through the page's button as a person does.
  process.services.nextFile = QString::fromStdString(input.Path());
  emit form.Control<QPushButton>("bHTMLLoadTemplate")->clicked();
  const std::string htmlTemplate = CheckFixedPoint(
      process.checkedTemplates, folder / "t1.htf", folder / "t2.htf",
      [&](const auto& p) { form.HTMLExp().LoadTemplateFromFile(p.string()); },
      [&](const auto& p) { form.HTMLExp().SaveTemplateToFile(p.string()); });

  // The run depends on nothing but what was loaded, which the saved files hold.
  std::string loaded;
  for (const std::string* saved : {&options, &xlsStyles, &rtfStyles, &htmlTemplate})
    loaded += std::to_string(saved->size()) + ':' + *saved;
  if (!process.run.Check(loaded)) RunExport(form, process);
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
