#pragma once
// The PDF exporter: the rows as a ruled table on PDF pages. Header lines, a caption row, one
// line of text per record, footer lines; a rule under every row and between the columns; a
// new page when the next row no longer fits above the bottom margin. The page comes from the
// page options, fonts, spacing and rules from the options; it draws through the document of
// its writer.
#include <string_view>
#include <vector>

#include "export/pdf_document.h"
#include "export/pdf_options.h"
#include "export/vantrix3_text.h"

namespace vantrix {

class TVantrix3PDF : public TVantrix3FormatText {
 public:
  TPDFOptions& Options() { return options_; }
  const TPDFOptions& Options() const { return options_; }
  void SetOptions(const TPDFOptions& options) { options_.Assign(options); }

  const TStrings* OwnerColumnsWidth() const override { return &ColumnsWidth; }
  const TStrings* OwnerColumnsAlign() const override { return &ColumnsAlign; }
  // The width pass measures texts in the fonts' widths, captions at their own size.
  int OwnerTextChars(std::string_view text, bool caption) const override;

  // The drawing position in points from the page bottom, and the column edges of the run
  // (one per column and one after the last): for tests and tools.
  int CurrentY() const { return y_; }
  const std::vector<int>& ColumnEdges() const { return edges_; }
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
  TPDFDocument& Doc() const;
  // The column edges and the run's font sizes, once per run before the first row or rule is
  // drawn: after the width pass, whose widths they must take.
  void LayOutColumns();
  void WriteHeader();
  void WriteFooter();
  void HorizontalRule();
  void PlotVertGridLines(int top, int bottom);
  // Lines of a block (header or footer) in their font, starting pages as needed.
  void WriteLines(const TStrings& lines, const TPDFFont& font);
  // A cell's text at x in the current font (which is `font`), kept between the column's rules:
  // moved inside when it fits there, cut at the right rule (and marked cut) when it does not.
  void CellOut(size_t column, int x, const TPDFFont& font, std::string_view text, uint32_t color);
  // The part of a text too wide for its cell that fits in `room` points from x, marked cut.
  void CutCellOut(int x, double room, const TPDFFont& font, std::string_view text, uint32_t color);

  TPDFOptions options_;
  TPDFFont captionFont_, dataFont_;
  TPDFBox trim_;
  int y_ = 0;
  int blockTop_ = 0;
  bool laidOut_ = false;
  std::vector<int> edges_;
  std::string value_, cut_;
};

}  // namespace vantrix
