// Document format figures: PDF export of a generated table (rows per second, peak memory),
// RTF and HTML export (MB of output per second), and how RTF time grows with the rows and
// with the number of distinct colours in the body. Outputs are counted and discarded.
//   document_bench [--rows N]   (default 100,000 rows of 10 columns)
#include <QLocale>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/measure.h"
#include "export/output_stream.h"
#include "export/vantrix3_html.h"
#include "export/vantrix3_pdf.h"
#include "export/vantrix3_rtf.h"
#include "tools/export_table/generated_table.h"

namespace {

using bench::Clock;
using bench::StatusMb;

struct Figures {
  double seconds;
  unsigned long long bytes;
};

Figures Run(vantrix::TVantrix3& exporter, exporttable::GeneratedTable& table, const vantrix::FormatSettings& settings) {
  exporter.Formats().SetSettings(settings);
  exporter.Formats().ResetFormats();
  exporter.SetExportSource(vantrix::esCustom);
  exporter.SetCustomSource(&table.Source());
  table.Source().ClearEof();
  vantrix::DiscardOutputStream out;
  const auto start = Clock::now();
  exporter.ExportToStream(out);
  return {std::chrono::duration<double>(Clock::now() - start).count(), out.Count()};
}

// RTF where every data row has a colour of its own out of `colours`.
Figures RtfWithColours(exporttable::GeneratedTable& table, const vantrix::FormatSettings& settings, int colours) {
  vantrix::TVantrix3RTF rtf;
  vantrix::FixedTextMeasure measure(8);
  rtf.SetTextMeasure(&measure);
  rtf.OnGetDataStyle = [colours](vantrix::TVantrix3&, int row, int, vantrix::TrtfStyle& style) {
    style.Font.color = static_cast<uint32_t>(row % colours) * 97u;
  };
  return Run(rtf, table, settings);
}

}  // namespace

int main(int argc, char** argv) {
  int rows = 100000;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--rows") == 0) rows = std::atoi(argv[i + 1]);
  const vantrix::FormatSettings settings = vantrix::FormatSettings::FromLocale(QLocale::c());
  exporttable::GeneratedTable table(rows, settings);
  const double before = StatusMb("VmHWM");
  std::printf("table: %d rows x %d columns (custom source)\n", rows, table.Columns());

  vantrix::TVantrix3PDF pdf;
  const Figures p = Run(pdf, table, settings);
  const double pdfPeak = StatusMb("VmHWM");
  std::printf("PDF: %.2f s, %.0f rows/s (target 300,000), %.0f MB/s, %.1f MB; peak memory %.0f MB (target 64; %.0f MB "
              "before the export)\n",
              p.seconds, rows / p.seconds, p.bytes / p.seconds / 1e6, p.bytes / 1e6, pdfPeak, before);

  vantrix::TVantrix3HTML html;
  const Figures h = Run(html, table, settings);
  std::printf("HTML: %.2f s, %.0f MB/s of output (target 50), %.1f MB\n", h.seconds, h.bytes / h.seconds / 1e6,
              h.bytes / 1e6);

  vantrix::TVantrix3RTF rtf;
  vantrix::FixedTextMeasure measure(8);
  rtf.SetTextMeasure(&measure);
  const Figures r = Run(rtf, table, settings);
  std::printf("RTF: %.2f s, %.0f MB/s of output (target 50), %.1f MB\n", r.seconds, r.bytes / r.seconds / 1e6,
              r.bytes / 1e6);

  // Linear in rows: half the rows should take about half the time.
  exporttable::GeneratedTable half(rows / 2, settings);
  vantrix::TVantrix3RTF rtfHalf;
  rtfHalf.SetTextMeasure(&measure);
  const Figures rh = Run(rtfHalf, half, settings);
  std::printf("RTF with half the rows: %.2f s, time ratio full/half %.2f (2 is linear)\n", rh.seconds,
              r.seconds / rh.seconds);
  const int few = rows >= 2000 ? 1000 : 10, many = 2 * few;
  const Figures c1 = RtfWithColours(table, settings, few);
  const Figures c2 = RtfWithColours(table, settings, many);
  std::printf("RTF with %d distinct colours: %.2f s; with %d: %.2f s (ratio %.2f; a copy of the tail per new colour "
              "would make it grow with colours x size)\n",
              few, c1.seconds, many, c2.seconds, c2.seconds / c1.seconds);
  return p.bytes > 0 && r.bytes > 0 && h.bytes > 0 ? 0 : 1;
}
