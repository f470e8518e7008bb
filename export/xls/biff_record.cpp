#include "export/xls/biff_record.h"

#include <algorithm>

#include "export/xls/xls_stream.h"

namespace vantrix {

TbiffRecord::TbiffRecord(TxlsSection* section, uint16_t id, std::vector<uint8_t> data)
    : section_(section), id_(id), data_(std::move(data)) {}

// A chain of continuations is taken apart one by one: a file may hold thousands of them, too
// many for one nested destructor call each.
TbiffRecord::~TbiffRecord() {
  if (OnDestroy) OnDestroy(*this);
  std::unique_ptr<TbiffContinue> next = std::move(continue_);
  while (next) {
    std::unique_ptr<TbiffContinue> after = std::move(next->continue_);
    next.reset();
    next = std::move(after);
  }
}

uint64_t TbiffRecord::BodyTotalSize() const {
  const uint64_t body = GetDataSize();
  const uint64_t limit = keepWhole_ ? biff::kMaxRecordBody : biff::kMaxChunk;
  const uint64_t records = body <= limit ? 1 : (body + limit - 1) / limit;
  return body + 4 * records;
}

uint64_t TbiffRecord::ContinuesTotalSize() const {
  uint64_t total = 0;
  for (const TbiffRecord* next = continue_.get(); next != nullptr; next = next->continue_.get())
    total += next->BodyTotalSize();
  return total;
}

uint64_t TbiffRecord::GetTotalSize() const { return BodyTotalSize() + ContinuesTotalSize(); }

void TbiffRecord::Save(TxlsStream* stream) const {
  if (stream == nullptr) return;
  SaveBody(*stream);
  SaveContinues(*stream);
}

void TbiffRecord::SaveContinues(TxlsStream& stream) const {
  for (const TbiffRecord* next = continue_.get(); next != nullptr; next = next->continue_.get())
    next->SaveBody(stream);
}

void TbiffRecord::SaveBody(TxlsStream& out) const {
  TxlsStream* stream = &out;
  const size_t total = GetDataSize();
  const size_t limit = keepWhole_ ? biff::kMaxRecordBody : biff::kMaxChunk;
  CheckByteRange(data_.size(), 0, total);
  size_t chunk = std::min(total, limit);
  stream->WriteWord(id_);
  stream->WriteWord(static_cast<uint16_t>(chunk));
  if (chunk > 0) stream->Write(data_.data(), chunk);
  size_t done = chunk;
  while (done < total) {
    chunk = std::min(total - done, limit);
    stream->WriteWord(biff::kContinue);
    stream->WriteWord(static_cast<uint16_t>(chunk));
    stream->Write(data_.data() + done, chunk);
    done += chunk;
  }
}

void TbiffRecord::Clear() { std::fill(data_.begin(), data_.end(), 0); }

void TbiffRecord::AddContinue(std::unique_ptr<TbiffContinue> record) {
  if (continue_) throw ExlsFileError("Trying to add more than one CONTINUE record to the same record");
  continue_ = std::move(record);
  chainEnd_ = continue_->chainEnd_;
}

void TbiffRecord::ChainContinue(std::unique_ptr<TbiffContinue> record) {
  TbiffContinue* added = record.get();
  chainEnd_->continue_ = std::move(record);
  chainEnd_ = added->chainEnd_;
}

WideString TbiffRecord::GetChars(size_t at, size_t count, bool wide) const {
  CheckByteRange(data_.size(), at, wide ? 2 * count : count);
  WideString out(count, u'\0');
  for (size_t i = 0; i < count; ++i) out[i] = wide ? static_cast<char16_t>(data_[at + 2 * i] | (data_[at + 2 * i + 1] << 8)) : data_[at + i];
  return out;
}

void TbiffRecord::SetChars(size_t at, size_t count, bool wide, std::u16string_view text) {
  CheckByteRange(data_.size(), at, wide ? 2 * count : count);
  for (size_t i = 0; i < count; ++i) {
    const char16_t c = i < text.size() ? text[i] : u'\0';
    if (wide) {
      data_[at + 2 * i] = static_cast<uint8_t>(c);
      data_[at + 2 * i + 1] = static_cast<uint8_t>(c >> 8);
    } else {
      data_[at + i] = static_cast<uint8_t>(c);
    }
  }
}

WideString TbiffFormat::Format() const {
  const uint8_t option = FormatOpt();
  if (option > 1) return {};
  return GetChars(5, FormatLen(), option == 1);
}

void TbiffFormat::SetFormat(std::u16string_view text) {
  const uint8_t option = FormatOpt();
  if (option > 1) return;
  SetChars(5, FormatLen(), option == 1, text);
}

TbiffSupbookInternal::TbiffSupbookInternal(TxlsSection* section, uint16_t id, std::vector<uint8_t> data)
    : TbiffRecord(section, id, std::move(data)) {
  SetWordAt(2, 0x0401);
}

TbiffSupbookInternal::TbiffSupbookInternal(uint16_t sheetCount)
    : TbiffSupbookInternal(nullptr, biff::kSupbook, std::vector<uint8_t>(4)) {
  SetSheetCount(sheetCount);
}

}  // namespace vantrix
