// Saving and loading the export dialog's options file, and the library's own.
// 1. A large spreadsheet setup: 100 fields, 50 strip styles and 100 extension items (20 of each
//    kind). Each figure is the best of three runs on the wall clock; the target is at most
//    100 ms for a save and for a load.
// 2. Growth: every list an options file holds, at n sections (or lines, or fields) for n from
//    1,000 doubling up to --sections (100,000, the last step smaller when it is no doubling):
//    notes with their lines, the lines of one note, charts with a series each, the series of
//    one chart, hyperlinks, extra cells, merged ranges, spreadsheet and RTF strip styles, header
//    lines, the fields of the source (their formats, exported names, captions, widths and
//    alignments), and the library's lists saved and loaded by a text exporter. Each figure is
//    printed with its ratio to the one at the size before: about 2 for a doubling when the cost
//    grows linearly, about 4 when it grows with the square (a note's erased lines section
//    dropping the section index, a chart looking through every section for its series).
// 3. A wide table: the columns of a table of n columns filled from a line per column in each
//    list (captions, widths, alignments, user formats), as every text or CSV export starts,
//    the export dialog opened on it, and a CSV export of its one row from the dialog, for n
//    from 1,000 doubling up to --columns (32,000).
//   options_file_bench [--fields N] [--styles N] [--items N] [--sections N] [--smallest N]
//                      [--columns N] [--only TEXT]   (the kinds whose name holds TEXT)
#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/export/quiet_dialog_services.h"
#include "export/custom_source.h"
#include "export/dialog/dialog_services.h"
#include "export/dialog/list_items.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/shell_service.h"
#include "export/vantrix3_ascii.h"
#include "export/xls/xls_cell.h"
#include "export/xls/xls_chart.h"
#include "export/xls/xls_link_note.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRepeats = 3;

double Milliseconds(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

double Time(const std::function<void()>& work) {
  const Clock::time_point start = Clock::now();
  work();
  return Milliseconds(start);
}

int Argument(int argc, char** argv, const char* name, int def) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) return std::max(1, std::atoi(argv[i + 1]));
  return def;
}

// A dialog over a source of some columns, its services quiet.
struct Setup {
  explicit Setup(int fields) {
    dialog.SetServices(&services);
    dialog.ExportSource = vantrix::esCustom;
    dialog.SetCustomSource(&source);
    for (int i = 0; i < fields; ++i) source.Columns().Add()->SetColumnName("Field" + std::to_string(i));
  }
  std::unique_ptr<vantrix::TVantrix3DialogF> Open() {
    dialog.Columns().Clear();
    dialog.Columns().Fill(true);
    auto form = std::make_unique<vantrix::TVantrix3DialogF>(dialog);
    form->InitializeDialog();
    return form;
  }
  benchsupport::QuietServices services;
  vantrix::TVantrixCustomSource source;
  vantrix::TVantrix3Dialog dialog;
};

void LargeSetup(int fields, int styles, int items, const std::string& file) {
  Setup setup(fields);
  vantrix::TVantrixXLSOptions& xls = setup.dialog.XLSOptions;
  for (int i = 0; i < styles; ++i) xls.StripStyles.Add().Font.Size = 8 + i % 10;
  for (int i = 0; i < items; ++i) {
    switch (i % 5) {
      case 0: xls.Hyperlinks.Add().Target = u"http://example.org/page"; break;
      case 1: xls.Notes.Add().Lines = {"first line", "second line"}; break;
      case 2: xls.Charts.Add().Title = u"Trend"; break;
      case 3: xls.Cells.Add().Col = i; break;
      default: xls.MergedCells.Add().LastCol = i % 200; break;
    }
  }
  const auto form = setup.Open();
  double save = 1e9, load = 1e9;
  for (int run = 0; run < kRepeats; ++run) {
    save = std::min(save, Time([&] { form->SaveExportOptions(file); }));
    load = std::min(load, Time([&] { form->LoadExportOptions(file); }));
  }
  const auto bytes = std::filesystem::file_size(file);
  std::printf("options file: %d fields, %d strip styles, %d extension items, %ju bytes\n", fields, styles, items,
              static_cast<uintmax_t>(bytes));
  std::printf("save %.1f ms, load %.1f ms (best of %d; target at most 100 ms each)\n", save, load, kRepeats);
}

// Figures of one kind of file, by size.
struct Growth {
  std::string what;
  std::map<int, double> ms;
};

void Print(const Growth& g) {
  std::printf("  %-40s", g.what.c_str());
  double previous = 0;
  int previousSize = 0;
  for (const auto& [n, ms] : g.ms) {
    std::printf("  %6d: %8.1f ms", n, ms);
    if (previous > 0) {
      std::printf(" (x%.2f", ms / previous);
      if (n != 2 * previousSize) std::printf(" for x%.2f", static_cast<double>(n) / previousSize);
      std::printf(")");
    }
    previous = ms;
    previousSize = n;
  }
  std::printf("\n");
}

// n/2 charts, each with one series section: n sections.
void ChartFile(const std::string& file, int sections) {
  std::ofstream out(file, std::ios::binary);
  out << "[GENERAL]\r\nExportType=0\r\n";
  for (int i = 0; i < sections / 2; ++i) {
    out << "[XLS_CHART_" << i << "]\r\nStyle=2\r\nTitle=Chart " << i << "\r\n";
    out << "[XLS_CHART_" << i << "_SERIES_0]\r\nColor=3\r\nColumn=Field0\r\nRow1=1\r\nRow2=" << i % 100 + 2 << "\r\n";
  }
}

// A kind of list the dialog's file holds: the dialog's items for n sections (or lines), the
// source's fields, and the format whose file holds them.
struct DialogKind {
  const char* what;
  vantrix::TAllowedExport format;
  bool grownFields;  // n fields in the source instead of three
  std::function<void(vantrix::TVantrix3Dialog&, int n)> fill;
};

std::vector<DialogKind> DialogKinds() {
  using vantrix::TVantrix3Dialog;
  return {
      {"notes + lines", vantrix::aeXLS, false,
       [](TVantrix3Dialog& d, int n) {
         for (int i = 0; i < n / 2; ++i) d.XLSOptions.Notes.Add().Lines = {"first line", "second line"};
       }},
      {"lines of one note", vantrix::aeXLS, false,
       [](TVantrix3Dialog& d, int n) {
         vantrix::TxlsNote& note = d.XLSOptions.Notes.Add();
         for (int i = 0; i < n; ++i) note.Lines.push_back("line " + std::to_string(i));
       }},
      {"series of one chart", vantrix::aeXLS, false,
       [](TVantrix3Dialog& d, int n) {
         vantrix::TxlsChart& chart = d.XLSOptions.Charts.Add();
         for (int i = 0; i < n; ++i) chart.Series.Add().DataColumn = "Field0";
       }},
      {"hyperlinks", vantrix::aeXLS, false,
       [](TVantrix3Dialog& d, int n) {
         for (int i = 0; i < n; ++i) d.XLSOptions.Hyperlinks.Add().Target = u"http://example.org/page";
       }},
      {"extra cells", vantrix::aeXLS, false,
       [](TVantrix3Dialog& d, int n) {
         for (int i = 0; i < n; ++i) d.XLSOptions.Cells.Add().Col = i % 200 + 1;
       }},
      {"merged ranges", vantrix::aeXLS, false,
       [](TVantrix3Dialog& d, int n) {
         for (int i = 0; i < n; ++i) d.XLSOptions.MergedCells.Add().LastCol = i % 200 + 1;
       }},
      {"spreadsheet strip styles", vantrix::aeXLS, false,
       [](TVantrix3Dialog& d, int n) {
         for (int i = 0; i < n; ++i) d.XLSOptions.StripStyles.Add().Font.Size = 8 + i % 10;
       }},
      {"RTF strip styles", vantrix::aeRTF, false,
       [](TVantrix3Dialog& d, int n) {
         for (int i = 0; i < n; ++i) d.RTFOptions.StripStyles.Add().Font.size = 8 + i % 10;
       }},
      {"header lines", vantrix::aeCSV, false,
       [](TVantrix3Dialog& d, int n) {
         for (int i = 0; i < n; ++i) d.Header.push_back("header line " + std::to_string(i));
       }},
      {"fields, workbook", vantrix::aeXLS, true, [](TVantrix3Dialog&, int) {}},
      {"fields, text", vantrix::aeTXT, true, [](TVantrix3Dialog&, int) {}},
  };
}

// n fields, each with a caption of its own (the source's: a caption line each would make the
// column model's set-up, not the file, the figure), and, once the form is open, a user format
// and exported: every field list of the file.
void GrowFields(Setup& setup, int n) {
  setup.source.Columns().Clear();
  for (int i = 0; i < n; ++i) {
    vantrix::TVantrixCustomColumn* column = setup.source.Columns().Add();
    column->SetColumnName("Field" + std::to_string(i));
    column->SetColumnType(vantrix::ectFloat);
    column->SetCaption("Caption " + std::to_string(i));
  }
}

void ExportEveryField(vantrix::TVantrix3DialogF& form) {
  auto* userFormats = form.Control<QTreeWidget>("lstUserFormats");
  auto* available = form.Control<QTreeWidget>("lstAvailableFields");
  for (int i = 0; i < available->topLevelItemCount(); ++i) {
    auto* format = vantrix::AddListItem(userFormats, available->topLevelItem(i)->text(0), 2, nullptr);
    format->setText(1, QStringLiteral("="));
    format->setText(2, QStringLiteral("0.000"));
  }
  form.bAddAllExportedFieldClick();
}

// The library's own file: a text exporter's lists of n lines each (header, footer, exported
// fields, captions, user formats, alignments, widths), saved over the file it was loaded from.
void LibraryLists(const std::string& file, int n, Growth& save, Growth& load) {
  vantrix::TVantrix3ASCII exporter;
  for (int i = 0; i < n; ++i) {
    const std::string name = "Field" + std::to_string(i);
    exporter.Header.push_back("header line " + std::to_string(i));
    exporter.Footer.push_back("footer line " + std::to_string(i));
    exporter.ExportedFields.push_back(name);
    exporter.Captions.push_back(name + "=Caption");
    exporter.UserFormats.push_back(name + "=0.0");
    exporter.ColumnsAlign.push_back(name + "=Right");
    exporter.ColumnsWidth.push_back(name + "=12");
  }
  std::filesystem::remove(file);
  exporter.SavePropertiesToFile(file);
  save.ms[n] = Time([&] { exporter.SavePropertiesToFile(file); });
  vantrix::TVantrix3ASCII loaded;
  load.ms[n] = Time([&] { loaded.LoadPropertiesFromFile(file); });
}

// A table of n columns with a line per column in each list (captions, widths, alignments,
// user formats), named in reverse order so that no list holds a column where it stands.
template <typename Owner>
void WideTableLines(Owner& owner, vantrix::TVantrixCustomSource& source, int n) {
  source.Columns().Clear();
  for (int i = 0; i < n; ++i) {
    vantrix::TVantrixCustomColumn* column = source.Columns().Add();
    column->SetColumnName("Field" + std::to_string(i));
    column->SetColumnType(vantrix::ectFloat);
  }
  for (int i = n - 1; i >= 0; --i) {
    const std::string name = "Field" + std::to_string(i);
    owner.Captions.push_back(name + "=Caption " + std::to_string(i));
    owner.ColumnsWidth.push_back(name + "=12");
    owner.ColumnsAlign.push_back(name + "=Right");
    owner.UserFormats.push_back(name + "=0.000");
  }
}

// Filling the columns of a wide table from its per-column lines, as every text or CSV export
// does at its start, opening the export dialog on it, which fills them too, and a CSV export of
// its one row from the dialog, which copies the lines into the exporter and fills again.
void WideTableFigures(int smallest, int largest, const std::string& file) {
  Growth fill{"wide table: fill the columns", {}}, open{"wide table: open the dialog", {}},
      run{"wide table: one-row CSV from the dialog", {}};
  for (int n = smallest; n <= largest; n *= 2) {
    vantrix::TVantrixCustomSource source;
    vantrix::TVantrix3ASCII exporter;
    WideTableLines(exporter, source, n);
    exporter.SetExportSource(vantrix::esCustom);
    exporter.SetCustomSource(&source);
    fill.ms[n] = Time([&] {
      exporter.Columns().Clear();
      exporter.Columns().Fill(true);
    });
    if (exporter.Columns().Count() != n || exporter.Columns()[n - 1].Width != 12) std::abort();

    Setup setup(0);
    WideTableLines(setup.dialog, setup.source, n);
    setup.source.OnGetNextRecord = [](vantrix::TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo > 1; };
    setup.dialog.AllowedExports = vantrix::TAllowedExports(1u << vantrix::aeCSV);
    const std::string csv = file + ".csv";
    setup.dialog.FileName = csv;
    std::unique_ptr<vantrix::TVantrix3DialogF> form;
    open.ms[n] = Time([&] { form = setup.Open(); });
    form->show();
    run.ms[n] = Time([&] { form->bStartClick(); });
    if (!std::filesystem::exists(csv)) {
      std::fprintf(stderr, "the dialog's export of %d columns made no file\n", n);
      std::exit(1);
    }
    std::filesystem::remove(csv);
  }
  std::printf("\ncolumns of a wide table, time, and ratio to the size before (2 = linear)\n");
  Print(fill);
  Print(open);
  Print(run);
}

void GrowthFigures(int smallest, int largest, const std::string& only, const std::string& file) {
  std::vector<int> sizes;
  for (int n = smallest; n < largest; n *= 2) sizes.push_back(n);
  sizes.push_back(largest);
  const auto chosen = [&only](const std::string& what) { return what.find(only) != std::string::npos; };
  std::vector<Growth> figures;
  Growth chartLoad{"charts + series: load", {}}, chartSave{"charts + series: save", {}};
  for (const int n : sizes) {
    if (!chosen("charts + series")) break;
    Setup setup(3);
    const auto form = setup.Open();
    ChartFile(file, n);
    chartLoad.ms[n] = Time([&] { form->LoadExportOptions(file); });
    chartSave.ms[n] = Time([&] { form->SaveExportOptions(file); });
  }
  figures.push_back(chartLoad);
  figures.push_back(chartSave);
  for (const DialogKind& kind : DialogKinds()) {
    if (!chosen(kind.what)) continue;
    Growth save{std::string(kind.what) + ": save", {}}, load{std::string(kind.what) + ": load", {}};
    for (const int n : sizes) {
      Setup setup(3);
      if (kind.grownFields) GrowFields(setup, n);
      kind.fill(setup.dialog, n);
      const auto form = setup.Open();
      if (kind.grownFields) ExportEveryField(*form);
      if (form->GetExportType() != kind.format) {
        form->SetExportType(kind.format);
        form->rgExportTypeClick();
      }
      std::filesystem::remove(file);
      save.ms[n] = Time([&] { form->SaveExportOptions(file); });
      load.ms[n] = Time([&] { form->LoadExportOptions(file); });
    }
    figures.push_back(save);
    figures.push_back(load);
  }
  Growth librarySave{"library lists (7 x n lines): save", {}}, libraryLoad{"library lists (7 x n lines): load", {}};
  for (const int n : sizes)
    if (chosen("library lists")) LibraryLists(file, n, librarySave, libraryLoad);
  figures.push_back(librarySave);
  figures.push_back(libraryLoad);
  std::printf("\ngrowth: sections (lines, fields) per file, time, and ratio to the size before (2 = linear)\n");
  for (const Growth& g : figures)
    if (!g.ms.empty()) Print(g);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int fields = Argument(argc, argv, "--fields", 100);
  const int styles = Argument(argc, argv, "--styles", 50);
  const int items = Argument(argc, argv, "--items", 100);
  const int sections = Argument(argc, argv, "--sections", 100000);
  const int smallest = std::min(Argument(argc, argv, "--smallest", 1000), sections);
  const int columns = Argument(argc, argv, "--columns", 32000);

  const std::filesystem::path file = std::filesystem::temp_directory_path() / "tervana_options_file_bench.cfg";
  LargeSetup(fields, styles, items, file.string());
  std::string only;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
  GrowthFigures(smallest, sections, only, file.string());
  if (only.empty() || std::string("wide table").find(only) != std::string::npos)
    WideTableFigures(std::min(1000, columns), columns, file.string());
  std::filesystem::remove(file);
  return 0;
}
