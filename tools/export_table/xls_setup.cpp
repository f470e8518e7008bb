#include "tools/export_table/xls_setup.h"

#include <QString>
#include <cstdlib>
#include <cstring>

#include "platform/cp1252.h"
#include "platform/datetime.h"

namespace exporttable {
namespace {

using namespace vantrix;

// A text from the command line in the core's code page (a terminal's UTF-8 converted).
std::string Text(const std::string& arg) { return platform::ExternalTextToCp1252(arg); }

std::string Unescaped(const std::string& arg) {
  const std::string line = Text(arg);
  std::string out;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == 't') {
      out.push_back('\t');
      ++i;
    } else {
      out.push_back(line[i]);
    }
  }
  return out;
}

bool IsNumber(TVantrixColType type) {
  return type == ectInteger || type == ectBigint || type == ectFloat || type == ectCurrency;
}

// The note's lines: the text split at each "\n".
std::vector<std::string> NoteLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      lines.emplace_back();
      ++i;
    } else {
      lines.back().push_back(text[i]);
    }
  }
  return lines;
}

void AddDrawings(TVantrix3XLS& xls, const XlsToolOptions& o, const TVantrixCustomSource& source, int extraCol) {
  for (const std::string& spec : o.notes) {
    const size_t a = spec.find(','), b = a == std::string::npos ? a : spec.find(',', a + 1);
    if (b == std::string::npos) continue;
    TxlsNote& note = xls.Notes.Add();
    note.Col = std::atoi(spec.substr(0, a).c_str());
    note.Row = std::atoi(spec.substr(a + 1, b - a - 1).c_str());
    for (const std::string& line : NoteLines(Text(spec.substr(b + 1)))) note.Lines.push_back(line);
  }
  int row = 1;
  for (const std::string& file : o.images) {
    TxlsPicture& picture = xls.Pictures.Add();
    picture.SetFileName(file);
    TxlsImage& image = xls.Images.Add();
    image.PictureName = picture.Name();
    image.Col = extraCol;
    image.Row = row;
    row += 12;
  }
  if (o.chart) {
    TxlsChart& chart = xls.Charts.Add();
    chart.Title = u"Leituras";
    for (int c = 0; c < source.GetColCount() && chart.Series.Count() < 2; ++c) {
      const TVantrixCustomColumn& column = *source.Columns().GetItem(c);
      if (!IsNumber(column.ColumnType())) continue;
      TxlsChartSeries& series = chart.Series.Add();
      series.DataColumn = column.ColumnName();
      series.Title = Cp1252ToWide(column.ColumnName());
      series.Color = chart.Series.Count() == 1 ? clrBlue : clrRed;
    }
  }
  for (int i = 0; i < o.sheets; ++i) {
    TxlsSheet& sheet = xls.Sheets.Add();
    sheet.LoadFromVantrixXLS();
    sheet.Title = u"Folha " + Cp1252ToWide(std::to_string(i + 1));
  }
}

}  // namespace

const char* XlsToolOptions::Usage() {
  return "  xls: [--field-formats] [--strip row|col] [--header LINE]... [--footer LINE]... (\\t: TAB)\n"
         "       [--header-rows N] [--footer-rows N] [--start-col N] [--page-header TEXT] [--page-footer TEXT]\n"
         "       [--sheet-title TEXT] [--extra-cells] [--merged] [--hyperlinks] [--background FILE] [--abort-at N]\n"
         "       [--note COL,ROW,TEXT]... (\\n: new line) [--image FILE]... [--chart] [--sheets N]\n";
}

bool XlsToolOptions::Parse(int argc, char** argv, int& i) {
  const std::string arg = argv[i];
  const bool hasValue = i + 1 < argc;
  if (arg == "--field-formats") fieldFormats = true;
  else if (arg == "--extra-cells") extraCells = true;
  else if (arg == "--merged") merged = true;
  else if (arg == "--hyperlinks") hyperlinks = true;
  else if (arg == "--strip" && hasValue) strip = argv[++i];
  else if (arg == "--header" && hasValue) header.push_back(Unescaped(argv[++i]));
  else if (arg == "--footer" && hasValue) footer.push_back(Unescaped(argv[++i]));
  else if (arg == "--header-rows" && hasValue) headerRows = std::atoi(argv[++i]);
  else if (arg == "--footer-rows" && hasValue) footerRows = std::atoi(argv[++i]);
  else if (arg == "--start-col" && hasValue) startDataCol = std::atoi(argv[++i]);
  else if (arg == "--page-header" && hasValue) pageHeader = argv[++i];
  else if (arg == "--page-footer" && hasValue) pageFooter = argv[++i];
  else if (arg == "--sheet-title" && hasValue) sheetTitle = Text(argv[++i]);
  else if (arg == "--background" && hasValue) background = argv[++i];
  else if (arg == "--abort-at" && hasValue) abortAt = std::atoi(argv[++i]);
  else if (arg == "--note" && hasValue) notes.push_back(argv[++i]);
  else if (arg == "--image" && hasValue) images.push_back(argv[++i]);
  else if (arg == "--chart") chart = true;
  else if (arg == "--sheets" && hasValue) sheets = std::atoi(argv[++i]);
  else return false;
  return true;
}

void ConfigureXls(TVantrix3XLS& xls, const XlsToolOptions& o, TVantrixCustomSource& source) {
  const int columns = source.GetColCount();
  // The sheets added below read the same rows again: the end flag of a custom source is its
  // owner's to clear before each pass.
  if (o.sheets > 0) xls.OnBeforeExportSheet = [&source](TVantrix3XLS&, int) { source.ClearEof(); };
  xls.Header = o.header;
  xls.Footer = o.footer;
  xls.HeaderRows = o.headerRows;
  xls.FooterRows = o.footerRows;
  xls.StartDataCol = o.startDataCol;
  // Page texts may hold any character: they are read as UTF-8.
  auto wide = [](const std::string& utf8) {
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return WideString(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
  };
  if (!o.pageHeader.empty()) xls.Options.PageHeader = wide(o.pageHeader);
  if (!o.pageFooter.empty()) xls.Options.PageFooter = wide(o.pageFooter);
  if (!o.sheetTitle.empty()) xls.Options.SetSheetTitle(o.sheetTitle);

  if (o.fieldFormats) {
    // The number columns in turn: a bold sum, an average on yellow with a border, a maximum
    // in red italics, a minimum.
    int n = 0;
    for (int c = 0; c < columns; ++c) {
      const TVantrixCustomColumn& column = *source.Columns().GetItem(c);
      if (!IsNumber(column.ColumnType())) continue;
      TxlsFieldFormat& field = xls.FieldFormats.Add();
      field.FieldName = column.ColumnName();
      switch (n++ % 4) {
        case 0:
          field.Aggregate = aggSum;
          field.Font.Style.Include(xfsBold);
          break;
        case 1:
          field.Aggregate = aggAvg;
          field.Fill.Pattern = ptSolid;
          field.Fill.Background = clrYellow;
          field.Fill.Foreground = clrYellow;
          field.Borders.Bottom.Style = bstThin;
          break;
        case 2:
          field.Aggregate = aggMax;
          field.Font.Color = clrRed;
          field.Font.Style.Include(xfsItalic);
          break;
        default: field.Aggregate = aggMin; break;
      }
    }
    xls.Options.AggregateFormat.Font.Style.Include(xfsBold);
  }
  if (o.strip == "row" || o.strip == "col") {
    xls.StripType = o.strip == "row" ? ssRow : ssCol;
    for (const TxlsColor color : {clrLightYellow, clrLightTurquoise}) {
      TxlsFormat& style = xls.StripStyles.Add();
      style.Fill.Pattern = ptSolid;
      style.Fill.Background = color;
      style.Fill.Foreground = color;
    }
  }
  // The extras go right of the table.
  const int extraCol = o.startDataCol + columns + 2;
  if (o.extraCells) {
    xls.AddBooleanCell(extraCol, 1, true);
    TDateTime moment = 0;
    platform::TryEncodeDateTime(2024, 5, 17, 8, 15, 0, 0, moment);
    xls.AddDateTimeCell(extraCol, 2, "dd/mm/yyyy hh:nn", moment);
    xls.AddNumericCell(extraCol, 3, "0.00", 1234.5).Format.Font.Style.Include(xfsBold);
    xls.AddStringCell(extraCol, 4, u"Extra a\u00E7\u00E3o \u2248 \u03A9");
  }
  if (o.merged) {
    xls.AddMergedCells(1, 1, 1, 3);
    xls.AddMergedCells(6, 7, extraCol, extraCol + 1);
  }
  if (o.hyperlinks) {
    TxlsHyperlink& site = xls.Hyperlinks.Add();
    site.Col = extraCol + 2;
    site.Row = 1;
    site.Title = u"S\u00EDtio";
    site.Target = u"https://example.com/tervana";
    site.ScreenTip = u"Abrir o s\u00EDtio";
    TxlsHyperlink& file = xls.Hyperlinks.Add();
    file.Style = hlsLocalFile;
    file.Col = extraCol + 2;
    file.Row = 2;
    file.Title = u"Arquivo";
    file.Target = u"/tmp/leituras.mpc";
  }
  if (!o.background.empty()) xls.Background.SetFileName(o.background);
  AddDrawings(xls, o, source, extraCol);
  if (o.abortAt > 0) {
    const int at = o.abortAt;
    xls.OnExportedRecord = [at](TVantrix3& sender, int counter) {
      if (counter >= at) sender.Abort();
    };
  }
}

WideTable::WideTable(int columns, int rows) : rows_(rows) {
  for (int c = 0; c < columns; ++c) {
    TVantrixCustomColumn* column = source_.Columns().Add();
    column->SetColumnType(ectInteger);
    column->SetWidth(6);
  }
  source_.OnGetNextRecord = [this](TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo >= rows_; };
  source_.OnGetColumnText = [](TVantrixCustomSource&, int recNo, const TVantrixCustomColumn& column,
                               std::string& text) { text = std::to_string(recNo * 1000 + column.Index()); };
}

}  // namespace exporttable
