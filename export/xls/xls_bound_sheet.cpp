#include "export/xls/xls_bound_sheet.h"

#include <algorithm>

#include "platform/cp1252_case.h"

namespace vantrix {
namespace {

std::string Folded(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = static_cast<char>(platform::Cp1252FoldCase(static_cast<unsigned char>(c)));
  return key;
}

}  // namespace

int TxlsBoundSheetList::IndexOfSheetIndex(int sheetIndex) const {
  for (size_t i = 0; i < Count(); ++i)
    if (Get(i)->SheetIndex == sheetIndex) return static_cast<int>(i);
  return -1;
}

void TxlsBoundSheetList::CheckCell(int sheetIndex, int row, int col) {
  const int index = IndexOfSheetIndex(sheetIndex);
  if (index >= 0) Get(static_cast<size_t>(index))->Used.Widen(row, col);
}

int TxlsColumnList::IndexOf(std::string_view name) const {
  const auto it = index_.find(Folded(name));
  return it == index_.end() ? -1 : static_cast<int>(it->second);
}

TxlsColumn& TxlsColumnList::Entry(std::string_view name) {
  const auto [it, added] = index_.emplace(Folded(name), Count());
  if (added) Add(std::make_unique<TxlsColumn>(std::string(name)));
  return *Get(it->second);
}

void TxlsColumnList::AssignColumnToDataRange(std::string_view name, TxlsDataRange& range) const {
  const int index = IndexOf(name);
  if (index < 0) return;
  const TxlsCellRange& r = Get(static_cast<size_t>(index))->Range;
  range.Col1 = static_cast<uint8_t>(std::clamp(r.FirstCol + 1, 0, 255));
  range.Row1 = static_cast<uint16_t>(std::clamp(r.FirstRow + 1, 0, 0xFFFF));
  range.Col2 = static_cast<uint8_t>(std::clamp(r.LastCol + 1, 0, 255));
  range.Row2 = static_cast<uint16_t>(std::clamp(r.LastRow + 1, 0, 0xFFFF));
}

void TxlsColumnList::ClearColumns() {
  Clear();
  index_.clear();
}

}  // namespace vantrix
