#pragma once
// What export_table sets on the spreadsheet exporter from its options: field formats with
// aggregates, strip styles, header and footer lines, page texts, extra cells, merged ranges,
// hyperlinks, a background picture, notes, images, a chart, several sheets, and an abort
// after some records.
#include <string>
#include <vector>

#include "export/xls/vantrix3_xls.h"

namespace exporttable {

struct XlsToolOptions {
  bool fieldFormats = false;  // number formats, fonts, fills and an aggregate per number column
  std::string strip;          // "row" or "col": two strip styles
  std::vector<std::string> header, footer;  // lines, "\t" standing for a TAB
  std::string pageHeader, pageFooter, sheetTitle;
  bool extraCells = false;
  bool merged = false;
  bool hyperlinks = false;
  std::string background;  // a picture file
  int abortAt = 0;         // aborts once that many records are exported
  // Notes "COL,ROW,TEXT" ("\n" in TEXT starts a new line), images of picture files placed
  // one below the other right of the table, a column chart of the first two number columns,
  // and the table exported on that many sheets, each with the items.
  std::vector<std::string> notes, images;
  bool chart = false;
  int sheets = 0;
  int headerRows = 0, footerRows = 0, startDataCol = 0;

  // Takes the option at argv[i] (and its value), moving i past it; false when it is not one.
  bool Parse(int argc, char** argv, int& i);
  static const char* Usage();
};

// The options onto the exporter, for a table of the source's columns.
void ConfigureXls(vantrix::TVantrix3XLS& xls, const XlsToolOptions& options,
                  vantrix::TVantrixCustomSource& source);

// A table of columns × rows integers (cell r, c is r × 1000 + c), for the widest sheets.
class WideTable {
 public:
  WideTable(int columns, int rows);
  vantrix::TVantrixCustomSource& Source() { return source_; }

 private:
  int rows_;
  vantrix::TVantrixCustomSource source_;
};

}  // namespace exporttable
