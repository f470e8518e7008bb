#pragma once
// The column model of one export run: which columns of the source are exported, under which
// names and captions, of which type, width, alignment, picture and SQL type. It is built from
// the row source at the start of every run and read by the formats while they write.
//
// The model reads the settings it needs from its owner (the exporter, a spreadsheet sheet, the
// export dialog) through TVantrixColumnsOwner, whose getters are all optional: an owner
// without a setting leaves the model's previous value (the caption row becomes -1).
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/col_types.h"
#include "export/data_source.h"
#include "export/string_list.h"

namespace vantrix {

class TVantrixColumns;
class TVantrixFormats;

class TVantrixColumnsOwner {
 public:
  virtual ~TVantrixColumnsOwner() = default;
  virtual std::optional<TVantrixSourceRefs> OwnerSources() const { return std::nullopt; }
  virtual const TStrings* OwnerExportedFields() const { return nullptr; }
  virtual std::optional<bool> OwnerOnlyVisibleFields() const { return std::nullopt; }
  virtual const TVantrixFormats* OwnerFormats() const { return nullptr; }
  virtual std::optional<bool> OwnerAutoCalcStrType() const { return std::nullopt; }
  virtual std::optional<int> OwnerCaptionRow() const { return std::nullopt; }
  virtual const TStrings* OwnerUserFormats() const { return nullptr; }
  virtual const TStrings* OwnerColumnsWidth() const { return nullptr; }
  virtual const TStrings* OwnerCaptions() const { return nullptr; }
  virtual const TStrings* OwnerColumnsAlign() const { return nullptr; }
  virtual std::optional<int> OwnerSkipRecCount() const { return std::nullopt; }
  virtual std::optional<int> OwnerExportRecCount() const { return std::nullopt; }
  virtual const TStrings* OwnerColumnsLength() const { return nullptr; }
  // The width pass reports each record it fetched (the owner's OnFetchedRecord).
  virtual void OwnerFetchedRecord(int /*recNo*/) {}
  // Text normalising of the owner's format (escaping); the text as it is by default.
  virtual void NormalString(std::string& /*text*/) const {}
  // How many characters of a column's width the text takes (a caption or a cell) when the
  // width pass sizes the column: one a byte by default, a format drawn in proportional fonts
  // measures it.
  virtual int OwnerTextChars(std::string_view text, bool /*caption*/) const { return static_cast<int>(text.size()); }
};

// The widest a column may be set (ColumnsWidth, often from an options file): every cell of a
// fixed-width layout is padded to it, so a width of billions would ask gigabytes per cell. A
// width pass can still widen a column to its longest text.
inline constexpr int kMaxColumnWidth = 4096;

class TVantrixColumn {
 public:
  explicit TVantrixColumn(TVantrixColumns* columns) : columns_(columns) {}

  TVantrixColumns* Columns() const { return columns_; }
  int Number = -1;
  TVantrixColType ColType = ectUnknown;
  std::string Name;
  std::string Caption;
  int Width = 0;
  TVantrixColAlign Align = ecaLeft;
  std::string Format;
  std::string SQLType;
  int Length = 0;
  int Tag = 0;
  bool AllowFormat = false, IsNumeric = false, IsString = false, IsBlob = false, IsMemo = false, IsVisible = true;

  // The picture of the column's type from the model's formats; empty unless AllowFormat.
  std::string GetDefaultFormat() const;
  bool GetIsDefaultFormat() const { return AllowFormat && Format == GetDefaultFormat(); }
  void SetDefaultFormat() { Format = GetDefaultFormat(); }
  // Every attribute of the other column; this one stays in its own model.
  void Assign(const TVantrixColumn& other) {
    TVantrixColumns* keep = columns_;
    *this = other;
    columns_ = keep;
  }

 private:
  TVantrixColumns* columns_;
};

class TVantrixColumns {
 public:
  explicit TVantrixColumns(TVantrixColumnsOwner* owner) : owner_(owner) {}
  TVantrixColumns(const TVantrixColumns&) = delete;
  TVantrixColumns& operator=(const TVantrixColumns&) = delete;

  TVantrixColumn& Add();
  int Count() const { return static_cast<int>(items_.size()); }
  TVantrixColumn& GetColumn(int i) const { return *items_.at(static_cast<size_t>(i)); }
  TVantrixColumn& operator[](int i) const { return GetColumn(i); }
  void SetColumn(int i, const TVantrixColumn& column) { GetColumn(i).Assign(column); }
  void Clear() { items_.clear(); }
  void Delete(int i) { items_.erase(items_.begin() + i); }

  // Rebuilds the attributes of the columns from the source (the caller clears the model
  // first). Blob fields of a data set are left out unless allowed.
  void Fill(bool allowBlobs);
  void LoadOwnerProperties();

  int SetColumnNumber(int i, bool allowBlobs);
  void SetColumnName(int i);
  void SetColumnType(int i);
  void SetColumnCaption(int i);
  void SetColumnWidth(int i);
  void SetColumnFormat(int i);
  void SetColumnAlign(int i);
  void SetColumnSQLType(int i);
  void SetColumnIsString(int i);
  void SetColumnLength(int i);
  void SetColumnAllowFormat(int i);
  void SetColumnIsNumeric(int i);
  void SetColumnIsBlob(int i);
  void SetColumnIsMemo(int i);
  void SetColumnIsVisible(int i);

  // Whether the column's field is null on the current record (data sets and data grids).
  bool GetColumnIsNull(int i) const;
  // Widens the columns to their captions and the longest formatted text of the records that
  // the run will export; the source returns to where it stood.
  void AutoCalcColWidth();
  int IndexOfName(const std::string& name) const;
  void EmptyTags();
  bool ContainsBLOB() const;
  bool ContainsMEMO() const;

  TVantrixColumnsOwner* Owner() const { return owner_; }
  const TVantrixFormats* Formats() const { return formats_; }
  const TVantrixSourceRefs& Sources() const { return sources_; }
  int RecordCounter() const { return counter_; }
  void NormalString(std::string& text) const {
    if (owner_ != nullptr) owner_->NormalString(text);
  }

 private:
  TVantrixModelSource* ModelSource() const;

  TVantrixColumnsOwner* owner_;
  std::vector<std::unique_ptr<TVantrixColumn>> items_;
  int counter_ = 0;
  // Copied from the owner at every Fill; the lists and formats are the owner's own objects.
  TVantrixSourceRefs sources_;
  const TStrings* exportedFields_ = nullptr;
  bool onlyVisibleFields_ = false;
  const TVantrixFormats* formats_ = nullptr;
  bool autoCalcStrType_ = false;
  int captionRow_ = -1;
  const TStrings* userFormats_ = nullptr;
  const TStrings* columnsWidth_ = nullptr;
  const TStrings* captions_ = nullptr;
  const TStrings* columnsAlign_ = nullptr;
  int skipRecCount_ = 0;
  int exportRecCount_ = 0;
  const TStrings* columnsLength_ = nullptr;
  // The lists above by name, made at every Fill.
  TNameIndex captionsIndex_, widthsIndex_, formatsIndex_, alignsIndex_, lengthsIndex_;
};

// "INTEGER", "DOUBLE PRECISION", "DATE", "CHAR(n)" with the column's width (at least 1), or
// empty for an unknown type.
std::string VantrixType2SQLType(const TVantrixColumn& column);

}  // namespace vantrix
