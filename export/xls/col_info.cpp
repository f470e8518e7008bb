#include "export/xls/col_info.h"

#include <algorithm>

#include "export/xls/biff_record.h"
#include "export/xls/xls_stream.h"

namespace vantrix {

void TxlsColInfoList::Sort() {
  std::stable_sort(items_.begin(), items_.end(),
                   [](const auto& a, const auto& b) { return a->Column < b->Column; });
  sorted_ = true;
}

bool TxlsColInfoList::Find(uint16_t column, size_t& index) {
  if (!sorted_) Sort();
  const auto it = std::lower_bound(items_.begin(), items_.end(), column,
                                   [](const auto& item, uint16_t c) { return item->Column < c; });
  index = static_cast<size_t>(it - items_.begin());
  return it != items_.end() && (*it)->Column == column;
}

void TxlsColInfoList::PutRange(uint16_t first, uint16_t last, uint16_t width, uint16_t xf, uint16_t options) {
  if (first > kLastColumn) return;
  last = std::min(last, kLastColumn);
  if (!indexed_) {
    byColumn_.assign(kLastColumn + 1u, nullptr);
    for (const auto& info : items_)
      if (info->Column <= kLastColumn) byColumn_[info->Column] = info.get();
    indexed_ = true;
  }
  for (uint32_t column = first; column <= last; ++column) {
    TxlsColInfo*& entry = byColumn_[column];
    if (entry == nullptr) {
      // Straight into the list: Add would drop the index this loop keeps current.
      items_.push_back(std::make_unique<TxlsColInfo>(static_cast<uint16_t>(column), width, xf, options));
      entry = items_.back().get();
      sorted_ = false;
    } else {
      entry->Width = width;
      entry->XF = xf;
      entry->Options = options;
    }
  }
}

void TxlsColInfoList::Save(TxlsStream& stream) {
  if (!sorted_) Sort();
  for (const auto& info : items_) {
    uint8_t record[kRecordSize] = {};
    SetWord(record, 0, biff::kColInfo);
    SetWord(record, 2, static_cast<uint16_t>(kRecordSize - 4));
    SetWord(record, 4, info->Column);
    SetWord(record, 6, info->Column);
    SetWord(record, 8, info->Width);
    SetWord(record, 10, info->XF);
    SetWord(record, 12, info->Options);
    stream.Write(record, sizeof record);
  }
}

}  // namespace vantrix
