#pragma once
// The history export road: a loaded history table to a file whose format follows from the
// file's extension. The table's columns are described to a custom row source, which hands
// the exporter each cell as the viewer shows it (header rows, data rows, the empty rows
// between recording runs); the time column keeps, loses or separates its milliseconds.
//
// Without widgets, so the viewer, the main window's export command (through the viewer) and
// the headless export tool run the same road.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "export/custom_source.h"
#include "history/cell_texts.h"
#include "history/history_cell_source.h"

namespace vantrix {
class TVantrix3ASCII;
class TVantrix3DBF;
class TVantrix3HTML;
class TVantrix3PDF;
class TVantrix3RTF;
class TVantrix3Text;
class TVantrix3XLS;
class TVantrix3XML;
class TrtfStyle;
class TxlsFormat;
class TxlsSheet;
}  // namespace vantrix

namespace history {

struct HistoryExportResult {
  enum class Status {
    Done,
    UnknownExtension,  // no exporter for the file's extension
    Failed,            // the exporter stopped with an error; nothing was written over the file
  };
  Status status = Status::Done;
  // For the user, code page 1252: what went wrong and what to do (empty when done).
  std::string message;
  // Done, but what was asked after the export went wrong: the file could not be opened or
  // printed (an exporter set to show or print its file), and why; for the user, code page 1252.
  std::string resultError;
  bool Ok() const { return status == Status::Done; }
};

class HistoryExport {
 public:
  // The table must outlive the road. recordingPath is the history file the table was read
  // from (the file system's encoding): its name titles the workbook's sheets and the page.
  HistoryExport(const HistoryData& data, const CellTexts& texts, const std::string& recordingPath);
  ~HistoryExport();
  HistoryExport(const HistoryExport&) = delete;
  HistoryExport& operator=(const HistoryExport&) = delete;

  // Exports the whole table to the file (its name in the file system's encoding). The
  // extension picks the format, case ignored; an empty separator counts as ".".
  HistoryExportResult ExportTable(const std::string& fileName, const MillisecondOptions& options);

  // The extensions this road exports, lower case.
  static std::vector<std::string> Extensions();
  // A path's last part, and the same in code page 1252 for texts of the export.
  static std::string FileNameOf(const std::string& path);
  static std::string ShownFileName(const std::string& path);
  // The extension of a file name, lower case, without the dot; empty when it has none.
  static std::string ExtensionOf(const std::string& fileName);
  // What the user is told of an export to the file that failed, and why (the exporter's words,
  // code page 1252): the same wherever the failure was found.
  static std::string FailureText(const std::string& fileName, const std::string& reason);

  // The exporters with the viewer's settings (CSV ";", text spacing 2, dBase null "null",
  // XML version "1.0"; the document and spreadsheet settings in history_export_documents.cpp),
  // all taking their rows from the road's source.
  vantrix::TVantrix3ASCII& Ascii();
  vantrix::TVantrix3DBF& Dbf();
  vantrix::TVantrix3XML& Xml();
  vantrix::TVantrix3XLS& Xls();
  vantrix::TVantrix3PDF& Pdf();
  vantrix::TVantrix3RTF& Rtf();
  vantrix::TVantrix3HTML& Html();

  // A workbook sheet holds the caption row, the value-name and unit rows and this many data
  // rows; a longer table goes on in further sheets, each beginning with the same three rows.
  static constexpr size_t kSheetDataRows = 65533;
  // Sheets of a table of that many rows (header rows included): at least one.
  static size_t SheetCountFor(size_t tableRows);
  // The sheets' titles: the recording's file name (without its folder), and " - n" after it
  // when the table takes several sheets, the name shortened so that the suffix stays within
  // the 31 characters a sheet name may have.
  static std::vector<std::u16string> SheetTitles(const std::string& recordingPath, size_t sheets);
  vantrix::TVantrixCustomSource& Source() { return source_; }
  const HistoryCellSource& Cells() const { return cells_; }

 private:
  // The row source's two questions: whether a record is the last, and which table row it
  // shows. A spreadsheet split into sheets of at most 65536 rows shifts both by its sheet.
  bool IsLastRecord(int recNo) const;
  size_t TableRowOfRecord(int recNo) const;
  // One source column per export column, with its width and caption (the device name).
  void DescribeColumns(const std::string& extension);
  // The longest text of each export column over the records (at least 1), in bytes or in
  // what the measure gives.
  std::vector<size_t> LongestTexts(const std::function<size_t(std::string_view)>& measure = nullptr);
  // The exporter of the extension run on the file; false when no exporter takes it.
  bool RunExporter(const std::string& extension, const std::string& fileName);
  void Prepare(vantrix::TVantrix3Text& exporter);
  // history_export_documents.cpp: the branches whose exporters take settings of the table.
  void PrepareXls();
  void PreparePdf();
  void PrepareRtf();
  void PrepareHtml();
  // The exporters' events.
  void Vantrix3XLSBeforeExportSheet(int sheetIndex);
  static void Vantrix3XLSGetDataParams(const vantrix::TxlsSheet& sheet, int row, vantrix::TxlsFormat& format);
  void Vantrix3RTFGetDataStyle(int row, vantrix::TrtfStyle& style) const;
  void Vantrix3HTMLGetCellParams(vantrix::TVantrixColAlign& align, uint32_t& background);

  HistoryCellSource cells_;
  std::string recordingPath_;
  vantrix::TVantrixCustomSource source_;
  std::unique_ptr<vantrix::TVantrix3ASCII> ascii_;
  std::unique_ptr<vantrix::TVantrix3DBF> dbf_;
  std::unique_ptr<vantrix::TVantrix3XML> xml_;
  std::unique_ptr<vantrix::TVantrix3XLS> xls_;
  std::unique_ptr<vantrix::TVantrix3PDF> pdf_;
  std::unique_ptr<vantrix::TVantrix3RTF> rtf_;
  std::unique_ptr<vantrix::TVantrix3HTML> html_;

  // While a workbook is written: the sheet being written (its records continue the table
  // where the sheet before it stopped). Off for every other format.
  bool spreadsheet_ = false;
  size_t sheetIndex_ = 0;
  // Cells of the HTML export given the mark of the value-name row so far.
  size_t htmlMarked_ = 0;
  // What the exporter reported about opening or printing the file it wrote.
  std::string resultError_;
};

}  // namespace history
