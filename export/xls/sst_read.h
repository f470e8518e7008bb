#pragma once
// The shared-string table of a workbook being read: the SST record's strings as entries that
// the text cells refer to (each counts its cells), an index to find a text among them, and
// the table written back with only the entries some cell still refers to.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "export/xls/biff_record.h"
#include "export/xls/col_info.h"

namespace vantrix {

class TxlsRecordCursor;
class TxlsStream;

// One BIFF8 string: its character count (1 or 2 bytes), options, characters, rich-text runs
// and far-east data, kept as read so that writing it back gives the same bytes.
class TxlsString {
 public:
  // Reads a string at the cursor, going on into the record's continuations.
  TxlsString(bool longLength, TxlsRecordCursor& cursor);
  // A text of ours: UTF-16 with a 2-byte count when longLength, else 8-bit with a 1-byte
  // count; a text longer than 255 characters then raises "Invalid String record".
  TxlsString(bool longLength, std::u16string_view text);

  uint8_t GetLenOfLen() const { return longLength_ ? 2 : 1; }
  uint16_t Length() const { return static_cast<uint16_t>(value_.size()); }
  uint8_t Options() const { return options_; }
  bool GetHasWideChar() const { return (options_ & 1) != 0; }
  uint8_t GetCharSize() const { return GetHasWideChar() ? 2 : 1; }
  bool GetFarEast() const { return (options_ & 4) != 0; }
  bool GetHasRichText() const { return (options_ & 8) != 0; }
  const WideString& GetValue() const { return value_; }
  uint64_t GetTotalSize() const;
  // By the count's width, then the options, then the text.
  int Compare(const TxlsString& other) const;
  void Save(TxlsStream& stream) const;
  // The string's bytes in a row, as Save writes them.
  std::vector<uint8_t> Bytes() const;
  // Bytes of the string before its characters: the count, the options, the run count and
  // the far-east length.
  size_t HeaderSize() const;

 private:
  bool longLength_;
  uint8_t options_ = 0;
  WideString value_;  // 8-bit characters widened without code page
  std::vector<uint8_t> runs_;
  std::vector<uint8_t> farEast_;
};

class TxlsSSTEntry {
 public:
  explicit TxlsSSTEntry(std::unique_ptr<TxlsString> value) : value_(std::move(value)) {}
  explicit TxlsSSTEntry(std::u16string_view text) : value_(std::make_unique<TxlsString>(true, text)) {}
  ~TxlsSSTEntry() {
    if (OnDestroy) OnDestroy(*this);
  }

  const TxlsString& Value() const { return *value_; }
  uint64_t GetTotalSize() const { return value_->GetTotalSize(); }
  void IncRef() { ++RefCount; }
  void DecRef() {
    if (RefCount > 0) --RefCount;
  }
  // Writes the string; notes where it went.
  void Save(TxlsStream& stream, uint64_t recordStart);

  uint32_t RefCount = 0;
  uint32_t PosInTable = 0;     // the index the last Save gave it
  uint64_t AbsStreamPos = 0;   // where the last Save wrote it
  uint64_t RecordStreamPos = 0;
  uint32_t Index = 0;          // its position when it was added
  std::function<void(TxlsSSTEntry&)> OnDestroy;

 private:
  std::unique_ptr<TxlsString> value_;
};

class TbiffSSTList;

// The entries in text order, to find a text among them.
class TxlsSSTIndex {
 public:
  explicit TxlsSSTIndex(TbiffSSTList& owner);
  void Add(TxlsSSTEntry* entry) {
    entries_.push_back(entry);
    sorted_ = false;
  }
  void Sort();
  bool Sorted() const { return sorted_; }
  // True and the entry's Index when the text is there; else false and where it would go.
  bool Find(const TxlsString& text, size_t& index);
  // Built again from the owner's entries.
  void Recreate();

 private:
  TbiffSSTList& owner_;
  std::vector<TxlsSSTEntry*> entries_;
  bool sorted_ = false;
};

// The SST record: its body is read by TbiffSSTList::Load.
class TbiffSST : public TbiffRecord {
 public:
  // Raises "Record with ID 0xfc is invalid" for a body shorter than its two counters.
  TbiffSST(TxlsSection* section, uint16_t id, std::vector<uint8_t> data);
  uint32_t UniqueCount() const { return uniqueCount_; }

 private:
  uint32_t uniqueCount_;
};

class TbiffSSTList : public TxlsList<TxlsSSTEntry> {
 public:
  TbiffSSTList();
  TxlsSSTIndex& SSTIndex() { return index_; }

  size_t Add(std::unique_ptr<TxlsSSTEntry> entry);
  // Text cells hold their entry: an entry leaves the table only through ClearEmptyEntries,
  // once no cell refers to it, or with the whole table after the sheets.
  void Delete(size_t) = delete;
  std::unique_ptr<TxlsSSTEntry> Extract(size_t) = delete;
  // The record's strings, as many as it says, from offset 8 on through its continuations.
  void Load(const TbiffSST& record);
  // The index of an equal entry, or of a new one made for the text.
  uint32_t AddString(std::u16string_view text);
  // Drops the entries no cell refers to any more and numbers the rest (PosInTable).
  void ClearEmptyEntries();
  uint64_t GetTotalSize() const;
  // The SST record and its CONTINUE records, entries numbered in order. An entry goes whole
  // into the record being filled when it fits there, else into the next; only a string
  // longer than a whole record is split, between characters, as the format allows.
  void Save(TxlsStream& stream);
  // The strings per EXTSST bucket for the table: the size asked (8 when none), raised so
  // that 128 buckets hold every string.
  uint16_t ExtSSTBucketSize(uint16_t asked) const;
  // The body of the EXTSST that indexes the table as the last Save wrote it: the bucket size,
  // then per bucket the stream position of its first string, that string's offset from the
  // start of the SST or CONTINUE record holding it, and 2 zero bytes.
  std::vector<uint8_t> ExtSSTBody(uint16_t asked) const;
  // The bytes of that EXTSST record, its header included.
  uint64_t ExtSSTTotalSize(uint16_t asked) const;

 private:
  size_t ExtSSTBuckets(uint16_t bucketSize) const;
  // The bodies Save writes (the SST's first), and where each entry starts: record, offset.
  struct Layout {
    std::vector<std::vector<uint8_t>> bodies;
    std::vector<std::pair<size_t, size_t>> starts;
  };
  Layout MakeLayout() const;
  TxlsSSTIndex index_;
};

}  // namespace vantrix
