#include "export/xls/xls_record_reader.h"

#include <algorithm>
#include <cstring>

namespace vantrix {

bool TxlsReadStream::PeekHeader(uint16_t& id, uint16_t& size) const {
  if (position_ > bytes_.size() || bytes_.size() - position_ < 4) return false;
  id = GetWord(bytes_, position_);
  size = GetWord(bytes_, position_ + 2);
  return true;
}

void TxlsReadStream::ReadRecord(uint16_t& id, std::vector<uint8_t>& body) {
  uint16_t size = 0;
  if (!PeekHeader(id, size)) throw ExlsFileError(kErrorReadingRecords);
  if (size > biff::kMaxRecordBody || bytes_.size() - position_ - 4 < size) throw ExlsFileError(kErrorReadingRecords);
  const uint8_t* from = bytes_.data() + position_ + 4;
  body.assign(from, from + size);
  position_ += 4u + size;
}

uint64_t GetStrLen(TxlsConstBytes data, size_t index, bool longLength, int knownLength) {
  uint64_t header = 1;
  uint64_t chars = 0;
  if (knownLength >= 0) {
    chars = static_cast<uint64_t>(knownLength);
  } else if (longLength) {
    chars = GetWord(data, index);
    header += 2;
  } else {
    chars = GetByte(data, index);
    header += 1;
  }
  const uint8_t options = GetByte(data, index + header - 1);
  uint64_t runs = 0, farEast = 0;
  if ((options & 8) != 0) {
    runs = GetWord(data, index + header);
    header += 2;
  }
  if ((options & 4) != 0) {
    farEast = GetInteger(data, index + header);
    header += 4;
  }
  return header + chars * ((options & 1) != 0 ? 2 : 1) + 4 * runs + farEast;
}

TxlsRecordCursor::TxlsRecordCursor(const TbiffRecord& record, size_t position)
    : current_(&record), position_(std::min(position, record.DataSize())) {}

bool TxlsRecordCursor::NextRecord() {
  const TbiffRecord* next = current_->Continue();
  if (next == nullptr) return false;
  current_ = next;
  position_ = 0;
  return true;
}

void TxlsRecordCursor::ReadMem(void* out, size_t count) {
  auto* to = static_cast<uint8_t*>(out);
  while (count > 0) {
    // An empty continuation holds nothing (and has no bytes to point at): go on past it.
    while (LeftInRecord() == 0)
      if (!NextRecord()) throw ExlsFileError(kErrorReadingRecord);
    const size_t n = std::min(count, LeftInRecord());
    if (to != nullptr) {
      std::memcpy(to, current_->Data().data() + position_, n);
      to += n;
    }
    position_ += n;
    count -= n;
  }
}

uint8_t TxlsRecordCursor::ReadByte() {
  uint8_t b = 0;
  ReadMem(&b, 1);
  return b;
}

uint16_t TxlsRecordCursor::ReadWord() {
  uint8_t b[2];
  ReadMem(b, 2);
  return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t TxlsRecordCursor::ReadInteger() {
  uint8_t b[4];
  ReadMem(b, 4);
  return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
         (static_cast<uint32_t>(b[3]) << 24);
}

WideString TxlsRecordCursor::ReadStr(size_t count, bool wide) {
  WideString out;
  // The characters are there or the read fails: no count from the file reserves more than
  // the chain can hold.
  out.reserve(std::min<size_t>(count, 8224));
  while (out.size() < count) {
    if (LeftInRecord() == 0) {
      if (!NextRecord()) throw ExlsFileError(kErrorReadingRecord);
      wide = (ReadByte() & 1) != 0;
      continue;
    }
    const size_t width = wide ? 2 : 1;
    const size_t available = LeftInRecord() / width;
    if (available == 0) throw ExlsFileError(kErrorReadingRecord);  // half a UTF-16 character
    const size_t n = std::min(count - out.size(), available);
    const uint8_t* from = current_->Data().data() + position_;
    for (size_t i = 0; i < n; ++i)
      out.push_back(wide ? static_cast<char16_t>(from[2 * i] | (from[2 * i + 1] << 8)) : static_cast<char16_t>(from[i]));
    position_ += n * width;
  }
  return out;
}

}  // namespace vantrix
