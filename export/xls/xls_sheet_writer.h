#pragma once
// The records of a worksheet around its cells: the fixed records at its start (calculation
// settings, default widths and heights, page header and footer, background, column widths,
// the used range to be patched), and at its end the extension items (extra cells, merged
// ranges, hyperlinks, and through the drawing layer notes, pictures and charts) and the
// window settings.
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "export/xls/xls_utils.h"

namespace vantrix {

class TxlsExportRun;
class TxlsSheet;
class TxlsGraphic;
class TxlsHyperlink;
class TxlsMergedCellList;

// WINDOW2's flags: grid lines, headers, zeros, the default header colour, outline symbols;
// and for the sheet that opens selected and shown, those two marks.
inline constexpr uint16_t kWindow2Flags = 0x00B6;
inline constexpr uint16_t kWindow2SelectedFlags = 0x0600;

class TxlsSheetWriter {
 public:
  explicit TxlsSheetWriter(TxlsExportRun& run) : run_(run) {}

  // A new bound sheet named after the title, then the records up to the used range's.
  void WriteSheetStart(TxlsSheet& sheet, std::u16string_view title);
  // The extension items (only with items: on a sheet's first part), the window settings and
  // the hyperlinks, then EOF.
  void WriteSheetFinish(TxlsSheet& sheet, bool withItems);

  // The widths of the run's columns in characters, as COLINFO records with the "0" width's
  // padding; each at most 255 characters.
  void WriteColInfo(const TxlsSheet& sheet);
  // Rewrites the COLINFO widths in place with the widths the cells asked for.
  void CorrectColInfo();
  void WriteMergedCells(const TxlsMergedCellList& list);
  void WriteWindow2(bool selected);
  void WriteSelection();
  void WriteDimensions(uint32_t firstRow, uint32_t lastRow, uint16_t firstCol, uint16_t lastCol);
  // HLINK and, with a screen tip, HLINKTOOLTIP.
  void WriteHyperlink(const TxlsHyperlink& hyperlink);
  // The page header (or footer) text: at most 255 characters, 8-bit when every character is
  // Latin-1, else UTF-16.
  void WriteCatchword(uint16_t id, std::u16string_view text);
  // BITMAP and CONTINUE records of the background picture, when it has one.
  void WriteBackground(const TxlsGraphic& graphic);
  // The sheet's notes, pictures and charts: the drawing layer's.
  void WriteNotesChartsAndPictures(TxlsSheet& sheet);

 private:
  void WriteExtraCells(TxlsSheet& sheet);
  // The hyperlinks whose records fit; the others are reported.
  std::vector<const TxlsHyperlink*> WritableHyperlinks(const TxlsSheet& sheet);

  TxlsExportRun& run_;
};

// The body of a page header or footer record.
std::vector<uint8_t> CatchwordBody(std::u16string_view text);

class TxlsNote;
// A note's lines as its box shows them: joined by line feeds, without carriage returns, cut to
// the 32,767 characters a text object counts (never within a character); *cut tells whether
// it was.
WideString NoteText(const TxlsNote& note, bool* cut = nullptr);
// Where a note text is split over CONTINUE records: (first character, count) pairs, each
// piece as many whole characters as one record takes.
std::vector<std::pair<size_t, size_t>> SplitNoteText(std::u16string_view text);

}  // namespace vantrix
