#include "tools/export_table/tool_formats.h"

#include <algorithm>
#include <iterator>

#include "export/vantrix3_ascii.h"
#include "export/vantrix3_clipboard.h"
#include "export/vantrix3_dbf.h"
#include "export/vantrix3_html.h"
#include "export/vantrix3_latex.h"
#include "export/vantrix3_pdf.h"
#include "export/vantrix3_rtf.h"
#include "export/vantrix3_sql.h"
#include "export/vantrix3_xml.h"
#include "export/xls/vantrix3_xls.h"
#include "tools/export_table/rows_dump_exporter.h"

namespace exporttable {
namespace {

std::unique_ptr<vantrix::TVantrix3> Ascii(vantrix::TVantrixASCIIType type, const FormatOptions& options) {
  auto exporter = std::make_unique<vantrix::TVantrix3ASCII>();
  exporter->SetExportType(type);
  if (options.separator != '\0') exporter->CSVComma = options.separator;
  exporter->Title = options.title;
  return exporter;
}

std::unique_ptr<vantrix::TVantrix3> Pdf(const FormatOptions& options) {
  auto pdf = std::make_unique<vantrix::TVantrix3PDF>();
  vantrix::TPDFOptions& o = pdf->Options();
  vantrix::TPDFFont* fonts[] = {&o.DataFont, &o.CaptionFont, &o.HeaderFont, &o.FooterFont};
  for (size_t i = 0; i < std::size(fonts) && !options.pdfFonts.empty(); ++i)
    fonts[i]->BaseFont = options.pdfFonts[std::min(i, options.pdfFonts.size() - 1)];
  if (options.pdfEncoding >= 0)
    for (vantrix::TPDFFont* font : fonts) font->FontEncoding = static_cast<vantrix::TPDFFontEncoding>(options.pdfEncoding);
  return pdf;
}

}  // namespace

bool ParsePdfFonts(const std::string& list, FormatOptions& options) {
  options.pdfFonts.clear();
  size_t start = 0;
  while (start <= list.size()) {
    const size_t end = std::min(list.find(',', start), list.size());
    const std::string_view name(list.data() + start, end - start);
    int found = -1;
    for (int f = vantrix::poHelvetica; f <= vantrix::poZapfDingbats && found < 0; ++f)
      if (vantrix::PDFFontPostScriptName(static_cast<vantrix::TPDFFontName>(f)) == name) found = f;
    if (found < 0) return false;
    options.pdfFonts.push_back(static_cast<vantrix::TPDFFontName>(found));
    start = end + 1;
  }
  return true;
}

bool ParsePdfEncoding(const std::string& name, FormatOptions& options) {
  for (int e = vantrix::poStandardEncoding; e <= vantrix::poPDFDocEncoding; ++e)
    if (vantrix::PDFFontEncodingName(static_cast<vantrix::TPDFFontEncoding>(e)) == name) {
      options.pdfEncoding = e;
      return true;
    }
  return false;
}

std::vector<std::string> FormatNames() {
  return {"rows", "txt", "csv", "dif", "slk", "dbf", "xml", "sql", "tex", "clipboard", "pdf", "html", "rtf", "doc", "xls"};
}

std::unique_ptr<vantrix::TVantrix3> MakeExporter(const std::string& name, const FormatOptions& options) {
  std::unique_ptr<vantrix::TVantrix3> exporter;
  if (name == "rows") {
    exporter = std::make_unique<RowsDumpExporter>();
  } else if (name == "txt") {
    exporter = Ascii(vantrix::etTXT, options);
  } else if (name == "csv") {
    exporter = Ascii(vantrix::etCSV, options);
  } else if (name == "dif") {
    exporter = Ascii(vantrix::etDIF, options);
  } else if (name == "slk") {
    exporter = Ascii(vantrix::etSYLK, options);
  } else if (name == "dbf") {
    exporter = std::make_unique<vantrix::TVantrix3DBF>();
  } else if (name == "xml") {
    auto xml = std::make_unique<vantrix::TVantrix3XML>();
    xml->Options().Encoding = options.encoding;
    exporter = std::move(xml);
  } else if (name == "sql") {
    auto sql = std::make_unique<vantrix::TVantrix3SQL>();
    sql->TableName = options.table;
    sql->CreateTable = options.createTable;
    exporter = std::move(sql);
  } else if (name == "tex") {
    auto latex = std::make_unique<vantrix::TVantrix3LaTeX>();
    latex->Options().SetCodePage(options.codePage);
    latex->Preambula = options.preamble;
    exporter = std::move(latex);
  } else if (name == "pdf") {
    exporter = Pdf(options);
  } else if (name == "html") {
    auto html = std::make_unique<vantrix::TVantrix3HTML>();
    html->SetMaxRecords(options.maxRecords);
    exporter = std::move(html);
  } else if (name == "rtf" || name == "doc") {
    // What the export dialog offers as a word-processor document is the same RTF.
    exporter = std::make_unique<vantrix::TVantrix3RTF>();
  } else if (name == "xls") {
    exporter = std::make_unique<vantrix::TVantrix3XLS>();
  } else if (name == "clipboard") {
    auto clipboard = std::make_unique<vantrix::TVantrix3Clipboard>();
    clipboard->SetExportType(options.fixed ? vantrix::etFixed : vantrix::etSeparated);
    if (options.separator != '\0') clipboard->Separator = options.separator;
    clipboard->Title = options.title;
    exporter = std::move(clipboard);
  }
  if (exporter) exporter->AllowCaptions = options.captions;
  return exporter;
}

}  // namespace exporttable
