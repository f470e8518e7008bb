#include "export/xls/cell_records.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "export/xls/workbook_reader.h"
#include "export/xls/xls_stream.h"
#include "platform/datetime.h"

namespace vantrix {

namespace {

constexpr uint16_t kStringId = 0x0207;

std::string NarrowText(std::u16string_view text) { return WideStringToStringNoCodePage(text); }

// The shortest text that reads back as the same number.
WideString NumberText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return StringToWideStringNoCodePage(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

std::string TwoDigits(int v) {
  char b[8];
  std::snprintf(b, sizeof b, "%02d", v);
  return b;
}

}  // namespace

void RaiseInvalidRecord(uint16_t id) {
  char text[64];
  std::snprintf(text, sizeof text, "Record with ID 0x%x is invalid", id);
  throw ExlsFileError(text);
}

void RaiseInvalidRow(int row) { throw ExlsFileError("Invalid Row (" + std::to_string(row) + ")"); }
void RaiseInvalidColumn(int col) { throw ExlsFileError("Invalid Column (" + std::to_string(col) + ")"); }

double DecodeRK(uint32_t rk) {
  double value = (rk & 2u) != 0 ? static_cast<double>(static_cast<int32_t>(rk) >> 2)
                                 : std::bit_cast<double>(static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32);
  if ((rk & 1u) != 0) value /= 100;
  return value;
}

TbiffColRow::TbiffColRow(TxlsSection* section, uint16_t id, std::vector<uint8_t> data, size_t minimumSize)
    : TbiffRecord(section, id, std::move(data)) {
  if (DataSize() < minimumSize) RaiseInvalidRecord(id);
}

TbiffCell::TbiffCell(TxlsSection* section, uint16_t id, std::vector<uint8_t> data, size_t minimumSize)
    : TbiffColRow(section, id, std::move(data), std::max<size_t>(minimumSize, 6)) {}

TxlsWorkSheet* TbiffCell::Sheet() const { return dynamic_cast<TxlsWorkSheet*>(Section()); }

std::string TbiffCell::GetCellName() const { return Col2Letter(Col() + 1) + Row2Number(Row() + 1); }

void TbiffCell::RaiseAccess(const char* type) const {
  throw ExlsFileError("Cannot access cell '" + GetCellName() + "' as type " + type);
}

void TbiffCell::SetAsString(std::u16string_view) { RaiseAccess("String"); }
bool TbiffCell::GetAsBoolean() const { RaiseAccess("Boolean"); }
void TbiffCell::SetAsBoolean(bool) { RaiseAccess("Boolean"); }
double TbiffCell::GetAsFloat() const { RaiseAccess("Float"); }
void TbiffCell::SetAsFloat(double) { RaiseAccess("Float"); }
double TbiffCell::GetAsDateTime() const { RaiseAccess("DateTime"); }
void TbiffCell::SetAsDateTime(double) { RaiseAccess("DateTime"); }
void TbiffCell::SetAsVariant(const TxlsVariant&) { RaiseAccess("Variant"); }

bool TbiffCell::GetIsDateOnly() const {
  if (!GetIsDateTime()) return false;
  const double v = GetAsDateTime();
  return v == std::trunc(v);
}

bool TbiffCell::GetIsTimeOnly() const {
  if (!GetIsDateTime()) return false;
  return std::trunc(GetAsDateTime()) == 0;
}

int TbiffCell::GetFormatIndex() const {
  const TxlsWorkbook* book = Section() != nullptr ? Section()->Workbook() : nullptr;
  if (book == nullptr || XFIndex() >= book->Globals().XFs.size()) return 0;
  return book->Globals().XFs[XFIndex()]->FormatIndex();
}

bool TbiffCell::HasDateFormat() const {
  const TxlsWorkbook* book = Section() != nullptr ? Section()->Workbook() : nullptr;
  return book != nullptr && book->Globals().IsDateXF(XFIndex());
}

TbiffBoolErr::TbiffBoolErr(TxlsSection* section, uint16_t id, std::vector<uint8_t> data)
    : TbiffCell(section, id, std::move(data), 8) {}

void TbiffBoolErr::SetAsBoolean(bool value) {
  SetByteAt(6, value ? 1 : 0);
  SetByteAt(7, 0);
}

WideString TbiffBoolErr::GetAsString() const {
  if (IsError()) return StringToWideStringNoCodePage(ErrCodeToString(Byte(6)));
  return Byte(6) != 0 ? u"TRUE" : u"FALSE";
}

TxlsVariant TbiffBoolErr::GetAsVariant() const {
  if (IsError()) return TxlsErrorValue{Byte(6)};
  return Byte(6) != 0;
}

void TbiffBoolErr::SetAsVariant(const TxlsVariant& value) {
  if (const bool* b = std::get_if<bool>(&value)) {
    SetAsBoolean(*b);
  } else if (const TxlsErrorValue* e = std::get_if<TxlsErrorValue>(&value)) {
    SetByteAt(6, e->Code);
    SetByteAt(7, 1);
  } else if (const WideString* text = std::get_if<WideString>(&value)) {
    SetByteAt(6, static_cast<uint8_t>(StringToErrCode(NarrowText(*text))));
    SetByteAt(7, 1);
  } else {
    throw ExlsFileError("Invalid cell value: '" + NarrowText(GetAsString()) + "'");
  }
}

// A date-time shows its date, its time or both, as the value has them.
WideString TbiffNumericCell::GetAsString() const {
  const double v = Value();
  if (!HasDateFormat() || !std::isfinite(v)) return NumberText(v);
  platform::DateParts date;
  platform::TimeParts time;
  platform::DecodeDateTime(v, date, time);
  std::string text;
  if (!GetIsTimeOnly())
    text = std::to_string(date.year) + "-" + TwoDigits(date.month) + "-" + TwoDigits(date.day);
  if (!GetIsDateOnly()) {
    if (!text.empty()) text += ' ';
    text += TwoDigits(time.hour) + ":" + TwoDigits(time.minute) + ":" + TwoDigits(time.second);
  }
  return StringToWideStringNoCodePage(text);
}

void TbiffNumericCell::SetAsString(std::u16string_view value) {
  const std::string text = NarrowText(value);
  double v = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), v);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size())
    throw ExlsFileError("Invalid cell value: '" + text + "'");
  SetAsFloat(v);
}

void TbiffNumericCell::SetAsVariant(const TxlsVariant& value) {
  if (const double* d = std::get_if<double>(&value)) SetAsFloat(*d);
  else if (const bool* b = std::get_if<bool>(&value)) SetAsFloat(*b ? 1 : 0);
  else if (const WideString* text = std::get_if<WideString>(&value)) SetAsString(*text);
  else RaiseAccess("Variant");
}

TbiffNumber::TbiffNumber(TxlsSection* section, uint16_t id, std::vector<uint8_t> data)
    : TbiffNumericCell(section, id, std::move(data), 14) {}

TbiffRK::TbiffRK(TxlsSection* section, uint16_t id, std::vector<uint8_t> data)
    : TbiffNumericCell(section, id, std::move(data), 10) {}

void TbiffRK::SetAsFloat(double value) {
  uint32_t rk = 0;
  if (!EncodeRK(value, rk)) throw ExlsFileError("Invalid cell value: '" + NarrowText(NumberText(value)) + "'");
  SetIntegerAt(6, rk);
}

TbiffLabelSST::TbiffLabelSST(TxlsSection* section, uint16_t id, std::vector<uint8_t> data)
    : TbiffCell(section, id, std::move(data), 10) {
  TxlsWorkbook* book = section != nullptr ? section->Workbook() : nullptr;
  const uint32_t index = Integer(6);
  if (book == nullptr || index >= book->Globals().SST.Count()) RaiseInvalidRecord(id);
  entry_ = book->Globals().SST[index];
  entry_->IncRef();
}

TbiffLabelSST::~TbiffLabelSST() {
  if (entry_ != nullptr) entry_->DecRef();
}

WideString TbiffLabelSST::GetAsString() const { return entry_ != nullptr ? entry_->Value().GetValue() : WideString(); }

void TbiffLabelSST::SetAsString(std::u16string_view value) {
  TbiffSSTList& sst = Section()->Workbook()->Globals().SST;
  const uint32_t index = sst.AddString(value);
  TxlsSSTEntry* entry = sst[index];
  entry->IncRef();
  if (entry_ != nullptr) entry_->DecRef();
  entry_ = entry;
  SetIntegerAt(6, index);
}

void TbiffLabelSST::SetAsVariant(const TxlsVariant& value) {
  if (const WideString* text = std::get_if<WideString>(&value)) SetAsString(*text);
  else if (const double* d = std::get_if<double>(&value)) SetAsString(NumberText(*d));
  else RaiseAccess("Variant");
}

void TbiffLabelSST::Save(TxlsStream* stream) const {
  if (stream == nullptr) return;
  std::vector<uint8_t> body(Data().begin(), Data().end());
  if (entry_ != nullptr) SetInteger(body, 6, entry_->PosInTable);
  stream->WriteWord(Id());
  stream->WriteWord(static_cast<uint16_t>(body.size()));
  stream->Write(body);
  SaveContinues(*stream);
}

// The result a formula last had: a number, or by the kind byte a text (its characters in the
// STRING record that follows), a boolean, an error or an empty text.
TbiffFormula::TbiffFormula(TxlsSection* section, uint16_t id, std::vector<uint8_t> data)
    : TbiffCell(section, id, std::move(data), 22) {
  if (Word(12) != 0xFFFF) {
    result_ = Double(6);
  } else {
    switch (Byte(6)) {
      case 1: result_ = Byte(8) != 0; break;
      case 2: result_ = TxlsErrorValue{Byte(8)}; break;
      default: result_ = WideString(); break;
    }
    awaitsString_ = Byte(6) == 0;
  }
  const size_t length = Word(20);
  if (22 + length > DataSize()) RaiseInvalidRecord(id);
  tokens_.assign(Data().begin() + 22, Data().begin() + 22 + static_cast<ptrdiff_t>(length));
}

WideString TbiffFormula::GetAsString() const {
  if (const WideString* text = std::get_if<WideString>(&result_)) return *text;
  if (const double* d = std::get_if<double>(&result_)) return NumberText(*d);
  if (const bool* b = std::get_if<bool>(&result_)) return *b ? u"TRUE" : u"FALSE";
  if (const TxlsErrorValue* e = std::get_if<TxlsErrorValue>(&result_))
    return StringToWideStringNoCodePage(ErrCodeToString(e->Code));
  return {};
}

double TbiffFormula::GetAsFloat() const {
  if (const double* d = std::get_if<double>(&result_)) return *d;
  RaiseAccess("Float");
}

bool TbiffFormula::GetAsBoolean() const {
  if (const bool* b = std::get_if<bool>(&result_)) return *b;
  RaiseAccess("Boolean");
}

// The body with the result stored, and marked to be calculated again when opened.
std::vector<uint8_t> TbiffFormula::ResultBody() const {
  std::vector<uint8_t> body(Data().begin(), Data().end());
  if (const double* d = std::get_if<double>(&result_)) {
    SetDouble(body, 6, *d);
  } else {
    for (size_t i = 6; i < 14; ++i) body[i] = 0;
    SetWord(body, 12, 0xFFFF);
    if (const bool* b = std::get_if<bool>(&result_)) {
      body[6] = 1;
      body[8] = *b ? 1 : 0;
    } else if (const TxlsErrorValue* e = std::get_if<TxlsErrorValue>(&result_)) {
      body[6] = 2;
      body[8] = e->Code;
    } else {
      const WideString* text = std::get_if<WideString>(&result_);
      body[6] = text != nullptr && !text->empty() ? 0 : 3;
    }
  }
  body[14] |= 2;
  SetInteger(body, 16, 0);
  return body;
}

// The STRING record's body and its continuations: a text longer than one record goes on in
// CONTINUE records that each open with the option byte, as a split string does.
std::vector<std::vector<uint8_t>> TbiffFormula::StringBodies() const {
  const WideString* text = std::get_if<WideString>(&result_);
  if (text == nullptr || text->empty()) return {};
  std::vector<std::vector<uint8_t>> bodies(1);
  AppendWord(bodies.back(), static_cast<uint16_t>(std::min<size_t>(text->size(), 0xFFFF)));
  AppendByte(bodies.back(), 1);
  for (size_t i = 0; i < text->size() && i < 0xFFFF; ++i) {
    if (bodies.back().size() + 2 > biff::kMaxRecordBody) {
      bodies.emplace_back();
      AppendByte(bodies.back(), 1);
    }
    AppendWord(bodies.back(), (*text)[i]);
  }
  return bodies;
}

void TbiffFormula::Save(TxlsStream* stream) const {
  if (stream == nullptr) return;
  const std::vector<uint8_t> body = ResultBody();
  stream->WriteWord(Id());
  stream->WriteWord(static_cast<uint16_t>(body.size()));
  stream->Write(body);
  SaveContinues(*stream);
  for (const auto& record : companions_) record->Save(stream);
  const std::vector<std::vector<uint8_t>> text = StringBodies();
  for (size_t i = 0; i < text.size(); ++i) {
    stream->WriteWord(i == 0 ? kStringId : biff::kContinue);
    stream->WriteWord(static_cast<uint16_t>(text[i].size()));
    stream->Write(text[i]);
  }
}

uint64_t TbiffFormula::GetTotalSize() const {
  uint64_t total = 4 + DataSize() + ContinuesTotalSize();
  for (const auto& record : companions_) total += record->GetTotalSize();
  for (const auto& body : StringBodies()) total += 4 + body.size();
  return total;
}

TbiffString::TbiffString(TxlsSection* section, uint16_t id, std::vector<uint8_t> data)
    : TbiffRecord(section, id, std::move(data)) {
  if (DataSize() < 3) RaiseInvalidRecord(id);
}

WideString TbiffString::GetValue() const {
  TxlsRecordCursor cursor(*this, 0);
  return TxlsString(true, cursor).GetValue();
}

TbiffShrFmla::TbiffShrFmla(TxlsSection* section, uint16_t id, std::vector<uint8_t> data)
    : TbiffRecord(section, id, std::move(data)) {
  if (DataSize() < 10) RaiseInvalidRecord(id);
}

TbiffName::TbiffName(TxlsSection* section, uint16_t id, std::vector<uint8_t> data)
    : TbiffRecord(section, id, std::move(data)) {
  if (DataSize() < 15 || 14 + GetNameSize() > DataSize()) RaiseInvalidRecord(id);
}

WideString TbiffName::GetName() const { return GetChars(15, NameLength(), (OptionFlags() & 1) != 0); }

int TbiffName::AreaField(size_t at) const {
  const size_t token = 14 + GetNameSize();
  if (token >= DataSize()) return -1;
  const uint8_t kind = Byte(token);
  if (kind != 0x3B && kind != 0x5B && kind != 0x7B) return -1;
  if (at + GetNameSize() + 2 > DataSize()) return -1;
  return Word(at + GetNameSize());
}

TbiffMultiple::TbiffMultiple(TxlsSection* section, uint16_t id, std::vector<uint8_t> data, size_t itemSize)
    : TbiffRecord(section, id, std::move(data)), itemSize_(itemSize) {
  if (DataSize() < 6) RaiseInvalidRecord(id);
  count_ = (DataSize() - 6) / itemSize;
}

// The next cell's body: the row, its column, then its item (an XF, or an XF and an RK value).
std::vector<uint8_t> TbiffMultiple::NextBody() {
  const size_t col = Word(2) + cursor_;
  if (col > 255) RaiseInvalidColumn(static_cast<int>(col));
  std::vector<uint8_t> body(4 + itemSize_);
  SetWord(body, 0, Word(0));
  SetWord(body, 2, static_cast<uint16_t>(col));
  for (size_t i = 0; i < itemSize_; ++i) body[4 + i] = Byte(4 + itemSize_ * cursor_ + i);
  ++cursor_;
  return body;
}

std::unique_ptr<TbiffCell> TbiffMulBlank::GetCell() {
  if (GetEOF()) return nullptr;
  return std::make_unique<TbiffBlank>(Section(), 0x0201, NextBody());
}

std::unique_ptr<TbiffCell> TbiffMulRK::GetCell() {
  if (GetEOF()) return nullptr;
  return std::make_unique<TbiffRK>(Section(), 0x027E, NextBody());
}

}  // namespace vantrix
