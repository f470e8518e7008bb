#pragma once
// The export row: one cell per column of the model, refilled record by record with the raw
// (trimmed) texts of the source. The formats read it while they write a row.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vantrix {

class TVantrixColumns;
class TVantrixFormats;
class TVantrixRow;

class TVantrixCol {
 public:
  TVantrixCol(TVantrixRow* row, const std::string& name, int columnIndex);

  const std::string& Name() const { return name_; }
  const std::string& Value() const { return value_; }
  void SetValue(std::string value) { value_ = std::move(value); }
  std::string& MutableValue() { return value_; }
  int ColumnIndex() const { return columnIndex_; }
  TVantrixRow* Row() const { return row_; }

  // The cell's text as a format writes it: the null text for a null field, else the value,
  // formatted by the column's type and picture when asked; then the row's cell callback may
  // change it. The stored value stays raw, so every read formats the same value.
  std::string GetExportedValue(bool formatted) const;
  void GetExportedValue(bool formatted, std::string& out) const;

 private:
  TVantrixRow* row_;
  std::string name_;
  std::string value_;
  int columnIndex_ = -1;
};

class TVantrixRow {
 public:
  // (cell, text): a format's chance to change a cell's text (escaping).
  using TCellCallback = std::function<void(const TVantrixCol& cell, std::string& text)>;

  TVantrixRow(TVantrixColumns* columns, TVantrixFormats* formats, TCellCallback callback = {});
  TVantrixRow(const TVantrixRow&) = delete;
  TVantrixRow& operator=(const TVantrixRow&) = delete;
  virtual ~TVantrixRow() = default;

  TVantrixCol& Add(const std::string& name, int index);
  virtual void Clear();
  void Delete(int i);
  int Count() const { return static_cast<int>(cells_.size()); }
  TVantrixCol& Get(int i) const { return *cells_.at(static_cast<size_t>(i)); }
  TVantrixCol& operator[](int i) const { return Get(i); }
  TVantrixCol* First() const { return cells_.empty() ? nullptr : cells_.front().get(); }
  TVantrixCol* Last() const { return cells_.empty() ? nullptr : cells_.back().get(); }
  int IndexOf(const TVantrixCol* cell) const;

  // The cell found for the name (case ignored) gets the value trimmed.
  void SetValue(const std::string& name, std::string_view value);
  void ClearValues();
  // The first cell of that name, case ignored; none when there is no such cell.
  TVantrixCol* ColByName(const std::string& name) const;
  // The name index: cell names to positions, looked up without regard to case.
  void ClearIndex() { index_.clear(); }
  void AddToIndex(const std::string& name, int position);
  void SortIndex();

  TVantrixColumns* Columns() const { return columns_; }
  TVantrixFormats* Formats() const { return formats_; }
  const TCellCallback& CellCallback() const { return callback_; }
  void SetCellCallback(TCellCallback callback) { callback_ = std::move(callback); }

 private:
  int FindInIndex(const std::string& name) const;

  TVantrixColumns* columns_;
  TVantrixFormats* formats_;
  TCellCallback callback_;
  std::vector<std::unique_ptr<TVantrixCol>> cells_;
  std::vector<std::pair<std::string, int>> index_;  // folded name, position; sorted
};

}  // namespace vantrix
