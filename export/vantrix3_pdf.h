#pragma once
// The PDF exporter: the rows as a ruled table on PDF pages. Header lines, a caption row, one
// line of text per record, footer lines; a rule under every row and between the columns; a
// new page when the next row no longer fits above the bottom margin. The page comes from the
// page options, fonts, spacing and rules from the options; it draws through the document of
// its writer.
//
// A table wider than the page is set smaller, down to a size still read (pdf_column_pages.h);
// what is wider still goes on column pages. Each page of rows is then followed by one page per
// further group of columns, holding the same rows at the same heights; the cells of those
// pages are set aside as they will be drawn (cut to their columns) until the page of rows is
// done, so no more than one page of rows is ever held.
#include <string_view>
#include <vector>

#include "export/pdf_column_pages.h"
#include "export/pdf_document.h"
#include "export/pdf_options.h"
#include "export/vantrix3_text.h"

namespace vantrix {

class TVantrix3PDF : public TVantrix3FormatText {
 public:
  TPDFOptions& Options() { return options_; }
  const TPDFOptions& Options() const { return options_; }
  void SetOptions(const TPDFOptions& options) { options_.Assign(options); }

  // Leading columns that every column page draws again at its left, so that its rows can be
  // told apart (a recording's date and time); none by default.
  int RepeatedColumns = 0;

  const TStrings* OwnerColumnsWidth() const override { return &ColumnsWidth; }
  const TStrings* OwnerColumnsAlign() const override { return &ColumnsAlign; }
  // The width pass measures texts in the fonts' widths, captions at their own size.
  int OwnerTextChars(std::string_view text, bool caption) const override;

  // The drawing position in points from the page bottom, the column edges of the run's first
  // column page (one per column and one after the last) and every column page of the run:
  // for tests and tools.
  int CurrentY() const { return y_; }
  const std::vector<int>& ColumnEdges() const;
  const std::vector<TPDFColumnPage>& ColumnPages() const { return pages_; }
  // The sizes the run draws captions and data in: the options' sizes, made smaller when the
  // table would not fit between the margins.
  int RunCaptionFontSize() const { return captionFont_.FontSize; }
  int RunDataFontSize() const { return dataFont_.FontSize; }

 protected:
  std::unique_ptr<TVantrixWriter> CreateWriter(OutputStream& stream) override;
  void BeginExport() override;
  void EndExport() override;
  void WriteCaptionRow() override;
  void WriteDataRow() override;

 private:
  // A data cell as the row hands it over, after the user's event.
  struct RowCell {
    std::string value;
    TVantrixColAlign align = ecaLeft;
    uint32_t color = 0, background = 0xFFFFFF;
  };
  // A cell as a page draws it: where its text starts and the text kept between its rules.
  struct PlacedCell {
    bool shown = false;  // the row has the cell
    int x = 0;
    uint32_t color = 0, background = 0xFFFFFF;
    std::string text;
  };

  TPDFDocument& Doc() const;
  // The font sizes and the column pages, once per run before the first row or rule is drawn:
  // after the width pass, whose widths they must take.
  void LayOutColumns();
  // The characters of the data font a date, time or date-and-time column needs for its widest
  // text; 0 for any other column.
  int DateTimeChars(const TVantrixColumn& column) const;
  const std::vector<int>& Edges() const { return pages_[page_].edges; }
  void WriteHeader();
  void WriteFooter();
  void HorizontalRule();
  void PlotVertGridLines(int top, int bottom);
  // Lines of a block (header or footer) in their font, starting pages as needed.
  void WriteLines(const TStrings& lines, const TPDFFont& font);
  // A new page for the table: both colours again, as every page starts black.
  void StartTablePage();
  // The caption row of the column page being drawn.
  void DrawCaptionRow();
  // Where a data cell's text goes on a column page, and what of it.
  void PlaceDataCell(size_t page, size_t position, const RowCell& cell, PlacedCell& placed) const;
  // A cell's background and text in the row at the current y, on the column page being drawn.
  void DrawCell(size_t position, const PlacedCell& cell);
  // The column pages after the first of the rows drawn since the page of rows began.
  void DrawColumnPages();
  // A cell's text at x in the font, kept between the column's rules: moved inside when it
  // fits there, cut at the right rule (and marked cut) when it does not.
  void PlaceText(const std::vector<int>& edges, size_t position, int x, const TPDFFont& font, std::string_view text,
                 PlacedCell& placed) const;
  // The part of a text too wide for its cell that fits in `room` points, marked cut.
  static void CutText(double room, const TPDFFont& font, std::string_view text, std::string& out);

  TPDFOptions options_;
  TPDFFont captionFont_, dataFont_;
  TPDFBox trim_;
  int y_ = 0;
  int blockTop_ = 0;
  bool laidOut_ = false;
  std::vector<TPDFColumnPage> pages_;
  size_t page_ = 0;  // the column page being drawn
  // What the page of rows began with (the caption row, or the rule at a new page's top) and
  // the cells of its other column pages, row after row.
  bool blockCaption_ = false, blockRule_ = false;
  size_t blockRows_ = 0;
  std::vector<std::vector<PlacedCell>> pending_;
  std::vector<RowCell> cells_;
  PlacedCell placed_;
};

}  // namespace vantrix
