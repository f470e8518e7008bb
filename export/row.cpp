#include "export/row.h"

#include <algorithm>

#include "export/columns.h"
#include "export/data_source.h"
#include "export/formats.h"
#include "platform/cp1252_case.h"
#include "platform/text_trim.h"

namespace vantrix {
namespace {

using platform::Cp1252Folded;

}  // namespace

TVantrixCol::TVantrixCol(TVantrixRow* row, const std::string& name, int columnIndex)
    : row_(row), name_(platform::TrimBlanks(name)), columnIndex_(columnIndex) {}

void TVantrixCol::GetExportedValue(bool formatted, std::string& out) const {
  const TVantrixColumns* columns = row_ != nullptr ? row_->Columns() : nullptr;
  const TVantrixFormats* formats = row_ != nullptr ? row_->Formats() : nullptr;
  const bool known = columns != nullptr && columnIndex_ >= 0 && columnIndex_ < columns->Count();
  if (known && formats != nullptr && columns->GetColumnIsNull(columnIndex_)) {
    out = formats->NullString();
    columns->NormalString(out);
  } else if (formatted && known && formats != nullptr) {
    const TVantrixColumn& column = columns->GetColumn(columnIndex_);
    const TVantrixTextNormaliser normal = [columns](std::string& text) { columns->NormalString(text); };
    VantrixFormatData(value_, column.Format, column.ColType, out, normal, formats->Settings());
  } else {
    out = value_;
  }
  if (row_ != nullptr && row_->CellCallback()) row_->CellCallback()(*this, out);
}

std::string TVantrixCol::GetExportedValue(bool formatted) const {
  std::string out;
  GetExportedValue(formatted, out);
  return out;
}

TVantrixRow::TVantrixRow(TVantrixColumns* columns, TVantrixFormats* formats, TCellCallback callback)
    : columns_(columns), formats_(formats), callback_(std::move(callback)) {}

TVantrixCol& TVantrixRow::Add(const std::string& name, int index) {
  cells_.push_back(std::make_unique<TVantrixCol>(this, name, index));
  return *cells_.back();
}

void TVantrixRow::Clear() { cells_.clear(); }

void TVantrixRow::Delete(int i) { cells_.erase(cells_.begin() + i); }

int TVantrixRow::IndexOf(const TVantrixCol* cell) const {
  for (size_t i = 0; i < cells_.size(); ++i)
    if (cells_[i].get() == cell) return static_cast<int>(i);
  return -1;
}

void TVantrixRow::AddToIndex(const std::string& name, int position) {
  index_.emplace_back(Cp1252Folded(platform::TrimBlanks(name)), position);
}

void TVantrixRow::SortIndex() {
  std::stable_sort(index_.begin(), index_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

int TVantrixRow::FindInIndex(const std::string& name) const {
  const std::string key = Cp1252Folded(platform::TrimBlanks(name));
  const auto found = std::lower_bound(index_.begin(), index_.end(), key,
                                      [](const auto& entry, const std::string& k) { return entry.first < k; });
  return found != index_.end() && found->first == key ? found->second : -1;
}

void TVantrixRow::SetValue(const std::string& name, std::string_view value) {
  const int position = FindInIndex(name);
  if (position < 0 || position >= Count()) return;
  Get(position).SetValue(platform::TrimBlanks(value));
}

void TVantrixRow::ClearValues() {
  for (auto& cell : cells_) cell->SetValue(std::string());
}

TVantrixCol* TVantrixRow::ColByName(const std::string& name) const {
  for (const auto& cell : cells_)
    if (platform::Cp1252SameText(cell->Name(), name)) return cell.get();
  return nullptr;
}

}  // namespace vantrix
