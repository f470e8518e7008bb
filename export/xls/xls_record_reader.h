#pragma once
// Reading BIFF8 records out of a workbook stream held in memory. Everything here treats the
// file as outside input: a header that promises more bytes than the stream has, or a string
// whose characters run past its record, raises instead of reading what is not there.
//
// A record's body may go on in any number of CONTINUE records; TxlsRecordCursor walks the body
// and its chain as one run of bytes, and reads strings the way they are split: a string's
// characters that go on in the next CONTINUE start there with a fresh option byte (8-bit or
// UTF-16 characters), while runs and far-east data simply go on.
#include <cstdint>
#include <memory>
#include <string>

#include "export/xls/biff_record.h"

namespace vantrix {

inline constexpr const char* kErrorReadingRecords = "Error reading Excel records. File invalid";
inline constexpr const char* kErrorReadingRecord = "Error reading record";

// The bytes of a "Workbook" stream and a position in them.
class TxlsReadStream {
 public:
  explicit TxlsReadStream(TxlsConstBytes bytes) : bytes_(bytes) {}
  size_t Position() const { return position_; }
  size_t Size() const { return bytes_.size(); }
  bool AtEnd() const { return position_ >= bytes_.size(); }
  // The id and body length of the record at the position, without moving; false when fewer
  // than four bytes are left.
  bool PeekHeader(uint16_t& id, uint16_t& size) const;
  // The record at the position (header and body), moving past it; raises the reading error
  // when the stream ends inside it or its body is longer than any record's.
  void ReadRecord(uint16_t& id, std::vector<uint8_t>& body);
  // The bytes from the position on.
  TxlsConstBytes Rest() const { return bytes_.subspan(position_); }
  void Seek(size_t position) { position_ = position < bytes_.size() ? position : bytes_.size(); }

 private:
  TxlsConstBytes bytes_;
  size_t position_ = 0;
};

// The byte length of a BIFF8 string at the index: its character count (1 or 2 bytes, or
// given when knownLength ≥ 0 and no count is stored), the option byte (bit 0: two bytes per
// character; bit 3: a 16-bit count of rich-text runs follows; bit 2: a 32-bit far-east length
// follows), the characters, 4 bytes per run and the far-east data. Raises when the header
// lies outside the data; the length itself may reach past it (the string then goes on).
uint64_t GetStrLen(TxlsConstBytes data, size_t index, bool longLength, int knownLength = -1);

// A reading position in a record's body and its chain of continuations.
class TxlsRecordCursor {
 public:
  TxlsRecordCursor(const TbiffRecord& record, size_t position);
  // count bytes into out (null skips them), going on into the next continuation as needed;
  // raises "Error reading record" when the chain ends first.
  void ReadMem(void* out, size_t count);
  uint8_t ReadByte();
  uint16_t ReadWord();
  uint32_t ReadInteger();
  // count characters, 8-bit or UTF-16 as wide says at the start; where they go on in the
  // next continuation, that record's first byte says again which they are. Raises
  // "Error reading record" when the chain ends first.
  WideString ReadStr(size_t count, bool wide);
  // Bytes left in the record being read (not counting later continuations).
  size_t LeftInRecord() const { return current_->DataSize() - position_; }

 private:
  bool NextRecord();
  const TbiffRecord* current_;
  size_t position_;
};

}  // namespace vantrix
