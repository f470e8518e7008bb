#pragma once
// The lists an export run collects its fonts, number formats and extended formats in, and
// the per-field and strip-style XF choices of each sheet. A run looks formats up for every
// cell, so each list keeps a hash index beside its entries; a lookup still answers the first
// matching entry in list order. Each list owns its entries; an XF refers to a font and a
// number format of the other lists.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "export/xls/xls_xformat.h"

namespace vantrix {

class TxlsFontList {
 public:
  TxlsFont* Add(std::unique_ptr<TxlsFont> font);
  size_t Count() const { return fonts_.size(); }
  TxlsFont* Get(size_t index) const { return fonts_.at(index).get(); }
  // Copies the font into the entry at the position (references to the entry stay good).
  void Put(size_t index, const TxlsFont& font);
  // The font index of the first equal font, or -1.
  int FontIndexByFont(const TxlsFont& font) const;
  // The position of the first equal font, or -1.
  int ListIndexByFont(const TxlsFont& font) const;

 private:
  std::vector<std::unique_ptr<TxlsFont>> fonts_;
  std::unordered_map<size_t, std::vector<uint32_t>> index_;
};

class TxlsTextFormatList {
 public:
  TxlsTextFormat* Add(std::unique_ptr<TxlsTextFormat> format);
  size_t Count() const { return formats_.size(); }
  TxlsTextFormat* Get(size_t index) const { return formats_.at(index).get(); }
  void Put(size_t index, const TxlsTextFormat& format);
  // The format index of the first entry with that text (case counting), or -1.
  int FormatIndexByString(std::u16string_view text) const;
  int ListIndexByString(std::u16string_view text) const;

 private:
  void Reindex();
  std::vector<std::unique_ptr<TxlsTextFormat>> formats_;
  std::unordered_map<std::u16string, uint32_t> index_;
};

class TxlsXFormatList {
 public:
  TxlsXFormat* Add(std::unique_ptr<TxlsXFormat> xf);
  size_t Count() const { return xfs_.size(); }
  TxlsXFormat* Get(size_t index) const { return xfs_.at(index).get(); }
  // The XF index of the first equal XF, or -1.
  int FormatIndexByFormat(const TxlsXFormat& xf) const;
  // The position of the XF with that XF index, or -1.
  int ListIndexByFormatIndex(int xfIndex) const;
  TxlsXFormat* FormatByFormatIndex(int xfIndex) const;

 private:
  std::vector<std::unique_ptr<TxlsXFormat>> xfs_;
  std::unordered_map<size_t, std::vector<uint32_t>> index_;
  std::unordered_map<int, uint32_t> byXFIndex_;
};

// The XF a field of a sheet is written with.
struct TxlsXFormatField {
  int SheetIndex = 0;
  std::string FieldName;
  TxlsXFormat* XF = nullptr;
};

class TxlsXFormatFieldList {
 public:
  void Add(std::unique_ptr<TxlsXFormatField> entry);
  size_t Count() const { return entries_.size(); }
  TxlsXFormatField* Get(size_t index) const { return entries_.at(index).get(); }
  // The XF index of the first entry of that sheet whose field name is the name ignoring case;
  // 15 when there is none or it has no XF.
  int FormatIndexByFieldName(int sheetIndex, std::string_view fieldName) const;
  // That entry's position; -1 in the same two cases.
  int ListIndexByFieldName(int sheetIndex, std::string_view fieldName) const;

 private:
  static std::string Key(int sheetIndex, std::string_view fieldName);
  std::vector<std::unique_ptr<TxlsXFormatField>> entries_;
  std::unordered_map<std::string, uint32_t> index_;
};

// The XF of a strip-style cell: number is the column index, or strip-style index × 1000 +
// column index for row strips.
struct TxlsXFormatColRow {
  int SheetIndex = 0;
  int Number = 0;
  TxlsXFormat* XF = nullptr;
};

class TxlsXFormatColRowList {
 public:
  void Add(std::unique_ptr<TxlsXFormatColRow> entry);
  size_t Count() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  TxlsXFormatColRow* Get(size_t index) const { return entries_.at(index).get(); }
  // The position of the first entry whose XF has that index, or -1.
  int IndexByXF(int xfIndex) const;
  // The XF index of the first entry of that sheet and number, or 15.
  int XFIndexByNumber(int sheetIndex, int number) const;

 private:
  std::vector<std::unique_ptr<TxlsXFormatColRow>> entries_;
  std::unordered_map<uint64_t, uint32_t> byNumber_;
  std::unordered_map<int, uint32_t> byXF_;
};

}  // namespace vantrix
