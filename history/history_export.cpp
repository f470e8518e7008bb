#include "history/history_export.h"

#include <algorithm>
#include <exception>

#include "export/library_strings.h"
#include "export/vantrix3_ascii.h"
#include "export/vantrix3_dbf.h"
#include "export/vantrix3_html.h"
#include "export/vantrix3_pdf.h"
#include "export/vantrix3_rtf.h"
#include "export/vantrix3_xml.h"
#include "export/xls/vantrix3_xls.h"
#include "platform/cp1252.h"

namespace history {
namespace {

constexpr int kColumnWidth = 11;
constexpr int kPdfColumnWidth = 14;
constexpr int kMillisecondWidth = 4;

std::string Shown(const std::string& path) { return platform::ExternalTextToCp1252(path); }

}  // namespace

std::string HistoryExport::FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string HistoryExport::ShownFileName(const std::string& path) { return Shown(FileNameOf(path)); }

HistoryExport::HistoryExport(const HistoryData& data, const CellTexts& texts, const std::string& recordingPath)
    : cells_(data, texts), recordingPath_(recordingPath) {
  source_.OnGetNextRecord = [this](vantrix::TVantrixCustomSource&, int recNo, bool& eof) {
    eof = IsLastRecord(recNo);
  };
  source_.OnGetColumnText = [this](vantrix::TVantrixCustomSource&, int recNo,
                                   const vantrix::TVantrixCustomColumn& column, std::string& text) {
    if (recNo < 0 || column.Index() < 0) return;
    cells_.Text(TableRowOfRecord(recNo), static_cast<size_t>(column.Index()), text);
  };
}

// Record r is table row r: value names, units, then the data rows (row 0, the device names,
// is the caption row). In a workbook every sheet has records 1 and 2 (value names and units)
// and then its own block of data rows, up to the last row a sheet has.
bool HistoryExport::IsLastRecord(int recNo) const {
  if (recNo < 0) return true;
  if (spreadsheet_ && static_cast<size_t>(recNo) >= kSheetDataRows + 2) return true;
  return TableRowOfRecord(recNo) + 1 >= cells_.TableRowCount();
}

size_t HistoryExport::TableRowOfRecord(int recNo) const {
  const auto record = static_cast<size_t>(recNo);
  if (!spreadsheet_ || record < static_cast<size_t>(HistoryData::kHeaderRows)) return record;
  return record + sheetIndex_ * kSheetDataRows;
}

HistoryExport::~HistoryExport() = default;

std::vector<std::string> HistoryExport::Extensions() {
  return {"xls", "pdf", "rtf", "html", "htm", "xml", "dbf", "txt", "csv"};
}

std::string HistoryExport::ExtensionOf(const std::string& fileName) {
  const std::string name = FileNameOf(fileName);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return {};
  std::string extension = name.substr(dot + 1);
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return extension;
}

void HistoryExport::Prepare(vantrix::TVantrix3Text& exporter) {
  exporter.SetExportSource(vantrix::esCustom);
  exporter.SetCustomSource(&source_);
  exporter.CaptionRow = 0;
  exporter.AllowCaptions = true;
  exporter.OnShowResultError = [this](vantrix::TVantrix3Text&, const std::string& message) {
    resultError_ += (resultError_.empty() ? "" : "\n") + message;
  };
}

vantrix::TVantrix3ASCII& HistoryExport::Ascii() {
  if (!ascii_) {
    ascii_ = std::make_unique<vantrix::TVantrix3ASCII>();
    Prepare(*ascii_);
    ascii_->CSVComma = ';';
    ascii_->TXTSpacing = 2;
  }
  return *ascii_;
}

vantrix::TVantrix3DBF& HistoryExport::Dbf() {
  if (!dbf_) {
    dbf_ = std::make_unique<vantrix::TVantrix3DBF>();
    Prepare(*dbf_);
    dbf_->SetNullValue("null");
  }
  return *dbf_;
}

vantrix::TVantrix3XML& HistoryExport::Xml() {
  if (!xml_) {
    xml_ = std::make_unique<vantrix::TVantrix3XML>();
    Prepare(*xml_);
    xml_->Options().Version = "1.0";
  }
  return *xml_;
}

void HistoryExport::DescribeColumns(const std::string& extension) {
  vantrix::TVantrixCustomColumns& columns = source_.Columns();
  columns.Clear();
  const bool ownColumn = cells_.HasMillisecondColumn();
  const bool msInTime = !cells_.Options().withoutMilliseconds && !ownColumn;
  for (size_t c = 0; c < cells_.ColumnCount(); ++c) {
    vantrix::TVantrixCustomColumn* column = columns.Add();
    column->SetWidth(extension == "pdf" ? kPdfColumnWidth : kColumnWidth);
    column->SetCaption(cells_.Caption(c));
  }
  if (columns.Count() > 0) columns.GetItem(0)->SetWidth(cells_.DateLength() + 1);
  if (columns.Count() > 1) columns.GetItem(1)->SetWidth(cells_.TimeLength() + 1 + (msInTime ? 4 : 0));
  if (ownColumn && columns.Count() > 2) columns.GetItem(2)->SetWidth(kMillisecondWidth);
  source_.ClearEof();
}

std::vector<size_t> HistoryExport::LongestTexts(const std::function<size_t(std::string_view)>& measure) {
  std::vector<size_t> longest(static_cast<size_t>(source_.Columns().Count()), 1);
  std::string text;
  for (size_t row = 1; row < cells_.TableRowCount(); ++row)
    for (size_t c = 0; c < longest.size(); ++c) {
      cells_.Text(row, c, text);
      longest[c] = std::max(longest[c], measure ? measure(text) : text.size());
    }
  return longest;
}

bool HistoryExport::RunExporter(const std::string& extension, const std::string& fileName) {
  vantrix::TVantrix3Text* exporter = nullptr;
  if (extension == "xml") {
    exporter = &Xml();
  } else if (extension == "csv") {
    Ascii().SetExportType(vantrix::etCSV);
    exporter = &Ascii();
  } else if (extension == "txt") {
    // The columns as wide as their longest text, caption included: what the exporter's width
    // pass gives, measured here in one pass over the table's own texts.
    vantrix::FitColumnsToTexts(source_.Columns(), LongestTexts());
    Ascii().SetExportType(vantrix::etTXT);
    Ascii().AutoCalcColWidth = false;
    exporter = &Ascii();
  } else if (extension == "dbf") {
    // Text fields as long as their longest cell, so that no cell is cut.
    vantrix::FitColumnsToTexts(source_.Columns(), LongestTexts());
    exporter = &Dbf();
  } else if (extension == "xls") {
    PrepareXls();
    exporter = &Xls();
  } else if (extension == "pdf") {
    PreparePdf();
    exporter = &Pdf();
  } else if (extension == "rtf") {
    PrepareRtf();
    exporter = &Rtf();
  } else if (extension == "html" || extension == "htm") {
    PrepareHtml();
    exporter = &Html();
  }
  if (exporter == nullptr) return false;
  exporter->FileName = fileName;
  // The recording is never replaced by its own export, by whatever name it is chosen.
  exporter->ReadFiles = {recordingPath_};
  source_.ClearEof();
  exporter->Execute();
  return true;
}

std::string HistoryExport::FailureText(const std::string& fileName, const std::string& reason) {
  return "N\xE3o foi poss\xEDvel exportar para \"" + Shown(fileName) + "\".\n" + reason;
}

HistoryExportResult HistoryExport::ExportTable(const std::string& fileName, const MillisecondOptions& options) {
  HistoryExportResult result;
  cells_.SetOptions(options);
  const std::string extension = ExtensionOf(fileName);
  const std::vector<std::string> known = Extensions();
  if (std::find(known.begin(), known.end(), extension) == known.end()) {
    std::string list;
    for (size_t i = 0; i < known.size(); ++i) list += (i == 0 ? "" : i + 1 == known.size() ? " ou " : ", ") + known[i];
    result.status = HistoryExportResult::Status::UnknownExtension;
    result.message = "N\xE3o \xE9 poss\xEDvel exportar para \"" + Shown(FileNameOf(fileName)) +
                     "\": formato desconhecido.\nD\xEA ao arquivo uma destas extens\xF5" "es: " + list + ".";
    return result;
  }
  DescribeColumns(extension);
  spreadsheet_ = false;
  sheetIndex_ = 0;
  resultError_.clear();
  try {
    RunExporter(extension, fileName);
  } catch (const std::exception& e) {
    result.status = HistoryExportResult::Status::Failed;
    result.message = FailureText(fileName, e.what());
    return result;
  }
  if (!resultError_.empty())
    result.resultError = "\"" + Shown(FileNameOf(fileName)) + "\" foi exportado, mas:\n" + resultError_;
  return result;
}

}  // namespace history
