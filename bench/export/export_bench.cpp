// Export engine figures: the bare run (a large custom-source table through the whole export
// cycle into a writer that discards its bytes) in cells per second, the same run with every
// cell formatted by its column's picture, and number formatting on its own; each against a
// floor or a peer measured in the same run, with the peak memory.
//   export_bench [--rows N]   (default 1,000,000 rows of 10 columns)
#include <QLocale>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "export/data_source.h"
#include "export/float_picture.h"
#include "export/output_stream.h"
#include "export/vantrix3_text.h"
#include "tools/export_table/generated_table.h"

namespace {

using bench::Clock;
using bench::Seconds;
using bench::StatusMb;

// Each record as a text format writes it: the cells separated, the row ended.
class DiscardingFormat : public vantrix::TVantrix3FormatText {
 public:
  explicit DiscardingFormat(bool formatted) : formatted_(formatted) {}

 protected:
  void WriteDataRow() override {
    vantrix::TVantrixWriter& writer = *GetWriter();
    for (int i = 0; i < Row().Count(); ++i) {
      if (formatted_) {
        Row()[i].GetExportedValue(true, cell_);
        writer.Write(cell_);
      } else {
        writer.Write(Row()[i].Value());
      }
      writer.Write(";");
    }
    writer.WriteLn("");
  }

 private:
  bool formatted_;
  std::string cell_;
};

struct RunFigures {
  double seconds;
  unsigned long long bytes;
};

RunFigures Run(exporttable::GeneratedTable& table, const vantrix::FormatSettings& settings, bool formatted) {
  DiscardingFormat exporter(formatted);
  exporter.Formats().SetSettings(settings);
  exporter.Formats().ResetFormats();
  exporter.SetExportSource(vantrix::esCustom);
  exporter.SetCustomSource(&table.Source());
  table.Source().ClearEof();
  vantrix::DiscardOutputStream out;
  const auto start = Clock::now();
  exporter.ExportToStream(out);
  return {Seconds(start), out.Count()};
}

// The floor: the same cells asked of the source's own handler and written as the format
// writes them, with no engine between.
RunFigures Floor(exporttable::GeneratedTable& table) {
  vantrix::TVantrixCustomSource& source = table.Source();
  vantrix::DiscardOutputStream out;
  std::string text;
  const auto start = Clock::now();
  for (int r = 1; r <= table.Rows(); ++r) {
    for (int c = 0; c < table.Columns(); ++c) {
      text.clear();
      source.OnGetColumnText(source, r, *source.Columns().GetItem(c), text);
      out.Write(text);
      out.Write(";", 1);
    }
    out.Write("\r\n", 2);
  }
  return {Seconds(start), out.Count()};
}

// count values each way (5,000,000 in the full run).
void NumberFormatting(const vantrix::FormatSettings& settings, int count) {
  std::vector<double> values(4096);
  std::vector<std::string> texts(values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    values[i] = (static_cast<double>(i * 7919 % 100003) - 50000.0) / 7.0;
    texts[i] = vantrix::FloatToStr(values[i], settings);
  }
  std::string out;
  size_t sink = 0;
  auto start = Clock::now();
  for (int i = 0; i < count; ++i) {
    out.clear();
    vantrix::FormatFloatTo(out, "#,###,##0.00", values[static_cast<size_t>(i) & 4095], settings);
    sink += out.size();
  }
  const double pictures = count / Seconds(start);
  start = Clock::now();
  for (int i = 0; i < count; ++i) {
    vantrix::VantrixFormatData(texts[static_cast<size_t>(i) & 4095], "#,###,##0.00", vantrix::ectFloat, out, nullptr,
                               settings);
    sink += out.size();
  }
  const double fromText = count / Seconds(start);
  char buf[64];
  start = Clock::now();
  for (int i = 0; i < count; ++i) sink += static_cast<size_t>(std::snprintf(buf, sizeof buf, "%.2f", values[static_cast<size_t>(i) & 4095]));
  const double printfRate = count / Seconds(start);
  std::printf("number formatting, double to \"#,###,##0.00\": %.1f million values/s (target 5), %.2f x snprintf(\"%%.2f\")\n",
              pictures / 1e6, pictures / printfRate);
  std::printf("number formatting, text read and formatted (a float cell): %.1f million values/s\n", fromText / 1e6);
  if (sink == 0) std::printf("(nothing formatted)\n");
}

}  // namespace

int main(int argc, char** argv) {
  int rows = 1000000;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--rows") == 0) rows = std::atoi(argv[i + 1]);
  const vantrix::FormatSettings settings = vantrix::FormatSettings::FromLocale(QLocale::c());
  const double before = StatusMb("VmRSS");
  exporttable::GeneratedTable table(rows, settings);
  const double cells = static_cast<double>(rows) * table.Columns();
  std::printf("table: %d rows x %d columns (custom source)\n", rows, table.Columns());

  const RunFigures floor = Floor(table);
  const RunFigures bare = Run(table, settings, false);
  const RunFigures formatted = Run(table, settings, true);
  table.AnswerWithVariants(true);
  const RunFigures variants = Run(table, settings, false);
  std::printf("bare run: %.2f s, %.1f million cells/s (target 15), %.0f MB/s of text; floor (the source's cells "
              "written without the engine) %.1f million cells/s, the engine at %.2f of the floor's speed\n",
              bare.seconds, cells / bare.seconds / 1e6, bare.bytes / bare.seconds / 1e6, cells / floor.seconds / 1e6,
              floor.seconds / bare.seconds);
  std::printf("bare run with the cells handed over as variants: %.2f s, %.1f million cells/s\n", variants.seconds,
              cells / variants.seconds / 1e6);
  std::printf("formatted run: %.2f s, %.1f million cells/s, %.0f MB/s of text\n", formatted.seconds,
              cells / formatted.seconds / 1e6, formatted.bytes / formatted.seconds / 1e6);
  NumberFormatting(settings, std::max(100000, std::min(5000000, rows * 5)));
  std::printf("peak memory: %.0f MB (%.0f MB before the table; the runs keep one row)\n", StatusMb("VmHWM"), before);
  return bare.bytes > 0 ? 0 : 1;
}
