#include "export/xls/xls_format_lists.h"

#include "platform/cp1252_case.h"

namespace vantrix {

// --- fonts ---------------------------------------------------------------------------------

TxlsFont* TxlsFontList::Add(std::unique_ptr<TxlsFont> font) {
  index_[font->Hash()].push_back(static_cast<uint32_t>(fonts_.size()));
  fonts_.push_back(std::move(font));
  return fonts_.back().get();
}

void TxlsFontList::Put(size_t index, const TxlsFont& font) {
  TxlsFont& entry = *fonts_.at(index);
  entry.Assign(font);
  entry.FontIndex = font.FontIndex;
  index_.clear();
  for (size_t i = 0; i < fonts_.size(); ++i) index_[fonts_[i]->Hash()].push_back(static_cast<uint32_t>(i));
}

int TxlsFontList::ListIndexByFont(const TxlsFont& font) const {
  const auto it = index_.find(font.Hash());
  if (it == index_.end()) return -1;
  for (const uint32_t position : it->second)
    if (fonts_[position]->IsEqual(&font)) return static_cast<int>(position);
  return -1;
}

int TxlsFontList::FontIndexByFont(const TxlsFont& font) const {
  const int position = ListIndexByFont(font);
  return position < 0 ? -1 : fonts_[static_cast<size_t>(position)]->FontIndex;
}

// --- number formats ------------------------------------------------------------------------

TxlsTextFormat* TxlsTextFormatList::Add(std::unique_ptr<TxlsTextFormat> format) {
  index_.emplace(format->FormatText, static_cast<uint32_t>(formats_.size()));
  formats_.push_back(std::move(format));
  return formats_.back().get();
}

void TxlsTextFormatList::Put(size_t index, const TxlsTextFormat& format) {
  *formats_.at(index) = format;
  Reindex();
}

void TxlsTextFormatList::Reindex() {
  index_.clear();
  for (size_t i = 0; i < formats_.size(); ++i) index_.emplace(formats_[i]->FormatText, static_cast<uint32_t>(i));
}

int TxlsTextFormatList::ListIndexByString(std::u16string_view text) const {
  const auto it = index_.find(std::u16string(text));
  return it == index_.end() ? -1 : static_cast<int>(it->second);
}

int TxlsTextFormatList::FormatIndexByString(std::u16string_view text) const {
  const int position = ListIndexByString(text);
  return position < 0 ? -1 : formats_[static_cast<size_t>(position)]->FormatIndex;
}

// --- extended formats ----------------------------------------------------------------------

TxlsXFormat* TxlsXFormatList::Add(std::unique_ptr<TxlsXFormat> xf) {
  const auto position = static_cast<uint32_t>(xfs_.size());
  index_[xf->Hash()].push_back(position);
  byXFIndex_.emplace(xf->XFIndex, position);
  xfs_.push_back(std::move(xf));
  return xfs_.back().get();
}

int TxlsXFormatList::FormatIndexByFormat(const TxlsXFormat& xf) const {
  const auto it = index_.find(xf.Hash());
  if (it == index_.end()) return -1;
  for (const uint32_t position : it->second)
    if (xfs_[position]->IsEqual(&xf)) return xfs_[position]->XFIndex;
  return -1;
}

int TxlsXFormatList::ListIndexByFormatIndex(int xfIndex) const {
  const auto it = byXFIndex_.find(xfIndex);
  return it == byXFIndex_.end() ? -1 : static_cast<int>(it->second);
}

TxlsXFormat* TxlsXFormatList::FormatByFormatIndex(int xfIndex) const {
  const int position = ListIndexByFormatIndex(xfIndex);
  return position < 0 ? nullptr : xfs_[static_cast<size_t>(position)].get();
}

// --- per-field XFs -------------------------------------------------------------------------

std::string TxlsXFormatFieldList::Key(int sheetIndex, std::string_view fieldName) {
  std::string key = std::to_string(sheetIndex);
  key.push_back('\0');
  for (char c : fieldName) key.push_back(static_cast<char>(platform::Cp1252FoldCase(static_cast<unsigned char>(c))));
  return key;
}

void TxlsXFormatFieldList::Add(std::unique_ptr<TxlsXFormatField> entry) {
  index_.emplace(Key(entry->SheetIndex, entry->FieldName), static_cast<uint32_t>(entries_.size()));
  entries_.push_back(std::move(entry));
}

int TxlsXFormatFieldList::ListIndexByFieldName(int sheetIndex, std::string_view fieldName) const {
  const auto it = index_.find(Key(sheetIndex, fieldName));
  if (it == index_.end() || entries_[it->second]->XF == nullptr) return -1;
  return static_cast<int>(it->second);
}

int TxlsXFormatFieldList::FormatIndexByFieldName(int sheetIndex, std::string_view fieldName) const {
  const int position = ListIndexByFieldName(sheetIndex, fieldName);
  return position < 0 ? kDefaultCellXF : entries_[static_cast<size_t>(position)]->XF->XFIndex;
}

// --- strip-style XFs -----------------------------------------------------------------------

void TxlsXFormatColRowList::Add(std::unique_ptr<TxlsXFormatColRow> entry) {
  const auto position = static_cast<uint32_t>(entries_.size());
  const uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(entry->SheetIndex)) << 32) |
                       static_cast<uint32_t>(entry->Number);
  byNumber_.emplace(key, position);
  if (entry->XF != nullptr) byXF_.emplace(entry->XF->XFIndex, position);
  entries_.push_back(std::move(entry));
}

int TxlsXFormatColRowList::IndexByXF(int xfIndex) const {
  const auto it = byXF_.find(xfIndex);
  return it == byXF_.end() ? -1 : static_cast<int>(it->second);
}

int TxlsXFormatColRowList::XFIndexByNumber(int sheetIndex, int number) const {
  const uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(sheetIndex)) << 32) | static_cast<uint32_t>(number);
  const auto it = byNumber_.find(key);
  if (it == byNumber_.end() || entries_[it->second]->XF == nullptr) return kDefaultCellXF;
  return entries_[it->second]->XF->XFIndex;
}

}  // namespace vantrix
