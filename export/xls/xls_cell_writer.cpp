#include "export/xls/xls_cell_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "export/xls/xls_export_run.h"
#include "export/xls/xls_link_note.h"

namespace vantrix {
namespace {

uint16_t FunctionNumber(TxlsAggregate aggregate) {
  switch (aggregate) {
    case aggAvg: return 5;  // AVERAGE
    case aggMin: return 6;  // MIN
    case aggMax: return 7;  // MAX
    default: return 4;      // SUM
  }
}

}  // namespace

bool DateTimeToSerial(double dateTime, double& serial) {
  if (!(dateTime > 1.0) || !std::isfinite(dateTime)) return false;
  serial = dateTime <= 60.0 ? dateTime - 1.0 : dateTime;
  return true;
}

std::array<uint8_t, 13> AggregateTokens(int col, int firstRow, int lastRow, TxlsAggregate aggregate) {
  std::array<uint8_t, 13> tokens{};
  tokens[0] = 0x25;  // area reference
  SetWord(tokens, 1, static_cast<uint16_t>(firstRow));
  SetWord(tokens, 3, static_cast<uint16_t>(lastRow));
  SetWord(tokens, 5, static_cast<uint16_t>(0xC000 | col));
  SetWord(tokens, 7, static_cast<uint16_t>(0xC000 | col));
  tokens[9] = 0x42;  // function with a variable argument count
  tokens[10] = 1;
  SetWord(tokens, 11, FunctionNumber(aggregate));
  return tokens;
}

void TxlsCellWriter::Place(int row, int col) {
  if (row < 0 || row >= kXLSMaxRows || col < 0 || col >= kXLSMaxCols) {
    char text[96];
    std::snprintf(text, sizeof text, "Cell at row %d, column %d is outside the sheet", row + 1, col + 1);
    throw ExlsFileError(text);
  }
  if (run_.Bound == nullptr) return;
  run_.Bound->Extent.Widen(row, col);
  if (widensUsed_) run_.Bound->Used.Widen(row, col);
}

template <size_t N>
std::array<uint8_t, N> TxlsCellWriter::CellBody(int row, int col, uint16_t xf) {
  Place(row, col);
  std::array<uint8_t, N> body{};
  SetWord(body, 0, static_cast<uint16_t>(row));
  SetWord(body, 2, static_cast<uint16_t>(col));
  SetWord(body, 4, xf);
  return body;
}

void TxlsCellWriter::WriteLabelSST(int row, int col, uint16_t xf, std::u16string_view text) {
  std::array<uint8_t, 10> body = CellBody<10>(row, col, xf);
  SetInteger(body, 6, run_.SST.AddString(text));
  run_.Records.WriteRecord(biffid::kLabelSST, body);
}

void TxlsCellWriter::WriteNumber(int row, int col, uint16_t xf, double value) {
  std::array<uint8_t, 14> body = CellBody<14>(row, col, xf);
  SetDouble(body, 6, value);
  run_.Records.WriteRecord(biffid::kNumber, body);
}

void TxlsCellWriter::WriteBoolErr(int row, int col, uint16_t xf, bool value) {
  std::array<uint8_t, 8> body = CellBody<8>(row, col, xf);
  body[6] = value ? 1 : 0;
  body[7] = 0;  // a Boolean, not an error
  run_.Records.WriteRecord(biffid::kBoolErr, body);
}

void TxlsCellWriter::WriteBlank(int row, int col, uint16_t xf) {
  run_.Records.WriteRecord(biffid::kBlank, CellBody<6>(row, col, xf));
}

void TxlsCellWriter::WriteAggregate(int row, int col, int firstRow, int lastRow, TxlsAggregate aggregate,
                                    uint16_t xf) {
  std::array<uint8_t, 35> body = CellBody<35>(row, col, xf);
  // The result (8 bytes) stays 0 until the program calculates it: it is asked to on load.
  SetWord(body, 14, 0x0002);
  SetWord(body, 20, 13);
  const std::array<uint8_t, 13> tokens = AggregateTokens(col, firstRow, lastRow, aggregate);
  std::copy(tokens.begin(), tokens.end(), body.begin() + 22);
  run_.Records.WriteRecord(biffid::kFormula, body);
}

void TxlsCellWriter::RecalculateColWidth(std::string_view cp1252Text, uint16_t xf, int colIndex) {
  if (colIndex < 0 || static_cast<size_t>(colIndex) >= run_.ColumnWidths.size()) return;
  const int chars = run_.Widths.CharsWide(cp1252Text, run_.Registry.FontOfXF(xf));
  int& width = run_.ColumnWidths[static_cast<size_t>(colIndex)];
  width = std::max(width, chars);
}

void TxlsCellWriter::CheckRowHeight(uint16_t xf, int row) {
  const TxlsFont* font = run_.Registry.FontOfXF(xf);
  if (font == nullptr || row < 0) return;
  auto [it, added] = heights_.emplace(font, 0);
  if (added) it->second = RowHeightFor(run_.Metrics, font);
  if (it->second == 0) return;
  if (run_.RowHeights.size() <= static_cast<size_t>(row)) run_.RowHeights.resize(static_cast<size_t>(row) + 1, 0);
  int& height = run_.RowHeights[static_cast<size_t>(row)];
  height = std::max(height, it->second);
}

}  // namespace vantrix
