#include "export/vantrix3_pdf.h"

#include "export/columns.h"
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

void TVantrix3PDF::BeginExport() {
  TVantrix3FormatText::BeginExport();
  trim_ = options_.PageOptions.GetTrimBox();
  y_ = trim_.Top;
  blockTop_ = y_;
  captionFont_ = options_.CaptionFont;
  dataFont_ = options_.DataFont;
  LayOutColumns();

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
  TPDFDocument& doc = Doc();
  doc.SetFont(captionFont_);
  const double r = options_.RowSpacing;
  HorizontalRule();
  y_ -= Round((r / 2 + 1) * captionFont_.FontSize);
  const int indent = CharsToPoints(captionFont_.FontSize, options_.ColSpacing / 2);
  for (int i = 0; i < Columns().Count(); ++i)
    doc.StringOut(edges_[static_cast<size_t>(i)] + indent, y_, GetColCaption(i), captionFont_.FontColor);
  y_ -= Round(captionFont_.FontSize * r / 2);
  HorizontalRule();
}

void TVantrix3PDF::WriteDataRow() {
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
    if (align == ecaCenter) x += (CharsToPoints(size, Columns()[i].Width) - TextWidth(value_, size)) / 2;
    else if (align == ecaRight) x = right - indent - TextWidth(value_, size);
    doc.StringOut(x, y_, value_, font.color);
  }
  y_ -= Round(size * r / 2);
  HorizontalRule();
}

void TVantrix3PDF::EndExport() {
  if (y_ != trim_.Top) PlotVertGridLines(blockTop_, y_);
  WriteFooter();
  Doc().EndDoc();
  TVantrix3FormatText::EndExport();
}

}  // namespace vantrix
