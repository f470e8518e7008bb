// The style and template files of the document exporters: the input is the file's text, read
// as an RTF style file (the caption, data, header and footer styles and the strip styles) and
// as an HTML colour template with the HTML table and page options. Each exporter then writes
// a small table of every column type into memory. Whatever the file holds, the run ends, its
// output stays within what the table and the file justify, and every RTF font size is one a
// reader takes. A file in UTF-16 is refused as a template and changes nothing.
#include <cctype>
#include <cstdlib>

#include "export/library_strings.h"
#include "export/rtf_style.h"
#include "export/text_measure.h"
#include "export/vantrix3_html.h"
#include "export/vantrix3_rtf.h"
#include "fuzz/export_table_source.h"
#include "fuzz/fuzz_target.h"
#include "platform/ini_file.h"

namespace {

void CheckSize(const std::string& out, size_t inputSize) {
  FUZZ_CHECK(out.size() <= (size_t{1} << 20) + inputSize * 256);
}

// Every "\fs" control word of the document (not an escaped backslash followed by "fs" in a
// font name or a text) in half points of a size between 1 and the largest a font takes.
void CheckFontSizes(const std::string& rtf) {
  for (size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] != '\\') continue;
    if (i + 1 < rtf.size() && !std::isalpha(static_cast<unsigned char>(rtf[i + 1]))) {
      ++i;  // a control symbol: "\\", "\{", "\'hh"...
      continue;
    }
    if (rtf.compare(i + 1, 2, "fs") != 0 || i + 3 >= rtf.size() ||
        !(std::isdigit(static_cast<unsigned char>(rtf[i + 3])) || rtf[i + 3] == '-'))
      continue;
    const long halfPoints = std::strtol(rtf.c_str() + i + 3, nullptr, 10);
    FUZZ_CHECK(halfPoints >= 2 * vantrix::kMinFontPoints && halfPoints <= 2 * vantrix::kMaxFontPoints);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::InputFile file("export-styles", data, size);
  const platform::IniFile ini(file.Path());
  fuzz::ExportTableSource source;

  vantrix::TVantrix3RTF rtf;
  const vantrix::FixedTextMeasure measure(8);
  rtf.SetTextMeasure(&measure);
  vantrix::TRTFOptions& options = rtf.Options();
  options.CaptionStyle.LoadFromIniFile(ini, "CAPTION");
  options.DataStyle.LoadFromIniFile(ini, "DATA");
  options.HeaderStyle.LoadFromIniFile(ini, "HEADER");
  options.FooterStyle.LoadFromIniFile(ini, "FOOTER");
  options.StripStyles.LoadFromIniFile(ini, "RTF_STRIP_STYLE_");
  rtf.Header = {"header {1}"};
  rtf.Footer = {"footer \\2"};
  for (const vantrix::TrtfStripType strips : {vantrix::stNone, vantrix::stRow, vantrix::stCol}) {
    options.StripType = strips;
    const std::string out = fuzz::ExportToMemory(rtf, source);
    CheckSize(out, size);
    CheckFontSizes(out);
  }

  vantrix::TVantrix3HTML html;
  // A file that cannot be read as text (UTF-16) is refused, as the dialog tells it, and the
  // template's colours and font stay as they were.
  const std::string before = fuzz::ExportToMemory(html, source);
  try {
    html.LoadTemplateFromFile(file.Path());
  } catch (const vantrix::EVantrixError&) {
    FUZZ_CHECK(ini.State() != platform::IniFile::ReadState::kRead);
    FUZZ_CHECK(fuzz::ExportToMemory(html, source) == before);
  }
  html.HTMLOptions.LoadFromIniFile(ini, "HTML");
  html.TableOptions.LoadFromIniFile(ini, "HTML");
  FUZZ_CHECK(html.TableOptions.CellPadding >= 0 && html.TableOptions.CellSpacing >= 0 && html.TableOptions.Border >= 0);
  CheckSize(fuzz::ExportToMemory(html, source), size);
  return 0;
}

std::vector<fuzz::CraftedInput> fuzz::CraftedInputs() {
  // Sizes whose half points overflow, and ones no reader draws.
  return {
      {"font size of 2^30", "[DATA]\nFontSize=1073741824\n[RTF_STRIP_STYLE_0]\nFontSize=2147483647\n"},
      {"negative font sizes", "[CAPTION]\nFontSize=-2147483648\n[HEADER]\nFontSize=0\n[FOOTER]\nFontSize=-1\n"},
      {"negative table spacing", "[HTML]\nCellPadding=-1\nCellSpacing=-2147483648\nBorderWidth=-3\n"},
  };
}
