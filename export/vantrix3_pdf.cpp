#include "export/vantrix3_pdf.h"

#include <algorithm>
#include <cmath>

#include "export/columns.h"
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

void TVantrix3PDF::LayOutColumns() {
  if (laidOut_) return;
  laidOut_ = true;
  const double spacing = options_.ColSpacing;
  auto rightEdge = [&](int size) {
    long long x = trim_.Left;
    for (int i = 0; i < Columns().Count(); ++i) x += CharsToPoints(size, Columns()[i].Width + spacing);
    return x;
  };
  // A table wider than the page would be drawn off it: its fonts take the largest whole size
  // at which every column fits (down to one point), and a table that fits keeps its sizes.
  int size = dataFont_.FontSize;
  while (size > 1 && rightEdge(size) > trim_.Right) --size;
  if (size < dataFont_.FontSize) {
    dataFont_.FontSize = size;
    if (captionFont_.FontSize > size) captionFont_.FontSize = size;
  }
  edges_.clear();
  edges_.push_back(trim_.Left);
  for (int i = 0; i < Columns().Count(); ++i)
    edges_.push_back(edges_.back() + CharsToPoints(dataFont_.FontSize, Columns()[i].Width + spacing));
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

void TVantrix3PDF::HorizontalRule() { Doc().Line(edges_.front(), y_, edges_.back(), y_, options_.GridLineColor); }

void TVantrix3PDF::PlotVertGridLines(int top, int bottom) {
  const double half = options_.GridLineWidth / 2.0;
  for (const int x : edges_) Doc().Line(x, top + half, x, bottom - half, options_.GridLineColor);
}

void TVantrix3PDF::WriteCaptionRow() {
  LayOutColumns();
  TPDFDocument& doc = Doc();
  doc.SetFont(captionFont_);
  const double r = options_.RowSpacing;
  HorizontalRule();
  y_ -= Round((r / 2 + 1) * captionFont_.FontSize);
  const int indent = CharsToPoints(captionFont_.FontSize, options_.ColSpacing / 2);
  for (size_t i = 0; i + 1 < edges_.size(); ++i)
    CellOut(i, edges_[i] + indent, captionFont_, GetColCaption(static_cast<int>(i)), captionFont_.FontColor);
  y_ -= Round(captionFont_.FontSize * r / 2);
  HorizontalRule();
}

void TVantrix3PDF::WriteDataRow() {
  LayOutColumns();
  TPDFDocument& doc = Doc();
  doc.SetFont(dataFont_);
  const double r = options_.RowSpacing;
  const int size = dataFont_.FontSize;
  if (y_ - Round((1 + r) * size) < trim_.Bottom) {
    PlotVertGridLines(blockTop_, y_);
    y_ = trim_.Top;
    blockTop_ = y_;
    doc.NewPage();
    doc.ChangeFillColor(dataFont_.FontColor);
    doc.ChangeLineColor(options_.GridLineColor);
    HorizontalRule();
  }
  y_ -= Round((r / 2 + 1) * size);
  const int indent = CharsToPoints(size, options_.ColSpacing / 2);
  const int count = std::min(Row().Count(), static_cast<int>(edges_.size()) - 1);
  for (int i = 0; i < count; ++i) {
    Row()[i].GetExportedValue(true, value_);
    TVantrixFont font;
    font.color = dataFont_.FontColor;
    TVantrixColAlign align = Columns()[i].Align;
    uint32_t background = 0xFFFFFF;
    GetCellParams(RecordCounter(), i, value_, align, font, background);
    const int left = edges_[static_cast<size_t>(i)], right = edges_[static_cast<size_t>(i) + 1];
    if (background != 0xFFFFFF)
      doc.FillRect(left, y_ - size * r / 2, right - left, (1 + r) * size - options_.GridLineWidth / 2.0, background);
    int x = left + indent;
    if (align == ecaCenter) x += (CharsToPoints(size, Columns()[i].Width) - TextWidth(value_, dataFont_)) / 2;
    else if (align == ecaRight) x = right - indent - TextWidth(value_, dataFont_);
    CellOut(static_cast<size_t>(i), x, dataFont_, value_, font.color);
  }
  y_ -= Round(size * r / 2);
  HorizontalRule();
}

// A reader lays text out in the widths the fonts declare, which are the ones measured here:
// what is kept between the rules stays there on the page. The rules' ink reaches half their
// width into the cell.
void TVantrix3PDF::CellOut(size_t column, int x, const TPDFFont& font, std::string_view text, uint32_t color) {
  const double ink = std::max(options_.GridLineWidth, 0) / 2.0;
  const double low = edges_[column] + ink, high = edges_[column + 1] - ink;
  const double width = static_cast<double>(TextUnits(text, font)) * font.FontSize / 1000;
  if (x < low || x + width > high) {
    const double first = std::ceil(low), last = std::floor(high - width);  // where it may start
    if (first > last) {
      CutCellOut(static_cast<int>(first), high - first, font, text, color);
      return;
    }
    x = static_cast<int>(std::clamp(static_cast<double>(x), first, last));
  }
  Doc().StringOut(x, y_, text, color);
}

// Too wide for its cell: the text starts at the cell's left and loses what would cross the
// right rule, which three full stops say when there is room for them (so that a cut number
// does not pass for a smaller one).
void TVantrix3PDF::CutCellOut(int x, double room, const TPDFFont& font, std::string_view text, uint32_t color) {
  static constexpr std::string_view kCutMark = "...";
  const double mark = static_cast<double>(TextUnits(kCutMark, font)) * font.FontSize / 1000;
  cut_.clear();
  if (mark <= room) {
    cut_.assign(text.substr(0, FittingLength(text, font, room - mark)));
    cut_ += kCutMark;
  } else {
    cut_.assign(text.substr(0, FittingLength(text, font, room)));
  }
  Doc().StringOut(x, y_, cut_, color);
}

void TVantrix3PDF::EndExport() {
  LayOutColumns();
  if (y_ != trim_.Top) PlotVertGridLines(blockTop_, y_);
  WriteFooter();
  Doc().EndDoc();
  TVantrix3FormatText::EndExport();
}

}  // namespace vantrix
