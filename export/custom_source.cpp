#include "export/custom_source.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "export/variant_text.h"
#include "platform/cp1252_case.h"

namespace vantrix {

namespace {

constexpr std::string_view kDefaultName = "column";  // folded

// The number of a default name ("Column7" in any case, the number as the default writes it),
// -1 for any other name.
int DefaultNumber(const std::string& folded) {
  if (folded.size() <= kDefaultName.size() || folded.size() > kDefaultName.size() + 9 ||
      folded.compare(0, kDefaultName.size(), kDefaultName) != 0)
    return -1;
  const std::string digits = folded.substr(kDefaultName.size());
  if (digits.find_first_not_of("0123456789") != std::string::npos || (digits.size() > 1 && digits[0] == '0'))
    return -1;
  return std::stoi(digits);
}

}  // namespace

TVantrixCustomColumn::TVantrixCustomColumn(TVantrixCustomColumns* collection)
    : collection_(collection), columnName_(collection != nullptr ? collection->FreeDefaultName() : "Column0") {
  caption_ = columnName_;
}

void TVantrixCustomColumn::SetColumnName(const std::string& name) {
  if (name == columnName_ || name.empty()) return;
  const bool listed = collection_ != nullptr && index_ >= 0;
  if (collection_ != nullptr) {
    const int found = collection_->IndexOf(name);
    if (found >= 0 && collection_->GetItem(found) != this) return;
  }
  if (listed) collection_->Forget(*this);
  columnName_ = name;
  if (listed) collection_->Remember(*this);
}

void TVantrixCustomColumn::AsString(const FormatSettings& settings, std::string& out) const {
  out.clear();
  TVantrixCustomSource* source = collection_ != nullptr ? collection_->GetOwner() : nullptr;
  if (source == nullptr) return;
  if (source->OnGetColumnText) {
    source->OnGetColumnText(*source, source->RecNo(), *this, out);
    return;
  }
  if (!source->OnGetColumnValue) return;
  QVariant value;
  source->OnGetColumnValue(*source, source->RecNo(), *this, value);
  VariantToText(value, settings, out);
}

std::string TVantrixCustomColumn::AsString(const FormatSettings& settings) const {
  std::string out;
  AsString(settings, out);
  return out;
}

void TVantrixCustomColumn::Assign(const TVantrixCustomColumn& other) {
  if (&other == this) return;
  SetColumnName(other.columnName_);
  columnType_ = other.columnType_;
  caption_ = other.caption_;
  width_ = other.width_;
  size_ = other.size_;
}

TVantrixCustomColumn* TVantrixCustomColumns::Add() {
  items_.push_back(std::make_unique<TVantrixCustomColumn>(this));
  TVantrixCustomColumn& column = *items_.back();
  column.index_ = static_cast<int>(items_.size()) - 1;
  Remember(column);
  return &column;
}

std::string TVantrixCustomColumns::FreeDefaultName() {
  for (;; ++firstFreeDefault_) {
    const std::string number = std::to_string(firstFreeDefault_);
    if (names_.count(std::string(kDefaultName) + number) == 0) return "Column" + number;
  }
}

void TVantrixCustomColumns::Remember(TVantrixCustomColumn& column) {
  const std::string key = platform::Cp1252Folded(column.ColumnName());
  names_.emplace(key, &column);
  if (DefaultNumber(key) == firstFreeDefault_) ++firstFreeDefault_;
}

void TVantrixCustomColumns::Forget(const TVantrixCustomColumn& column) {
  const std::string key = platform::Cp1252Folded(column.ColumnName());
  const auto found = names_.find(key);
  if (found == names_.end() || found->second != &column) return;
  names_.erase(found);
  const int number = DefaultNumber(key);
  if (number >= 0 && number < firstFreeDefault_) firstFreeDefault_ = number;
}

void TVantrixCustomColumns::Clear() {
  items_.clear();
  names_.clear();
  firstFreeDefault_ = 0;
}

void TVantrixCustomColumns::Renumber() {
  for (size_t i = 0; i < items_.size(); ++i) items_[i]->index_ = static_cast<int>(i);
}

void TVantrixCustomColumns::Move(int from, int to) {
  auto item = std::move(items_.at(static_cast<size_t>(from)));
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + std::clamp(to, 0, Count()), std::move(item));
  Renumber();
}

int TVantrixCustomColumns::IndexOf(const std::string& name) const {
  const auto found = names_.find(platform::Cp1252Folded(name));
  return found == names_.end() ? -1 : found->second->Index();
}

void TVantrixCustomColumns::Delete(int index) {
  Forget(*items_.at(static_cast<size_t>(index)));
  items_.erase(items_.begin() + index);
  Renumber();
}

void TVantrixCustomColumns::Assign(const TVantrixCustomColumns& other) {
  if (&other == this) return;
  Clear();
  for (const auto& item : other.items_) Add()->Assign(*item);
}

void FitColumnsToTexts(TVantrixCustomColumns& columns, const std::vector<size_t>& longest) {
  constexpr size_t kLongestField = 255;
  for (int c = 0; c < columns.Count() && static_cast<size_t>(c) < longest.size(); ++c) {
    TVantrixCustomColumn& column = *columns.GetItem(c);
    const size_t text = std::max<size_t>(longest[static_cast<size_t>(c)], 1);
    const size_t width =
        std::max({text, column.Caption().size(), static_cast<size_t>(std::max(column.Width(), 0))});
    column.SetWidth(static_cast<int>(std::min<size_t>(width, INT_MAX)));
    column.SetSize(static_cast<int>(std::min(text, kLongestField)));
  }
}

TVantrixCustomSource::TVantrixCustomSource(QObject* parent) : QObject(parent), columns_(this) {}

TVantrixCustomColumn* TVantrixCustomSource::ColumnByName(const std::string& name) const {
  const int index = columns_.IndexOf(name);
  return index < 0 ? nullptr : columns_.GetItem(index);
}

void TVantrixCustomSource::Next() {
  if (eof_) return;
  if (!OnGetNextRecord) {
    ++recNo_;
    return;
  }
  bool eof = false;
  OnGetNextRecord(*this, recNo_, eof);
  if (eof) eof_ = true;
  else ++recNo_;
}

}  // namespace vantrix
