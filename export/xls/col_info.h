#pragma once
// Lists of record objects, and the column widths of a sheet as COLINFO records.
#include <cstdint>
#include <memory>
#include <vector>

namespace vantrix {

class TxlsStream;
class TxlsWorkbook;  // a workbook being read (reading side); null when writing

// A list that owns its objects: Delete and the list's end destroy them, Extract hands one
// back to the caller.
template <class T>
class TxlsList {
 public:
  TxlsWorkbook* Workbook = nullptr;

  size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  T* GetItems(size_t index) const { return items_.at(index).get(); }
  T* operator[](size_t index) const { return items_[index].get(); }
  T* First() const { return items_.empty() ? nullptr : items_.front().get(); }
  T* Last() const { return items_.empty() ? nullptr : items_.back().get(); }
  void Add(std::unique_ptr<T> item) {
    items_.push_back(std::move(item));
    Changed();
  }
  void Insert(size_t index, std::unique_ptr<T> item) {
    items_.insert(items_.begin() + static_cast<ptrdiff_t>(index), std::move(item));
    Changed();
  }
  int IndexOf(const T* item) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
  }
  std::unique_ptr<T> Extract(size_t index) {
    std::unique_ptr<T> item = std::move(items_.at(index));
    items_.erase(items_.begin() + static_cast<ptrdiff_t>(index));
    Changed();
    return item;
  }
  void Delete(size_t index) { Extract(index).reset(); }
  void Clear() {
    items_.clear();
    Changed();
  }
  virtual ~TxlsList() = default;

 protected:
  virtual void Changed() {}
  std::vector<std::unique_ptr<T>> items_;
};

// One column's width (1/256 of a character), cell format and options.
class TxlsColInfo {
 public:
  TxlsColInfo(uint16_t column, uint16_t width, uint16_t xf, uint16_t options)
      : Column(column), Width(width), XF(xf), Options(options) {}
  // The same width, format and options (the column is not compared).
  bool IsEqual(const TxlsColInfo& other) const {
    return Width == other.Width && XF == other.XF && Options == other.Options;
  }

  uint16_t Column, Width, XF, Options;
};

class TxlsColInfoList : public TxlsList<TxlsColInfo> {
 public:
  static constexpr uint64_t kRecordSize = 15;
  static constexpr uint16_t kLastColumn = 255;

  bool Sorted() const { return sorted_; }
  // By column, equal columns keeping their order.
  void Sort();
  // Sorts when needed, then finds the column: true and its position, or false and the
  // position where it would go.
  bool Find(uint16_t column, size_t& index);
  // The columns first to last of a COLINFO record read from a file: each column's entry is
  // set, replacing the one it has (a later record for a column overrides an earlier one), so
  // the list holds at most one entry per column however often a file repeats them. Columns
  // past the last a sheet has are left out.
  void PutRange(uint16_t first, uint16_t last, uint16_t width, uint16_t xf, uint16_t options);
  // One 15-byte COLINFO record per entry, in column order; equal neighbours stay apart, so
  // a later width correction finds every column's record at a fixed distance.
  uint64_t GetTotalSize() const { return kRecordSize * Count(); }
  void Save(TxlsStream& stream);

 protected:
  void Changed() override {
    sorted_ = false;
    indexed_ = false;
  }

 private:
  bool sorted_ = false;
  bool indexed_ = false;
  std::vector<TxlsColInfo*> byColumn_;  // PutRange's entry of each column, while indexed_
};

}  // namespace vantrix
