#include "history/series_titles.h"

namespace history {

std::string SeriesTitle(const HistoryData& data, size_t valueColumn) {
  const size_t column = valueColumn + HistoryData::kFirstValueColumn;
  const std::string& valueName = data.HeaderCell(1, column);
  int deviceNames = 0;
  for (size_t k = HistoryData::kFirstValueColumn; k < data.ColumnCount(); ++k)
    if (!data.HeaderCell(0, k).empty()) ++deviceNames;
  if (deviceNames < 2) return valueName;
  for (size_t k = column + 1; k-- > 0;) {
    const std::string& device = data.HeaderCell(0, k);
    if (!device.empty()) return device + " / " + valueName;
  }
  return valueName;
}

std::string ChartTitle(const HistoryData& data) {
  std::string title;
  for (size_t k = HistoryData::kFirstValueColumn; k < data.ColumnCount(); ++k) {
    const std::string& device = data.HeaderCell(0, k);
    if (device.empty()) continue;
    if (!title.empty()) title += ", ";
    title += device;
  }
  return title;
}

}  // namespace history
