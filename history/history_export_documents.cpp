// The branches of the history export road whose exporters take settings of the table: the
// workbook (one sheet per block of rows, the value-name row in the caption font), PDF and rich
// text (turned to landscape for wide tables) and HTML (the recording's file name as title,
// centred cells, the value-name row marked).
#include <QString>
#include <algorithm>

#include "export/vantrix3_html.h"
#include "export/vantrix3_pdf.h"
#include "export/vantrix3_rtf.h"
#include "export/xls/vantrix3_xls.h"
#include "history/history_export.h"
#include "platform/cp1252.h"
#include "platform/system_colors.h"

namespace history {
namespace {

// Fonts the viewer's documents are written in, given as heights in pixels on a 96-dpi desktop.
constexpr int PointsOfPixels(int pixels) { return (pixels * 72 + 48) / 96; }
constexpr int kRtfFontPixels = 13;
constexpr int kHtmlFontPixels = 11;

// The desktop's colour of an inactive window caption: the HTML table's border.
constexpr uint32_t kInactiveCaption = platform::kSystemColorBase + 3;
// Red 255, green 255, blue 0 as 0x00BBGGRR.
constexpr uint32_t kYellow = 0x00FFFF;

// Portrait A4 margins of the PDF in millimetres: left, right, top, bottom.
constexpr double kPdfMargins[4] = {25, 15, 20, 20};

// Tables from this many columns on are printed across the page.
constexpr int kPdfLandscapeColumns = 8;
constexpr int kRtfLandscapeColumns = 8;

std::u16string Utf16Of(const std::string& name) {
  if (platform::IsValidUtf8(name)) return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).toStdU16String();
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())).toStdU16String();
}

// At most n UTF-16 units, never ending inside a surrogate pair.
std::u16string Cut(std::u16string text, size_t n) {
  if (text.size() <= n) return text;
  if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
  text.resize(n);
  return text;
}

constexpr size_t kMaxSheetTitle = 31;

}  // namespace

size_t HistoryExport::SheetCountFor(size_t tableRows) {
  const size_t header = static_cast<size_t>(HistoryData::kHeaderRows);
  const size_t dataRows = tableRows > header ? tableRows - header : 0;
  return std::max<size_t>(1, (dataRows + kSheetDataRows - 1) / kSheetDataRows);
}

std::vector<std::u16string> HistoryExport::SheetTitles(const std::string& recordingPath, size_t sheets) {
  const std::u16string name = Utf16Of(FileNameOf(recordingPath));
  if (sheets <= 1) return {Cut(name, kMaxSheetTitle)};
  std::vector<std::u16string> titles;
  for (size_t n = 1; n <= sheets; ++n) {
    const std::string number = " - " + std::to_string(n);
    std::u16string title = Cut(name, kMaxSheetTitle - number.size());
    title.append(number.begin(), number.end());
    titles.push_back(std::move(title));
  }
  return titles;
}

vantrix::TVantrix3XLS& HistoryExport::Xls() {
  if (!xls_) {
    xls_ = std::make_unique<vantrix::TVantrix3XLS>();
    Prepare(*xls_);
    xls_->AutoCalcColWidth = true;
    xls_->Options.PageFooter = u"Page &P of &N";
    xls_->OnBeforeExportSheet = [this](vantrix::TVantrix3XLS&, int index) { Vantrix3XLSBeforeExportSheet(index); };
    xls_->OnGetDataParams = [](vantrix::TxlsSheet& sheet, int, int, int row, vantrix::TxlsFormat& format,
                               std::string&) { Vantrix3XLSGetDataParams(sheet, row, format); };
  }
  return *xls_;
}

// Each sheet starts its records again at 1, continuing the table where the sheet before it
// stopped.
void HistoryExport::Vantrix3XLSBeforeExportSheet(int sheetIndex) {
  source_.ClearEof();
  sheetIndex_ = static_cast<size_t>(std::max(sheetIndex, 0));
}

// The value-name row, right below the caption row, in the captions' font.
void HistoryExport::Vantrix3XLSGetDataParams(const vantrix::TxlsSheet& sheet, int row, vantrix::TxlsFormat& format) {
  if (row == 1) format.SetFont(&sheet.Options.CaptionsFormat.Font);
}

void HistoryExport::PrepareXls() {
  vantrix::TVantrix3XLS& xls = Xls();
  spreadsheet_ = true;
  sheetIndex_ = 0;
  xls.Sheets.Clear();
  for (std::u16string& title : SheetTitles(recordingPath_, SheetCountFor(cells_.TableRowCount()))) {
    vantrix::TxlsSheet& sheet = xls.Sheets.Add();
    sheet.LoadFromVantrixXLS();
    sheet.Title = std::move(title);
  }
}

vantrix::TVantrix3PDF& HistoryExport::Pdf() {
  if (!pdf_) {
    pdf_ = std::make_unique<vantrix::TVantrix3PDF>();
    Prepare(*pdf_);
    pdf_->Options().PageOptions.SetUnits(vantrix::unMillimeter);
    pdf_->Options().ColSpacing = 1;
  }
  return *pdf_;
}

void HistoryExport::PreparePdf() {
  vantrix::TVantrixPDFPageOptions& page = Pdf().Options().PageOptions;
  // The margins belong to the portrait page; turning the page turns them with it.
  page.SetOrientation(vantrix::poPortrait);
  page.SetMarginLeft(kPdfMargins[0]);
  page.SetMarginRight(kPdfMargins[1]);
  page.SetMarginTop(kPdfMargins[2]);
  page.SetMarginBottom(kPdfMargins[3]);
  if (source_.Columns().Count() >= kPdfLandscapeColumns) page.SetOrientation(vantrix::poLandscape);
  // A text wider than its column would be cut at the column's rule: the column holds its
  // widest text, measured in the fonts' widths, not counted in characters (a name of W's is
  // three times as wide as one of i's). The exporter makes the fonts smaller when the table
  // outgrows the page, and puts what does not fit at the smallest size on column pages, each
  // beginning with the date and the time (and the milliseconds' own column) again.
  const std::vector<size_t> widest =
      LongestTexts([&font = Pdf().Options().DataFont](std::string_view text) {
        return static_cast<size_t>(vantrix::TextUnits(text, font));
      });
  Pdf().RepeatedColumns = cells_.HasMillisecondColumn() ? 3 : 2;
  vantrix::TVantrixCustomColumns& columns = source_.Columns();
  for (int c = 0; c < columns.Count(); ++c) {
    vantrix::TVantrixCustomColumn& column = *columns.GetItem(c);
    const long long units = static_cast<long long>(widest[static_cast<size_t>(c)]);
    const auto cells = static_cast<size_t>(vantrix::CharsToHoldUnits(units));
    const auto caption = static_cast<size_t>(Pdf().OwnerTextChars(column.Caption(), true));
    const size_t need = std::max(cells, caption);
    column.SetWidth(std::max(column.Width(), static_cast<int>(std::min<size_t>(need, 255))));
  }
}

vantrix::TVantrix3RTF& HistoryExport::Rtf() {
  if (!rtf_) {
    rtf_ = std::make_unique<vantrix::TVantrix3RTF>();
    Prepare(*rtf_);
    vantrix::TRTFOptions& options = rtf_->Options();
    for (vantrix::TrtfStyle* style : {&options.CaptionStyle, &options.DataStyle, &options.HeaderStyle,
                                      &options.FooterStyle}) {
      style->Font.name = "Arial";
      style->Font.size = PointsOfPixels(kRtfFontPixels);
      style->Font.color = 0;
    }
    vantrix::EditFontStyle(options.CaptionStyle.Font, vantrix::fsBold, true);
    options.CaptionStyle.Alignment = vantrix::talCenter;
    options.DataStyle.Alignment = vantrix::talCenter;
    rtf_->OnGetDataStyle = [this](vantrix::TVantrix3&, int row, int, vantrix::TrtfStyle& style) {
      Vantrix3RTFGetDataStyle(row, style);
    };
  }
  return *rtf_;
}

// The value-name row, the first data row, in the captions' font.
void HistoryExport::Vantrix3RTFGetDataStyle(int row, vantrix::TrtfStyle& style) const {
  if (row == 0) style.Font = rtf_->Options().CaptionStyle.Font;
}

void HistoryExport::PrepareRtf() {
  vantrix::TVantrix3RTF& rtf = Rtf();
  vantrix::TVantrixCustomColumns& columns = source_.Columns();
  rtf.Options().PageOrientation = columns.Count() >= kRtfLandscapeColumns ? vantrix::poLandscape : vantrix::poPortrait;
  // Cells a character narrower than the text exports (the date and the time two), centred:
  // a data cell takes the alignment of its column.
  rtf.ColumnsAlign.clear();
  for (int c = 0; c < columns.Count(); ++c) {
    vantrix::TVantrixCustomColumn& column = *columns.GetItem(c);
    column.SetWidth(std::max(1, column.Width() - (c < 2 ? 2 : 1)));
    rtf.ColumnsAlign.push_back(column.ColumnName() + "=Center");
  }
}

vantrix::TVantrix3HTML& HistoryExport::Html() {
  if (!html_) {
    html_ = std::make_unique<vantrix::TVantrix3HTML>();
    Prepare(*html_);
    html_->Header = {"<br>"};
    html_->Footer = {"<br>"};
    html_->SetHTMLTemplate(vantrix::htPlain);
    html_->TableOptions.BorderColor = kInactiveCaption;
    html_->HTMLOptions.TextFont.name = "Arial";
    html_->HTMLOptions.TextFont.size = PointsOfPixels(kHtmlFontPixels);
    html_->OnGetCellParams = [this](vantrix::TVantrix3&, int, int, const std::string&, vantrix::TVantrixColAlign& align,
                                    vantrix::TVantrixFont&, uint32_t& background) {
      Vantrix3HTMLGetCellParams(align, background);
    };
  }
  return *html_;
}

// Every cell centred; the cells of the first record written (the value-name row) marked, as
// many as the export has columns (the milliseconds' own column too).
void HistoryExport::Vantrix3HTMLGetCellParams(vantrix::TVantrixColAlign& align, uint32_t& background) {
  align = vantrix::ecaCenter;
  if (htmlMarked_ < static_cast<size_t>(source_.Columns().Count())) {
    ++htmlMarked_;
    background = kYellow;
  }
}

void HistoryExport::PrepareHtml() {
  htmlMarked_ = 0;
  Html().Title = ShownFileName(recordingPath_);
}

}  // namespace history
