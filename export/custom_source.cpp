#include "export/custom_source.h"

#include <algorithm>

#include "export/variant_text.h"
#include "platform/cp1252_case.h"

namespace vantrix {

TVantrixCustomColumn::TVantrixCustomColumn(TVantrixCustomColumns* collection) : collection_(collection) {
  for (int n = 0;; ++n) {
    const std::string name = "Column" + std::to_string(n);
    if (collection_ == nullptr || collection_->IndexOf(name) < 0) {
      columnName_ = name;
      break;
    }
  }
  caption_ = columnName_;
}

void TVantrixCustomColumn::SetColumnName(const std::string& name) {
  if (name == columnName_ || name.empty()) return;
  if (collection_ != nullptr) {
    const int found = collection_->IndexOf(name);
    if (found >= 0 && collection_->GetItem(found) != this) return;
  }
  columnName_ = name;
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
  items_.back()->index_ = static_cast<int>(items_.size()) - 1;
  return items_.back().get();
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
  for (size_t i = 0; i < items_.size(); ++i)
    if (platform::Cp1252SameText(items_[i]->ColumnName(), name)) return static_cast<int>(i);
  return -1;
}

void TVantrixCustomColumns::Delete(int index) {
  items_.erase(items_.begin() + index);
  Renumber();
}

void TVantrixCustomColumns::Assign(const TVantrixCustomColumns& other) {
  if (&other == this) return;
  items_.clear();
  for (const auto& item : other.items_) Add()->Assign(*item);
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
