#pragma once
// The cell records of a workbook being read, with their values as the cell's own type and as
// the other types a caller asks for, and the records that hold several cells (MULRK,
// MULBLANK), a formula's text result (STRING), shared formulas and names.
//
// Every class checks at construction that its body is long enough for the fields it reads,
// and refuses it with "Record with ID 0x.. is invalid" otherwise: the bodies come from files.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "export/xls/biff_record.h"

namespace vantrix {

class TxlsSSTEntry;
class TxlsWorkSheet;
class TxlsWorkbook;

// A cell error (#DIV/0! and the like) by its code.
struct TxlsErrorValue {
  uint8_t Code = 0;
  bool operator==(const TxlsErrorValue&) const = default;
};
// A cell's value whatever its type: nothing, a number, a boolean, a text or an error.
using TxlsVariant = std::variant<std::monostate, double, bool, WideString, TxlsErrorValue>;

// The codes GetCellType gives (a spreadsheet's own numbering of the kinds).
enum class TbiffCellType { String = 0, Boolean = 1, Float = 2, DateTime = 3, Variant = 4 };

// "Record with ID 0x%x is invalid".
[[noreturn]] void RaiseInvalidRecord(uint16_t id);
// "Invalid Row (%d)", "Invalid Column (%d)".
[[noreturn]] void RaiseInvalidRow(int row);
[[noreturn]] void RaiseInvalidColumn(int col);
// The double an RK value stands for.
double DecodeRK(uint32_t rk);

class TbiffColRow : public TbiffRecord {
 public:
  TbiffColRow(TxlsSection* section, uint16_t id, std::vector<uint8_t> data, size_t minimumSize = 4);
  uint16_t Row() const { return Word(0); }
  void SetRow(uint16_t v) { SetWordAt(0, v); }
  uint16_t Col() const { return Word(2); }
  void SetCol(uint16_t v) { SetWordAt(2, v); }
};

class TbiffCell : public TbiffColRow {
 public:
  TbiffCell(TxlsSection* section, uint16_t id, std::vector<uint8_t> data, size_t minimumSize = 6);

  TxlsWorkSheet* Sheet() const;
  uint16_t XFIndex() const { return Word(4); }
  void SetXFIndex(uint16_t v) { SetWordAt(4, v); }

  virtual TbiffCellType GetCellType() const { return TbiffCellType::Variant; }
  virtual bool GetIsFormula() const { return false; }
  virtual WideString GetAsString() const { return {}; }
  virtual void SetAsString(std::u16string_view value);
  virtual bool GetAsBoolean() const;
  virtual void SetAsBoolean(bool value);
  virtual double GetAsFloat() const;
  virtual void SetAsFloat(double value);
  virtual double GetAsDateTime() const;
  virtual void SetAsDateTime(double value);
  virtual TxlsVariant GetAsVariant() const { return {}; }
  virtual void SetAsVariant(const TxlsVariant& value);

  bool GetIsString() const { return GetCellType() == TbiffCellType::String; }
  bool GetIsBoolean() const { return GetCellType() == TbiffCellType::Boolean; }
  bool GetIsFloat() const { return GetCellType() == TbiffCellType::Float; }
  bool GetIsDateTime() const { return GetCellType() == TbiffCellType::DateTime; }
  bool GetIsVariant() const { return GetCellType() == TbiffCellType::Variant; }
  bool GetIsDateOnly() const;
  bool GetIsTimeOnly() const;
  // The number format of the cell's XF; 0 (General) when the workbook has no such XF.
  int GetFormatIndex() const;
  // "B7" and the like.
  std::string GetCellName() const;

 protected:
  // Whether the cell's number format shows dates or times.
  bool HasDateFormat() const;
  [[noreturn]] void RaiseAccess(const char* type) const;
};

class TbiffBlank : public TbiffCell {
 public:
  using TbiffCell::TbiffCell;
};

class TbiffBoolErr : public TbiffCell {
 public:
  TbiffBoolErr(TxlsSection* section, uint16_t id, std::vector<uint8_t> data);
  TbiffCellType GetCellType() const override { return TbiffCellType::Boolean; }
  bool IsError() const { return Byte(7) != 0; }
  bool GetAsBoolean() const override { return Byte(6) != 0; }
  void SetAsBoolean(bool value) override;
  // "TRUE", "FALSE" or the error's text.
  WideString GetAsString() const override;
  TxlsVariant GetAsVariant() const override;
  // A boolean, an error, or the text of an error; nothing else (a Null raises).
  void SetAsVariant(const TxlsVariant& value) override;
};

// A cell holding a number, shown as a date-time when its format is one.
class TbiffNumericCell : public TbiffCell {
 public:
  using TbiffCell::TbiffCell;
  TbiffCellType GetCellType() const override { return HasDateFormat() ? TbiffCellType::DateTime : TbiffCellType::Float; }
  virtual double Value() const = 0;
  double GetAsFloat() const override { return Value(); }
  double GetAsDateTime() const override { return Value(); }
  void SetAsDateTime(double value) override { SetAsFloat(value); }
  WideString GetAsString() const override;
  void SetAsString(std::u16string_view value) override;
  TxlsVariant GetAsVariant() const override { return Value(); }
  void SetAsVariant(const TxlsVariant& value) override;
};

class TbiffNumber : public TbiffNumericCell {
 public:
  TbiffNumber(TxlsSection* section, uint16_t id, std::vector<uint8_t> data);
  double Value() const override { return Double(6); }
  void SetAsFloat(double value) override { SetDoubleAt(6, value); }
};

class TbiffRK : public TbiffNumericCell {
 public:
  TbiffRK(TxlsSection* section, uint16_t id, std::vector<uint8_t> data);
  uint32_t RK() const { return Integer(6); }
  double Value() const override { return DecodeRK(RK()); }
  // Raises "Invalid cell value: '%s'" for a number without an RK form.
  void SetAsFloat(double value) override;
};

class TbiffLabelSST : public TbiffCell {
 public:
  // Takes the shared string of its index; an index the table lacks is refused.
  TbiffLabelSST(TxlsSection* section, uint16_t id, std::vector<uint8_t> data);
  ~TbiffLabelSST() override;
  TbiffCellType GetCellType() const override { return TbiffCellType::String; }
  TxlsSSTEntry* Entry() const { return entry_; }
  WideString GetAsString() const override;
  void SetAsString(std::u16string_view value) override;
  TxlsVariant GetAsVariant() const override { return GetAsString(); }
  void SetAsVariant(const TxlsVariant& value) override;
  // Writes the index its string has in the table being saved, then the continuation read
  // with the cell, as the base's size counts it.
  void Save(TxlsStream* stream) const override;

 private:
  TxlsSSTEntry* entry_ = nullptr;
};

// A formula cell: its tokens kept as read, its last result as a value, and the records that
// belong to it (a shared formula or array it anchors) written right after it again.
class TbiffFormula : public TbiffCell {
 public:
  TbiffFormula(TxlsSection* section, uint16_t id, std::vector<uint8_t> data);
  bool GetIsFormula() const override { return true; }
  TxlsVariant GetAsVariant() const override { return result_; }
  void SetAsVariant(const TxlsVariant& value) override { result_ = value; }
  WideString GetAsString() const override;
  void SetAsString(std::u16string_view value) override { result_ = WideString(value); }
  // A number or a boolean result as such; any other result refuses, as a cell of that kind.
  double GetAsFloat() const override;
  double GetAsDateTime() const override { return GetAsFloat(); }
  bool GetAsBoolean() const override;
  const std::vector<uint8_t>& Tokens() const { return tokens_; }
  // Whether the result read is a text whose characters a STRING record after the formula
  // holds (result bytes 0xFFFF at the top, the kind byte 0); any other result takes none.
  bool AwaitsString() const { return awaitsString_; }
  // When the formula is a shared formula's or an array's anchor cell, the records that follow.
  void AddCompanion(std::unique_ptr<TbiffRecord> record) { companions_.push_back(std::move(record)); }
  const std::vector<std::unique_ptr<TbiffRecord>>& Companions() const { return companions_; }
  // The formula with its result and its continuation, its companions and, for a text result,
  // the STRING record.
  void Save(TxlsStream* stream) const override;
  uint64_t GetTotalSize() const override;

 private:
  std::vector<uint8_t> ResultBody() const;
  std::vector<std::vector<uint8_t>> StringBodies() const;
  TxlsVariant result_;
  bool awaitsString_ = false;
  std::vector<uint8_t> tokens_;
  std::vector<std::unique_ptr<TbiffRecord>> companions_;
};

// A formula's text result.
class TbiffString : public TbiffRecord {
 public:
  TbiffString(TxlsSection* section, uint16_t id, std::vector<uint8_t> data);
  WideString GetValue() const;
};

class TbiffShrFmla : public TbiffRecord {
 public:
  TbiffShrFmla(TxlsSection* section, uint16_t id, std::vector<uint8_t> data);
  uint16_t FirstRow() const { return Word(0); }
  uint16_t LastRow() const { return Word(2); }
  uint8_t FirstCol() const { return Byte(4); }
  uint8_t LastCol() const { return Byte(5); }
  uint32_t GetKey() const { return FirstRow() | (static_cast<uint32_t>(FirstCol()) << 16); }
};

class TbiffName : public TbiffRecord {
 public:
  TbiffName(TxlsSection* section, uint16_t id, std::vector<uint8_t> data);
  uint8_t NameLength() const { return Byte(3); }
  uint8_t OptionFlags() const { return Byte(14); }
  WideString GetName() const;
  // The stored name with its option byte.
  size_t GetNameSize() const { return 1 + NameLength() * ((OptionFlags() & 1) != 0 ? 2u : 1u); }
  // The rows and columns of a 3-D area the name stands for; -1 for any other name.
  int GetRow1() const { return AreaField(17); }
  int GetRow2() const { return AreaField(19); }
  int GetCol1() const { return AreaField(21); }
  int GetCol2() const { return AreaField(23); }

 private:
  int AreaField(size_t at) const;
};

// A record of several cells in a row, taken one by one.
class TbiffMultiple : public TbiffRecord {
 public:
  TbiffMultiple(TxlsSection* section, uint16_t id, std::vector<uint8_t> data, size_t itemSize);
  bool GetEOF() const { return cursor_ >= count_; }
  virtual std::unique_ptr<TbiffCell> GetCell() = 0;
  size_t ItemCount() const { return count_; }

 protected:
  // The next cell's body, moving on; a column past the sheet's last raises "Invalid Column".
  std::vector<uint8_t> NextBody();
  size_t itemSize_;
  size_t cursor_ = 0;
  size_t count_;
};

class TbiffMulBlank : public TbiffMultiple {
 public:
  TbiffMulBlank(TxlsSection* section, uint16_t id, std::vector<uint8_t> data)
      : TbiffMultiple(section, id, std::move(data), 2) {}
  std::unique_ptr<TbiffCell> GetCell() override;
};

class TbiffMulRK : public TbiffMultiple {
 public:
  TbiffMulRK(TxlsSection* section, uint16_t id, std::vector<uint8_t> data)
      : TbiffMultiple(section, id, std::move(data), 6) {}
  std::unique_ptr<TbiffCell> GetCell() override;
};

}  // namespace vantrix
