// Spreadsheet export figures: a table of a date-time text column and nine number columns
// exported whole into a workbook file (its rows continued on a second sheet), in seconds and
// peak memory against the targets; the same table all text, as the history viewer hands its
// table over (every cell a shared string, automatic widths, a handler styling its value-name
// row) beside it; the floor: every cell asked of the source with nothing made of it; and the
// table again with 1,000 notes and 100 images, against what they may add.
//   xls_export_bench [--rows N] [--runs N]   (default 100,000 rows, the best of 3 runs)
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "export/datetime_picture.h"
#include "export/float_picture.h"
#include "export/xls/vantrix3_xls.h"
#include "export/xls/xls_file.h"
#include "platform/datetime.h"

namespace {

using bench::Clock;
using bench::Seconds;
using bench::CpuSeconds;
using bench::StatusMb;
using bench::ResetPeak;

constexpr double kTargetSeconds = 0.3;
constexpr double kTargetMb = 64;
constexpr double kTargetLoadSeconds = 0.5;
constexpr double kTargetDrawingSeconds = 0.2;
constexpr int kPool = 1024;

// The table: a distinct date-time text per record and nine number texts from a pool, made
// before the runs so that a run costs the export alone.
class BenchTable {
 public:
  BenchTable(int rows, const vantrix::FormatSettings& settings, bool allText) : rows_(rows) {
    TDateTime start = 0;
    platform::TryEncodeDateTime(2026, 12, 7, 14, 0, 0, 0, start);
    stamps_.reserve(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r)
      stamps_.push_back(vantrix::FormatDateTime("dd/mm/yyyy hh:nn:ss", start + r / 86400.0, settings));
    for (int i = 0; i < kPool; ++i)
      numbers_.push_back(vantrix::FloatToStr(((i * 7919) % 20011 - 10000) / 100.0, settings));
    for (int c = 0; c < 10; ++c) {
      vantrix::TVantrixCustomColumn* column = source_.Columns().Add();
      column->SetColumnName(c == 0 ? "Data" : "Valor" + std::to_string(c));
      column->SetColumnType(allText || c == 0 ? vantrix::ectString : vantrix::ectFloat);
      column->SetWidth(c == 0 ? 19 : 9);
    }
    source_.OnGetNextRecord = [this](vantrix::TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo >= rows_; };
    source_.OnGetColumnText = [this](vantrix::TVantrixCustomSource&, int recNo,
                                     const vantrix::TVantrixCustomColumn& column, std::string& text) {
      const auto r = static_cast<size_t>(recNo - 1);
      text = column.Index() == 0 ? stamps_[r] : numbers_[(r * 13 + static_cast<size_t>(column.Index())) % kPool];
    };
  }
  vantrix::TVantrixCustomSource& Source() {
    source_.ClearEof();
    return source_;
  }

 private:
  int rows_;
  std::vector<std::string> stamps_, numbers_;
  vantrix::TVantrixCustomSource source_;
};

struct Figures {
  double seconds = 1e9, cpu = 1e9, peakMb = 0;
  int sheets = 0;
};

// The best of the runs; the peak is the largest over them, above what the process held before.
Figures Export(BenchTable& table, const vantrix::FormatSettings& settings, bool viewerShape, const std::string& file,
               int runs, const std::function<void(vantrix::TVantrix3XLS&)>& extras = {}) {
  Figures best;
  for (int run = 0; run < runs; ++run) {
    vantrix::TVantrix3XLS xls;
    xls.Formats().SetSettings(settings);
    xls.Formats().ResetFormats();
    xls.SetExportSource(vantrix::esCustom);
    xls.SetCustomSource(&table.Source());
    xls.FileName = file;
    int captions = 0;
    xls.OnGetCaptionParams = [&captions](vantrix::TxlsSheet&, int, int col, vantrix::TxlsFormat&, std::string&) {
      captions += col == 0;
    };
    if (viewerShape) {
      xls.AutoCalcColWidth = true;
      xls.OnGetDataParams = [](vantrix::TxlsSheet& sheet, int, int, int row, vantrix::TxlsFormat& format, std::string&) {
        if (row == 1) format.SetFont(&sheet.Options.CaptionsFormat.Font);
      };
    }
    if (extras) extras(xls);
    const double rss = StatusMb("VmRSS");
    ResetPeak();
    const double cpu = CpuSeconds();
    const auto start = Clock::now();
    xls.Execute();
    best.seconds = std::min(best.seconds, Seconds(start));
    best.cpu = std::min(best.cpu, CpuSeconds() - cpu);
    best.peakMb = std::max(best.peakMb, StatusMb("VmHWM") - rss);
    best.sheets = captions;
  }
  return best;
}

// The floor: every cell asked of the source's own handler, with nothing made of it.
double Floor(BenchTable& table, int rows) {
  vantrix::TVantrixCustomSource& source = table.Source();
  std::string text;
  size_t sink = 0;
  const auto start = Clock::now();
  for (int r = 1; r <= rows; ++r)
    for (int c = 0; c < source.GetColCount(); ++c) {
      source.OnGetColumnText(source, r, *source.Columns().GetItem(c), text);
      sink += text.size();
    }
  const double seconds = Seconds(start);
  return sink > 0 ? seconds : 0;
}

struct LoadFigures {
  double seconds = 1e9, streamSeconds = 1e9, peakMb = 0;
  size_t cells = 0;
};

// The best of the runs at loading the workbook file whole, and at copying its stream alone.
LoadFigures Load(const std::string& file, int runs) {
  LoadFigures best;
  for (int run = 0; run < runs; ++run) {
    auto start = Clock::now();
    const size_t bytes = vantrix::ReadWorkbookStream(file).size();
    best.streamSeconds = std::min(best.streamSeconds, bytes > 0 ? Seconds(start) : 1e9);
    const double rss = StatusMb("VmRSS");
    ResetPeak();
    start = Clock::now();
    vantrix::TxlsFile book;
    book.FileName = file;
    book.Load();
    best.seconds = std::min(best.seconds, Seconds(start));
    best.peakMb = std::max(best.peakMb, StatusMb("VmHWM") - rss);
    best.cells = 0;
    for (size_t s = 0; s < book.Workbook().WorkSheetCount(); ++s) {
      const vantrix::TxlsWorkSheet& sheet = book.Workbook().WorkSheet(s);
      for (int r = 0; r < sheet.GetRowCount(); ++r)
        if (const vantrix::TxlsRow* row = sheet.Row(r)) best.cells += row->Count();
    }
  }
  return best;
}

void PrintLoad(const char* what, const LoadFigures& f) {
  std::printf("%s read back: %.3f s (target %.1f), peak %.1f MB, %zu cells; %.1f x the floor (the stream copied out "
              "of the compound file: %.3f s)\n",
              what, f.seconds, kTargetLoadSeconds, f.peakMb, f.cells, f.seconds / f.streamSeconds, f.streamSeconds);
}

}  // namespace

int main(int argc, char** argv) {
  // Text is measured with the fonts of a GUI, as in the program.
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QGuiApplication app(argc, argv);
  int rows = 100000, runs = 3;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--rows") == 0) rows = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
  }
  QTemporaryDir dir;
  const std::string file = dir.filePath("bench.xls").toStdString();
  const vantrix::FormatSettings settings = vantrix::FormatSettings::FromLocale(QLocale::c());

  BenchTable numbers(rows, settings, false);
  const double floor = Floor(numbers, rows);
  const Figures table = Export(numbers, settings, false, file, runs);
  const LoadFigures tableLoad = Load(file, runs);
  std::printf("spreadsheet export, %d rows x 10 columns (a date-time text and nine numbers): %.3f s (target %.1f), "
              "%.3f s of processor, peak %.1f MB above the start (target %.0f), %d sheets; %.1f x the floor (every "
              "cell asked of the source, nothing made of it: %.3f s)\n",
              rows, table.seconds, kTargetSeconds, table.cpu, table.peakMb, kTargetMb, table.sheets,
              table.seconds / floor, floor);

  // 1,000 notes of two lines beside the data, and 100 images of ten pictures below each other.
  QImage tile(64, 48, QImage::Format_RGB32);
  for (int i = 0; i < 10; ++i) {
    tile.fill(qRgb(20 * i, 100, 200));
    tile.save(dir.filePath(QString("p%1.png").arg(i)));
  }
  const Figures drawn = Export(numbers, settings, false, file, runs, [&dir](vantrix::TVantrix3XLS& xls) {
    for (int i = 0; i < 10; ++i) xls.Pictures.Add().SetFileName(dir.filePath(QString("p%1.png").arg(i)).toStdString());
    for (int n = 0; n < 1000; ++n) {
      vantrix::TxlsNote& note = xls.Notes.Add();
      note.Col = 12;
      note.Row = 2 + n;
      note.Lines = {"Nota " + std::to_string(n), "segunda linha"};
    }
    for (int n = 0; n < 100; ++n) {
      vantrix::TxlsImage& image = xls.Images.Add();
      image.PictureName = xls.Pictures[static_cast<size_t>(n % 10)].Name();
      image.Col = 14;
      image.Row = 1 + 4 * n;
    }
  });
  std::printf("with 1,000 notes and 100 images: %.3f s, %.3f s more than the plain table (target %.1f), peak %.1f MB\n",
              drawn.seconds, drawn.seconds - table.seconds, kTargetDrawingSeconds, drawn.peakMb);

  BenchTable texts(rows, settings, true);
  const Figures viewer = Export(texts, settings, true, file, runs);
  std::printf("the same table all text as the history viewer exports it (every cell a shared string, automatic "
              "widths, a styling handler): %.3f s, %.3f s of processor, peak %.1f MB, %d sheets\n",
              viewer.seconds, viewer.cpu, viewer.peakMb, viewer.sheets);
  PrintLoad("the workbook of numbers", tableLoad);
  PrintLoad("the all-text workbook", Load(file, runs));
  return table.sheets > 0 ? 0 : 1;
}
