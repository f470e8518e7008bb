// The exporters' option files (their properties saved as an INI file): the input is the
// file's text. Every plain and document exporter loads it and exports a small table of every
// column type into memory. Whatever the file holds, the run ends, its output stays within
// what the table and the file's own size justify, and a DIF header counts the rows after it.
// Only a UTF-16 file is refused, with an error, and the exporter keeps its options.
#include <memory>

#include "export/library_strings.h"
#include "export/text_measure.h"
#include "export/vantrix3_ascii.h"
#include "export/vantrix3_clipboard.h"
#include "export/vantrix3_html.h"
#include "export/vantrix3_latex.h"
#include "export/vantrix3_pdf.h"
#include "export/vantrix3_rtf.h"
#include "export/vantrix3_sql.h"
#include "export/vantrix3_xml.h"
#include "fuzz/export_table_source.h"
#include "fuzz/fuzz_target.h"
#include "platform/ini_file.h"

namespace {

// Every cell may carry its picture's expansion of the file (a picture of the whole file,
// say) and the header and footer lines are the file's own: what no input of this size
// could justify is a megabyte and more beyond that.
void CheckSize(const std::string& out, size_t inputSize) {
  FUZZ_CHECK(out.size() <= (size_t{1} << 20) + inputSize * 2048);
}

size_t Count(const std::string& text, const std::string& piece) {
  size_t n = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size())) ++n;
  return n;
}

// The tuple count of a DIF header is the number of data rows that follow it.
void CheckDifCount(const vantrix::TVantrix3ASCII& exporter, const std::string& dif) {
  // Without a move to the first record the count (always from the first) and the rows (from
  // where the source stands) may differ by design.
  if (!exporter.GoToFirstRecord || exporter.Columns().Count() == 0) return;
  const std::string tuples = "TUPLES\r\n0,";
  const size_t at = dif.find(tuples);
  FUZZ_CHECK(at != std::string::npos);
  const size_t end = dif.find("\r\n", at + tuples.size());
  FUZZ_CHECK(end != std::string::npos);
  const size_t count = std::stoul(dif.substr(at + tuples.size(), end - at - tuples.size()));
  const size_t captions = exporter.AllowCaptions ? 1 : 0;
  FUZZ_CHECK(Count(dif, "\r\nBOT\r\n") == count + captions);
}

template <typename Exporter>
void LoadAndRun(const std::string& path, fuzz::ExportTableSource& source, size_t size) {
  Exporter exporter;
  exporter.LoadPropertiesFromFile(path);
  CheckSize(fuzz::ExportToMemory(exporter, source), size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::InputFile file("export-options", data, size);
  fuzz::ExportTableSource source;

  vantrix::TVantrix3ASCII ascii;
  const bool utf16 = platform::IniFile(file.Path()).State() == platform::IniFile::ReadState::kUtf16;
  try {
    ascii.LoadPropertiesFromFile(file.Path());
  } catch (const vantrix::EVantrixError&) {
    FUZZ_CHECK(utf16);
    FUZZ_CHECK(ascii.TXTSpacing == vantrix::TVantrix3ASCII().TXTSpacing);
    return 0;
  }
  FUZZ_CHECK(!utf16);
  FUZZ_CHECK(ascii.TXTSpacing >= 0 && ascii.TXTSpacing <= vantrix::kMaxTXTSpacing);
  // The layout the file names, then every other one with the same settings.
  const vantrix::TVantrixASCIIType loaded = ascii.ExportType();
  for (const vantrix::TVantrixASCIIType type : {loaded, vantrix::etTXT, vantrix::etCSV, vantrix::etDIF, vantrix::etSYLK}) {
    ascii.SetExportType(type);
    const std::string out = fuzz::ExportToMemory(ascii, source);
    CheckSize(out, size);
    if (type == vantrix::etDIF) CheckDifCount(ascii, out);
  }

  vantrix::TVantrix3RTF rtf;
  const vantrix::FixedTextMeasure measure(8);
  rtf.SetTextMeasure(&measure);
  rtf.LoadPropertiesFromFile(file.Path());
  CheckSize(fuzz::ExportToMemory(rtf, source), size);

  LoadAndRun<vantrix::TVantrix3HTML>(file.Path(), source, size);
  LoadAndRun<vantrix::TVantrix3LaTeX>(file.Path(), source, size);
  LoadAndRun<vantrix::TVantrix3PDF>(file.Path(), source, size);
  LoadAndRun<vantrix::TVantrix3SQL>(file.Path(), source, size);
  LoadAndRun<vantrix::TVantrix3XML>(file.Path(), source, size);
  LoadAndRun<vantrix::TVantrix3Clipboard>(file.Path(), source, size);
  return 0;
}

std::vector<fuzz::CraftedInput> fuzz::CraftedInputs() {
  // The counts and gaps that once made a six-row export run for minutes or fill gigabytes.
  return {
      {"skip count of 2^31-1", "[GENERAL]\nSkipRecCount=2147483647\n[ASCII]\nExportType=2\n"},
      {"text spacing of a million", "[ASCII]\nExportType=0\nSpacing=1000000\n"},
      {"text spacing of 2^31-1", "[ASCII]\nSpacing=2147483647\n"},
      {"column widths of 2^31-1", "[WIDTH]\nline0=A=2147483647\nline1=B=2147483647\nC=-2147483648\n"},
      {"record count of 2^31-1 and only the current record",
       "[GENERAL]\nExportRecCount=2147483647\nCurrentRecordOnly=1\nSkipRecCount=-5\n[ASCII]\nExportType=2\n"},
      {"UTF-8 behind its byte-order mark", "\xEF\xBB\xBF[HEADER]\nline0=T\xC3\xADtulo \xE2\x88\x9A\n[WIDTH]\nA=abc\n"},
      {"UTF-16", std::string("\xFF\xFE[\0H\0]\0\n\0", 10)},
  };
}
