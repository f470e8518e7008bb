#include "export/vantrix3_pdf.h"

#include <algorithm>
#include <cmath>

#include "export/columns.h"
#include "export/datetime_picture.h"
#include "export/library_strings.h"
#include "export/page_units.h"
#include "export/row.h"

namespace vantrix {
namespace {

int Round(double x) { return static_cast<int>(RoundHalfEven(x)); }

}  // namespace

std::unique_ptr<TVantrixWriter> TVantrix3PDF::CreateWriter(OutputStream& stream) {
  return std::make_unique<TVantrixPDFWriter>(*this, stream);
}

TPDFDocument& TVantrix3PDF::Doc() const { return static_cast<TVantrixPDFWriter*>(GetWriter())->PDFDocument(); }

const std::vector<int>& TVantrix3PDF::ColumnEdges() const {
  static const std::vector<int> kNone;
  return pages_.empty() ? kNone : pages_.front().edges;
}

void TVantrix3PDF::LayOutColumns() {
  if (laidOut_) return;
  laidOut_ = true;
  TPDFColumnLayoutInput input;
  for (int i = 0; i < Columns().Count(); ++i) {
    TVantrixColumn& column = Columns()[i];
    column.Width = std::max(column.Width, DateTimeChars(column));
    input.widths.push_back(column.Width);
  }
  input.spacing = options_.ColSpacing;
  input.rule = options_.GridLineWidth;
  input.left = trim_.Left;
  input.right = trim_.Right;
  input.dataSize = dataFont_.FontSize;
  input.captionSize = captionFont_.FontSize;
  input.repeated = RepeatedColumns;
  TPDFColumnLayout layout = LayOutPDFColumns(input);
  dataFont_.FontSize = layout.dataSize;
  captionFont_.FontSize = layout.captionSize;
  pages_ = std::move(layout.pages);
  page_ = 0;
  pending_.assign(pages_.size(), {});
}

// A date or time cut short reads as another one ("20:..." for any minute of the hour), so its
// column is never narrower than its widest text, whatever width it was given: measured in the
// data font, whose size the table then takes as a whole.
int TVantrix3PDF::DateTimeChars(const TVantrixColumn& column) const {
  if (column.ColType != ectDate && column.ColType != ectTime && column.ColType != ectDateTime) return 0;
  long long widest = 0;
  std::string text;
  for (const TDateTime moment : DateTimeWidthSamples()) {
    text.clear();
    FormatDateTimeTo(text, column.Format, moment, Formats().Settings());
    widest = std::max(widest, TextUnits(text, dataFont_));
  }
  return CharsToHoldUnits(widest);
}

int TVantrix3PDF::OwnerTextChars(std::string_view text, bool caption) const {
  const int chars = CharsToHold(text, caption ? options_.CaptionFont : options_.DataFont);
  const int data = options_.DataFont.FontSize, size = caption ? options_.CaptionFont.FontSize : data;
  // Column widths count characters of the data font; a caption in a larger font needs more.
  if (size <= data || data <= 0) return chars;
  return static_cast<int>(std::min(std::ceil(static_cast<double>(chars) * size / data), 1e9));
}

void TVantrix3PDF::BeginExport() {
  if (const std::string problem = options_.PageOptions.PrintProblem(); !problem.empty()) throw EVantrixError(problem);
  TVantrix3FormatText::BeginExport();
  trim_ = options_.PageOptions.GetTrimBox();
  y_ = trim_.Top;
  blockTop_ = y_;
  captionFont_ = options_.CaptionFont;
  dataFont_ = options_.DataFont;
  laidOut_ = false;  // the width pass that follows may still widen the columns
  pages_.clear();
  pending_.clear();
  page_ = 0;
  blockCaption_ = blockRule_ = false;
  blockRows_ = 0;

  TPDFDocument& doc = Doc();
  doc.SetMediaBox(options_.PageOptions.GetMediaBox());
  doc.SetTrimBox(trim_);
  doc.BeginDoc();
  doc.NewPage();
  doc.LineWidth = options_.GridLineWidth;
  doc.LineSpacing = options_.RowSpacing;
  doc.ChangeLineColor(options_.GridLineColor);
  WriteHeader();
  doc.AddFont(dataFont_);
  doc.AddFont(captionFont_);
  doc.AddFont(options_.HeaderFont);
  doc.AddFont(options_.FooterFont);
}

void TVantrix3PDF::WriteLines(const TStrings& lines, const TPDFFont& font) {
  TPDFDocument& doc = Doc();
  doc.SetFont(font);
  const double r = options_.RowSpacing;
  const int step = Round((r / 2 + 1) * font.FontSize);
  for (const std::string& line : lines) {
    y_ -= step;
    if (y_ < trim_.Bottom) {
      // A new page starts black: both colours again, for the header and the footer alike.
      doc.NewPage();
      doc.ChangeFillColor(font.FontColor);
      doc.ChangeLineColor(options_.GridLineColor);
      y_ = trim_.Top - step;
    }
    doc.StringOut(trim_.Left, y_, line, font.FontColor);
  }
}

void TVantrix3PDF::WriteHeader() {
  if (!Header.empty()) {
    WriteLines(Header, options_.HeaderFont);
    y_ -= Round(options_.HeaderFont.FontSize * options_.RowSpacing / 2);
  }
  blockTop_ = y_;
}

void TVantrix3PDF::WriteFooter() {
  if (!Footer.empty()) WriteLines(Footer, options_.FooterFont);
}

void TVantrix3PDF::HorizontalRule() { Doc().Line(Edges().front(), y_, Edges().back(), y_, options_.GridLineColor); }

void TVantrix3PDF::PlotVertGridLines(int top, int bottom) {
  const double half = options_.GridLineWidth / 2.0;
  for (const int x : Edges()) Doc().Line(x, top + half, x, bottom - half, options_.GridLineColor);
}

void TVantrix3PDF::StartTablePage() {
  TPDFDocument& doc = Doc();
  doc.NewPage();
  doc.ChangeFillColor(dataFont_.FontColor);
  doc.ChangeLineColor(options_.GridLineColor);
}

void TVantrix3PDF::DrawCaptionRow() {
  TPDFDocument& doc = Doc();
  doc.SetFont(captionFont_);
  const double r = options_.RowSpacing;
  HorizontalRule();
  y_ -= Round((r / 2 + 1) * captionFont_.FontSize);
  const int indent = CharsToPoints(captionFont_.FontSize, options_.ColSpacing / 2);
  const std::vector<int>& columns = pages_[page_].columns;
  for (size_t j = 0; j < columns.size(); ++j) {
    PlaceText(Edges(), j, Edges()[j] + indent, captionFont_, GetColCaption(columns[j]), placed_);
    doc.StringOut(placed_.x, y_, placed_.text, captionFont_.FontColor);
  }
  y_ -= Round(captionFont_.FontSize * r / 2);
  HorizontalRule();
}

void TVantrix3PDF::WriteCaptionRow() {
  LayOutColumns();
  DrawCaptionRow();
  blockCaption_ = true;
}

void TVantrix3PDF::PlaceDataCell(size_t page, size_t position, const RowCell& cell, PlacedCell& placed) const {
  const std::vector<int>& edges = pages_[page].edges;
  const int size = dataFont_.FontSize;
  const int indent = CharsToPoints(size, options_.ColSpacing / 2);
  const int left = edges[position], right = edges[position + 1];
  int x = left + indent;
  if (cell.align == ecaCenter) {
    // Centred in the column's text, or in what is left of it on a page narrower than it.
    const int width = PDFColumnPoints(size, Columns()[pages_[page].columns[position]].Width, 0, right - left);
    x += (width - TextWidth(cell.value, dataFont_)) / 2;
  } else if (cell.align == ecaRight) {
    x = right - indent - TextWidth(cell.value, dataFont_);
  }
  placed.shown = true;
  placed.color = cell.color;
  placed.background = cell.background;
  PlaceText(edges, position, x, dataFont_, cell.value, placed);
}

void TVantrix3PDF::DrawCell(size_t position, const PlacedCell& cell) {
  if (!cell.shown) return;
  TPDFDocument& doc = Doc();
  const double r = options_.RowSpacing;
  const int size = dataFont_.FontSize;
  const int left = Edges()[position], right = Edges()[position + 1];
  if (cell.background != 0xFFFFFF)
    doc.FillRect(left, y_ - size * r / 2, right - left, (1 + r) * size - options_.GridLineWidth / 2.0, cell.background);
  doc.StringOut(cell.x, y_, cell.text, cell.color);
}

void TVantrix3PDF::WriteDataRow() {
  LayOutColumns();
  TPDFDocument& doc = Doc();
  const double r = options_.RowSpacing;
  const int size = dataFont_.FontSize;
  if (y_ - Round((1 + r) * size) < trim_.Bottom) {
    PlotVertGridLines(blockTop_, y_);
    DrawColumnPages();
    y_ = trim_.Top;
    blockTop_ = y_;
    StartTablePage();
    HorizontalRule();
    blockCaption_ = false;
    blockRule_ = true;
  }
  doc.SetFont(dataFont_);
  y_ -= Round((r / 2 + 1) * size);
  // Every cell's event fires once, in column order, whichever page draws the cell.
  const int count = std::min(Row().Count(), Columns().Count());
  cells_.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    RowCell& cell = cells_[static_cast<size_t>(i)];
    Row()[i].GetExportedValue(true, cell.value);
    TVantrixFont font;
    font.color = dataFont_.FontColor;
    cell.align = Columns()[i].Align;
    cell.background = 0xFFFFFF;
    GetCellParams(RecordCounter(), i, cell.value, cell.align, font, cell.background);
    cell.color = font.color;
  }
  for (size_t page = 0; page < pages_.size(); ++page) {
    const std::vector<int>& columns = pages_[page].columns;
    for (size_t j = 0; j < columns.size(); ++j) {
      PlacedCell& placed = page == 0 ? placed_ : pending_[page].emplace_back();
      placed.shown = columns[j] < count;
      if (placed.shown) PlaceDataCell(page, j, cells_[static_cast<size_t>(columns[j])], placed);
      if (page == 0) DrawCell(j, placed);
    }
  }
  ++blockRows_;
  y_ -= Round(size * r / 2);
  HorizontalRule();
}

// The rows of the page of rows just drawn, again at the same heights, on one page for each
// further group of columns; the caption row or the top rule as that page of rows began.
void TVantrix3PDF::DrawColumnPages() {
  if (!blockCaption_ && blockRows_ == 0) return;  // the page of rows holds no table
  const int bottom = y_;
  const double r = options_.RowSpacing;
  const int size = dataFont_.FontSize;
  for (page_ = 1; page_ < pages_.size(); ++page_) {
    StartTablePage();
    y_ = blockTop_;
    if (blockCaption_) DrawCaptionRow();
    else if (blockRule_) HorizontalRule();
    Doc().SetFont(dataFont_);
    const std::vector<PlacedCell>& cells = pending_[page_];
    const size_t perRow = pages_[page_].columns.size();
    for (size_t at = 0; perRow > 0 && at + perRow <= cells.size(); at += perRow) {
      y_ -= Round((r / 2 + 1) * size);
      for (size_t j = 0; j < perRow; ++j) DrawCell(j, cells[at + j]);
      y_ -= Round(size * r / 2);
      HorizontalRule();
    }
    PlotVertGridLines(blockTop_, y_);
    pending_[page_].clear();
  }
  page_ = 0;
  y_ = bottom;
  blockRows_ = 0;
}

// A reader lays text out in the widths the fonts declare, which are the ones measured here:
// what is kept between the rules stays there on the page. The rules' ink reaches half their
// width into the cell.
void TVantrix3PDF::PlaceText(const std::vector<int>& edges, size_t position, int x, const TPDFFont& font,
                             std::string_view text, PlacedCell& placed) const {
  const double ink = std::max(options_.GridLineWidth, 0) / 2.0;
  const double low = edges[position] + ink, high = edges[position + 1] - ink;
  const double width = static_cast<double>(TextUnits(text, font)) * font.FontSize / 1000;
  placed.x = x;
  if (x < low || x + width > high) {
    const double first = std::ceil(low), last = std::floor(high - width);  // where it may start
    if (first > last) {
      placed.x = static_cast<int>(first);
      CutText(high - first, font, text, placed.text);
      return;
    }
    placed.x = static_cast<int>(std::clamp(static_cast<double>(x), first, last));
  }
  placed.text.assign(text);
}

// Too wide for its cell: the text starts at the cell's left and loses what would cross the
// right rule, which three full stops say when there is room for them (so that a cut number
// does not pass for a smaller one).
void TVantrix3PDF::CutText(double room, const TPDFFont& font, std::string_view text, std::string& out) {
  static constexpr std::string_view kCutMark = "...";
  const double mark = static_cast<double>(TextUnits(kCutMark, font)) * font.FontSize / 1000;
  if (mark <= room) {
    out.assign(text.substr(0, FittingLength(text, font, room - mark)));
    out += kCutMark;
  } else {
    out.assign(text.substr(0, FittingLength(text, font, room)));
  }
}

void TVantrix3PDF::EndExport() {
  LayOutColumns();
  if (y_ != trim_.Top) PlotVertGridLines(blockTop_, y_);
  DrawColumnPages();
  WriteFooter();
  Doc().EndDoc();
  TVantrix3FormatText::EndExport();
}

}  // namespace vantrix
