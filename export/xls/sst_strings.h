#pragma once
// The workbook's shared-string table as the writer fills it: every text cell refers to its
// text by an index into one table of distinct texts, numbered in order of first appearance.
// A history export adds hundreds of thousands of texts, so a text is found by hash, and the
// record plan (the SST record and its CONTINUE records) grows with each new text so that Save
// writes it in one pass.
//
// Texts are stored as UTF-16. A text too long for one record (more than 4,110 characters) is
// split between whole characters, each continuation opening with its option byte, as readers
// of the format expect; the record lengths written are always the lengths planned.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace vantrix {

class TxlsStream;

class TsstStrings {
 public:
  // The largest record body the table's records take.
  static constexpr uint32_t kMaxRecordBody = 8224;
  // The most characters a cell holds; a longer text is cut there (its count would not fit).
  static constexpr size_t kMaxTextLength = 32767;

  TsstStrings();

  // The text's index in the table, added when it is new; counts the reference either way.
  uint32_t AddString(std::u16string_view text);
  // The SST record (reference count, distinct count, the texts) and its CONTINUE records.
  void Save(TxlsStream& stream) const;

  uint32_t TotalCount() const { return totalCount_; }
  uint32_t UniqueCount() const { return static_cast<uint32_t>(entries_.size()); }
  std::u16string_view Value(uint32_t index) const;
  // How many AddString calls gave this index.
  uint32_t Count(uint32_t index) const;
  // The body length of each record Save writes, the SST's first.
  std::vector<uint32_t> ChunkSizes() const;
  // Every byte Save writes.
  uint64_t GetTotalSize() const;

 private:
  // Where the texts go in the records: how full the record being filled is.
  class Layout {
   public:
    // Walks a text of n characters into the records: calls close(size) when the record being
    // filled is closed and a CONTINUE begins, and piece(header, first, count) for each part
    // of the text placed (header: the part opens with the character count and option byte;
    // else it is a continuation opening with the option byte alone).
    template <class Close, class Piece>
    void Place(size_t n, Close&& close, Piece&& piece);
    uint32_t Used() const { return used_; }

   private:
    uint32_t used_ = 8;  // the SST's two counters
  };

  size_t Find(std::u16string_view text, uint64_t hash) const;
  void Grow();
  const char16_t* At(uint64_t at) const { return blocks_[at >> kBlockBits].get() + (at & (kBlockSize - 1)); }
  char16_t* At(uint64_t at) { return blocks_[at >> kBlockBits].get() + (at & (kBlockSize - 1)); }
  uint32_t Get32(uint64_t at) const {
    uint32_t v;
    std::memcpy(&v, At(at), 4);
    return v;
  }
  void Set32(uint64_t at, uint32_t v) { std::memcpy(At(at), &v, 4); }

  // Every distinct text in an arena of fixed blocks (never moved, so growing copies nothing),
  // in index order: its index, its reference count and its length (32 bits each, two code
  // units apiece), then its characters; an entry never spans two blocks. A lookup finds the
  // text and what it needs to answer in one place.
  static constexpr uint64_t kIndexAt = 0, kCountAt = 2, kLengthAt = 4, kEntryHeader = 6;
  static constexpr unsigned kBlockBits = 18;
  static constexpr uint64_t kBlockSize = uint64_t{1} << kBlockBits;
  std::vector<std::unique_ptr<char16_t[]>> blocks_;
  uint64_t arenaEnd_ = 0;  // where the next entry goes
  std::vector<uint64_t> entries_;  // where each text's entry begins, by index
  // Open addressing: the high half of the text's hash (which also picks the slot) above the
  // entry's place in the arena + 1; 0 is empty. With the hash in the slot a probe rarely looks
  // at another text, and growing the table reads no text.
  std::vector<uint64_t> slots_;
  uint32_t totalCount_ = 0;
  Layout layout_;
  std::vector<uint32_t> closedChunks_;
};

}  // namespace vantrix
