#include "export/xls/xls_sheet_writer.h"

#include <algorithm>
#include <cmath>

#include "export/datetime_picture.h"
#include "export/xls/col_info.h"
#include "export/xls/vantrix3_xls.h"
#include "export/xls/xls_export_run.h"
#include "export/xls/xls_number_format.h"
#include "export/xls/xls_sheet_name.h"

namespace vantrix {
namespace {

constexpr size_t kMaxPageText = 255;
constexpr int kMaxColumnChars = 255;
// MERGEDCELLS ranges one record holds: 2 + 8 × 1027 bytes is the largest body.
constexpr size_t kRangesPerRecord = 1027;

uint16_t Word(int value) { return static_cast<uint16_t>(value); }

std::vector<uint8_t> TooltipBody(const TxlsHyperlink& h) {
  std::vector<uint8_t> body;
  AppendWord(body, biffid::kHLinkTooltip);
  for (const int v : {h.Row - 1, h.Row - 1, h.Col - 1, h.Col - 1}) AppendWord(body, Word(v));
  for (const char16_t c : h.ScreenTip) AppendWord(body, c);
  AppendWord(body, 0);
  return body;
}

std::string Describe(const TxlsHyperlink& h) {
  return "Hyperlink \"" + WideToCp1252(h.Title.substr(0, 40)) + "\" at column " + std::to_string(h.Col) + ", row " +
         std::to_string(h.Row);
}

}  // namespace

std::vector<uint8_t> CatchwordBody(std::u16string_view text) {
  std::vector<uint8_t> body;
  if (text.empty()) return body;
  size_t n = std::min(text.size(), kMaxPageText);
  if (n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;  // not half a pair
  const std::u16string_view cut = text.substr(0, n);
  const bool wide = IsWide(cut);
  AppendWord(body, static_cast<uint16_t>(n));
  AppendByte(body, wide ? 1 : 0);
  for (const char16_t c : cut) wide ? AppendWord(body, c) : AppendByte(body, static_cast<uint8_t>(c));
  return body;
}

void TxlsSheetWriter::WriteSheetStart(TxlsSheet& sheet, std::u16string_view title) {
  TxlsRecordWriter& w = run_.Records;
  sheet.ClearFieldColumns();
  auto bound = std::make_unique<TxlsBoundSheet>();
  bound->SheetIndex = sheet.Index();
  bound->Name = MakeSheetName(title, run_.SheetNames, static_cast<int>(run_.BoundSheets.Count()) + 1);
  bound->BOFPosition = run_.Stream().Position();
  run_.SheetNames.push_back(bound->Name);
  run_.Bound = bound.get();
  run_.BoundSheets.Add(std::move(bound));
  run_.RowHeights.clear();

  w.WriteBOF(biffid::kBOFWorksheet);
  w.WriteWordRecord(biffid::kCalcMode, 1);
  w.WriteWordRecord(biffid::kCalcCount, 100);
  w.WriteWordRecord(biffid::kRefMode, 1);
  w.WriteWordRecord(biffid::kIteration, 0);
  uint8_t delta[8];
  SetDouble(delta, 0, 0.001);
  w.WriteRecord(biffid::kDelta, delta);
  w.WriteWordRecord(biffid::kSaveRecalc, 1);
  w.WriteWordRecord(biffid::kPrintHeaders, 0);
  w.WriteWordRecord(biffid::kPrintGridlines, 0);
  w.WriteWordRecord(biffid::kGridSet, 1);
  w.WriteRecord(biffid::kGuts, {0, 0, 0, 0, 0, 0, 0, 0});
  w.WriteWordRecord(biffid::kDefColWidth, Word(std::clamp(sheet.DefColWidth, 0, kMaxColumnChars)));
  const long twips = std::lround(std::clamp(sheet.DefRowHeight, 0.0, 409.0) * 20);
  w.WriteRecord(biffid::kDefaultRowHeight, {0, 0, static_cast<uint8_t>(twips), static_cast<uint8_t>(twips >> 8)});
  w.WriteWordRecord(biffid::kWsBool, 0x04C1);
  WriteCatchword(biffid::kHeader, sheet.Options.PageHeader);
  WriteCatchword(biffid::kFooter, sheet.Options.PageFooter);
  w.WriteWordRecord(biffid::kHCenter, 0);
  w.WriteWordRecord(biffid::kVCenter, 0);
  WriteBackground(sheet.Background);
  WriteColInfo(sheet);
  run_.Bound->DimensionsPosition = run_.Stream().Position();
  WriteDimensions(0, 0, 0, 0);
}

void TxlsSheetWriter::WriteCatchword(uint16_t id, std::u16string_view text) {
  run_.Records.WriteRecord(id, CatchwordBody(text));
}

void TxlsSheetWriter::WriteColInfo(const TxlsSheet& sheet) {
  const double zero = run_.Widths.ZeroWidth();
  TxlsColInfoList list;
  for (size_t i = 0; i < run_.ColumnWidths.size(); ++i) {
    const double chars = std::clamp(run_.ColumnWidths[i], 0, kMaxColumnChars) + 1 + 1 / zero;
    const long width = std::min(std::lround(chars * 256), static_cast<long>(kMaxColumnChars) * 256);
    list.Add(std::make_unique<TxlsColInfo>(Word(sheet.StartDataCol + static_cast<int>(i)), Word(static_cast<int>(width)),
                                           kDefaultCellXF, 0));
  }
  run_.FirstColInfoPosition = run_.Stream().Position();
  list.Save(run_.Stream());
}

void TxlsSheetWriter::CorrectColInfo() {
  TxlsStream& s = run_.Stream();
  const uint64_t end = s.Position();
  for (size_t i = 0; i < run_.ColumnWidths.size(); ++i) {
    // Each record: header (4), first and last column (2 + 2), then the width.
    s.Seek(run_.FirstColInfoPosition + i * TxlsColInfoList::kRecordSize + 8);
    s.WriteWord(Word(std::clamp(run_.ColumnWidths[i], 0, kMaxColumnChars) * 256));
  }
  s.Seek(end);
}

void TxlsSheetWriter::WriteDimensions(uint32_t firstRow, uint32_t lastRow, uint16_t firstCol, uint16_t lastCol) {
  uint8_t body[14] = {};
  SetInteger(body, 0, firstRow);
  SetInteger(body, 4, lastRow);
  SetWord(body, 8, firstCol);
  SetWord(body, 10, lastCol);
  run_.Records.WriteRecord(biffid::kDimensions, body);
}

void TxlsSheetWriter::WriteMergedCells(const TxlsMergedCellList& list) {
  std::vector<const TxlsMergedCells*> ranges;
  for (const auto& range : list)
    if (range->IsCorrect()) ranges.push_back(range.get());
  for (size_t first = 0; first < ranges.size(); first += kRangesPerRecord) {
    const size_t count = std::min(kRangesPerRecord, ranges.size() - first);
    std::vector<uint8_t> body;
    AppendWord(body, Word(static_cast<int>(count)));
    for (size_t i = first; i < first + count; ++i)
      for (const int v : {ranges[i]->FirstRow, ranges[i]->LastRow, ranges[i]->FirstCol, ranges[i]->LastCol})
        AppendWord(body, Word(v - 1));
    run_.Records.WriteRecord(biffid::kMergedCells, body);
  }
}

void TxlsSheetWriter::WriteWindow2(bool selected) {
  uint8_t body[18] = {};
  SetWord(body, 0, selected ? kWindow2Flags | kWindow2SelectedFlags : kWindow2Flags);
  run_.Records.WriteRecord(biffid::kWindow2, body);
}

void TxlsSheetWriter::WriteSelection() {
  // Pane 3, the active cell A1, one range A1:A1.
  uint8_t body[16] = {3, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};
  run_.Records.WriteRecord(biffid::kSelection, body);
}

void TxlsSheetWriter::WriteHyperlink(const TxlsHyperlink& hyperlink) {
  run_.Records.WriteRecord(biffid::kHLink, hyperlink.GetBody());
  if (!hyperlink.ScreenTip.empty()) run_.Records.WriteRecord(biffid::kHLinkTooltip, TooltipBody(hyperlink));
}

std::vector<const TxlsHyperlink*> TxlsSheetWriter::WritableHyperlinks(const TxlsSheet& sheet) {
  std::vector<const TxlsHyperlink*> links;
  for (const auto& h : sheet.Hyperlinks) {
    if (!h->IsValid()) continue;
    if (h->GetSize() > TxlsRecordWriter::kMaxBody) {
      run_.Component.ReportLeftOut(Describe(*h) + " left out: its title and target are too long for its record");
    } else if (!h->ScreenTip.empty() && 12 + 2 * h->ScreenTip.size() > TxlsRecordWriter::kMaxBody) {
      run_.Component.ReportLeftOut(Describe(*h) + " left out: its screen tip is too long for its record");
    } else {
      links.push_back(h.get());
    }
  }
  return links;
}

void TxlsSheetWriter::WriteExtraCells(TxlsSheet& sheet) {
  TxlsCellWriter& cells = run_.Cells;
  cells.SetWidensUsedRange(false);
  for (const auto& item : sheet.Cells) {
    const TxlsCell& cell = *item;
    if (!cell.IsCorrect()) continue;
    const int row = cell.Row - 1, col = cell.Col - 1;
    uint16_t xf = kDefaultCellXF;
    switch (cell.CellType) {
      case ctBoolean:
        xf = run_.Registry.AddXF(u"General", &cell.Format);
        cells.WriteBoolErr(row, col, xf, cell.BooleanValue);
        break;
      case ctDateTime: {
        xf = run_.Registry.AddXF(DateTimePictureToNumberFormat(cell.DateTimeFormat, cell.Settings()), &cell.Format);
        double serial = 0;
        if (DateTimeToSerial(cell.DateTimeValue, serial)) {
          cells.WriteNumber(row, col, xf, serial);
        } else {
          cells.WriteLabelSST(row, col, xf,
                              Cp1252ToWide(FormatDateTime(cell.DateTimeFormat, cell.DateTimeValue, cell.Settings())));
        }
        break;
      }
      case ctNumeric:
        xf = run_.Registry.AddXF(NumberPictureToNumberFormat(cell.NumericFormat), &cell.Format);
        cells.WriteNumber(row, col, xf, cell.NumericValue);
        break;
      case ctString:
        xf = run_.Registry.AddXF(u"General", &cell.Format);
        if (cell.StringValue.empty()) cells.WriteBlank(row, col, xf);
        else cells.WriteLabelSST(row, col, xf, cell.StringValue);
        break;
    }
    if (sheet.TrackRowHeights) cells.CheckRowHeight(xf, row);
  }
  cells.SetWidensUsedRange(true);
}

void TxlsSheetWriter::WriteSheetFinish(TxlsSheet& sheet, bool withItems) {
  std::vector<const TxlsHyperlink*> links;
  if (withItems) {
    WriteExtraCells(sheet);
    WriteMergedCells(sheet.MergedCells);
    links = WritableHyperlinks(sheet);
    for (const TxlsHyperlink* h : links)
      run_.Cells.WriteLabelSST(h->Row - 1, h->Col - 1, run_.Registry.AddXF(u"General", &h->Format), h->Title);
  }
  // Only the workbook's first sheet opens selected: with every sheet selected a spreadsheet
  // program groups them, and one edit changes them all.
  WriteWindow2(run_.BoundSheets.Count() == 1);
  WriteSelection();
  for (const TxlsHyperlink* h : links) WriteHyperlink(*h);
  if (withItems) WriteNotesChartsAndPictures(sheet);
  run_.Records.WriteEOF();
}

}  // namespace vantrix
