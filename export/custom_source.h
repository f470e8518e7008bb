#pragma once
// A row source of the owner's own: it describes its columns and asks the owner, through two
// events, whether there is a record after the current one and what each value is. The
// history viewer exports its table through one.
//
// A QObject, so that exporters holding it (through QPointer) see it go.
#include <QObject>
#include <QVariant>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "export/col_types.h"

namespace vantrix {

struct FormatSettings;
class TVantrixCustomSource;
class TVantrixCustomColumns;

class TVantrixCustomColumn {
 public:
  explicit TVantrixCustomColumn(TVantrixCustomColumns* collection);

  const std::string& ColumnName() const { return columnName_; }
  // Ignored when equal to the current name, empty, or carried by another column of the
  // collection (case ignored).
  void SetColumnName(const std::string& name);
  TVantrixColType ColumnType() const { return columnType_; }
  void SetColumnType(TVantrixColType type) { columnType_ = type; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  int Width() const { return width_; }
  void SetWidth(int width) { width_ = width; }
  int Size() const { return size_; }
  void SetSize(int size) { size_ = size; }
  const std::string& DisplayName() const { return columnName_; }
  // Position in the collection; -1 in none.
  int Index() const { return index_; }
  TVantrixCustomColumns* Collection() const { return collection_; }

  // This column's value on the source's current record as text: empty when the column is in
  // no source or the source has no value handler; a null value is empty. The text handler
  // answers when there is one, else the value handler.
  std::string AsString(const FormatSettings& settings) const;
  void AsString(const FormatSettings& settings, std::string& out) const;

  void Assign(const TVantrixCustomColumn& other);

 private:
  friend class TVantrixCustomColumns;
  TVantrixCustomColumns* collection_;
  int index_ = -1;
  std::string columnName_;
  TVantrixColType columnType_ = ectString;
  std::string caption_;
  int width_ = 15;
  int size_ = 15;
};

class TVantrixCustomColumns {
 public:
  explicit TVantrixCustomColumns(TVantrixCustomSource* source) : source_(source) {}
  TVantrixCustomColumns(const TVantrixCustomColumns&) = delete;
  TVantrixCustomColumns& operator=(const TVantrixCustomColumns&) = delete;

  // A new column named "Column" and the smallest number no column carries yet.
  TVantrixCustomColumn* Add();
  int Count() const { return static_cast<int>(items_.size()); }
  TVantrixCustomColumn* GetItem(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
  void SetItem(int index, const TVantrixCustomColumn& column) { GetItem(index)->Assign(column); }
  // The column of that name (case ignored), -1 when none. No two columns share a name.
  int IndexOf(const std::string& name) const;
  void Delete(int index);
  void Clear();
  // Moves the column to a new position.
  void Move(int from, int to);
  // The other's columns copied into new columns of this collection.
  void Assign(const TVantrixCustomColumns& other);
  TVantrixCustomSource* GetOwner() const { return source_; }

 private:
  friend class TVantrixCustomColumn;
  void Renumber();
  // The default name of the smallest free number, found through the name index.
  std::string FreeDefaultName();
  // Keeps the name index and the lowest free default number true when a column of the
  // collection changes its name or leaves.
  void Forget(const TVantrixCustomColumn& column);
  void Remember(TVantrixCustomColumn& column);

  TVantrixCustomSource* source_;
  std::vector<std::unique_ptr<TVantrixCustomColumn>> items_;
  // Names folded for case to their columns: a wide table names and finds each column in
  // constant time, where scanning the columns for every name made its columns cost their cube.
  std::unordered_map<std::string, TVantrixCustomColumn*> names_;
  // No default name below this number is free.
  int firstFreeDefault_ = 0;
};

// Each column as wide as its longest text (never narrower than its caption or its width now)
// and its text field as long as that text up to the 255 characters a field holds, so that no
// cell is cut in a layout of fixed columns or a table of declared sizes. longest: one length
// a column, at least 1.
void FitColumnsToTexts(TVantrixCustomColumns& columns, const std::vector<size_t>& longest);

class TVantrixCustomSource : public QObject {
  Q_OBJECT

 public:
  // (sender, number of the current record, eof): set eof when there is no record after it.
  using TGetNextRecordEvent = std::function<void(TVantrixCustomSource& sender, int recNo, bool& eof)>;
  // (sender, record number, column, value): the value of that cell.
  using TGetColumnValueEvent =
      std::function<void(TVantrixCustomSource& sender, int recNo, const TVantrixCustomColumn& column, QVariant& value)>;
  // (sender, record number, column, text): the cell as code page 1252 text, for owners whose
  // cells are texts already (the text starts empty).
  using TGetColumnTextEvent = std::function<void(TVantrixCustomSource& sender, int recNo,
                                                 const TVantrixCustomColumn& column, std::string& text)>;

  explicit TVantrixCustomSource(QObject* parent = nullptr);

  TVantrixCustomColumns& Columns() { return columns_; }
  const TVantrixCustomColumns& Columns() const { return columns_; }
  void SetColumns(const TVantrixCustomColumns& columns) { columns_.Assign(columns); }
  int GetColCount() const { return columns_.Count(); }
  TVantrixCustomColumn* ColumnByName(const std::string& name) const;

  int RecNo() const { return recNo_; }
  void SetRecNo(int recNo) { recNo_ = recNo; }
  bool Eof() const { return eof_; }
  // The end flag only ever goes from false to true inside the source: the owner clears it
  // before a new pass.
  void ClearEof() { eof_ = false; }

  // Record number 1; the end flag stays as it is.
  void First() { recNo_ = 1; }
  // Asks the next-record handler; without one the record number just grows.
  void Next();

  TGetNextRecordEvent OnGetNextRecord;
  TGetColumnValueEvent OnGetColumnValue;
  // Asked instead of OnGetColumnValue when set: a cell handed over as text skips the variant
  // and its conversion, which is most of what a cell costs an export.
  TGetColumnTextEvent OnGetColumnText;

 private:
  TVantrixCustomColumns columns_;
  int recNo_ = 1;
  bool eof_ = false;
};

}  // namespace vantrix
