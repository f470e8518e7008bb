#include "history/series_titles.h"

namespace history {

namespace {

constexpr char kEllipsis = '\x85';  // "…" in code page 1252

}  // namespace

std::string TitleName(std::string_view name) {
  if (name.size() <= kLongestTitleName) return std::string(name);
  std::string cut(name.substr(0, kLongestTitleName - 1));
  cut += kEllipsis;
  return cut;
}

std::vector<std::string> SeriesTitles(const HistoryData& data) {
  const size_t first = HistoryData::kFirstValueColumn;
  int deviceNames = 0;
  for (size_t k = first; k < data.ColumnCount() && deviceNames < 2; ++k)
    if (!data.HeaderCell(0, k).empty()) ++deviceNames;
  // A value left of every device name in the value columns may still sit under one in the
  // date or time column.
  std::string device;
  for (size_t k = 0; k < first; ++k)
    if (!data.HeaderCell(0, k).empty()) device = TitleName(data.HeaderCell(0, k));

  std::vector<std::string> titles;
  titles.reserve(data.ValueColumnCount());
  for (size_t k = first; k < data.ColumnCount(); ++k) {
    if (!data.HeaderCell(0, k).empty()) device = TitleName(data.HeaderCell(0, k));
    const std::string valueName = TitleName(data.HeaderCell(1, k));
    if (deviceNames < 2 || device.empty()) {
      titles.push_back(valueName);
      continue;
    }
    std::string title;
    title.reserve(device.size() + 3 + valueName.size());
    title.append(device).append(" / ").append(valueName);
    titles.push_back(std::move(title));
  }
  return titles;
}

std::string ChartTitle(const HistoryData& data) {
  std::string title;
  for (size_t k = HistoryData::kFirstValueColumn; k < data.ColumnCount(); ++k) {
    const std::string_view device = data.HeaderCell(0, k);
    if (device.empty()) continue;
    if (!title.empty()) title += ", ";
    title += TitleName(device);
  }
  return title;
}

}  // namespace history
