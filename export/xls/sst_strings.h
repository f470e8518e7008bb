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
  uint32_t UniqueCount() const { return static_cast<uint32_t>(counts_.size()); }
  std::u16string_view Value(uint32_t index) const;
  // How many AddString calls gave this index.
  uint32_t Count(uint32_t index) const { return counts_.at(index); }
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

  std::vector<char16_t> chars_;    // every distinct text, one after another
  std::vector<uint64_t> starts_;   // where each text begins in chars_; one more entry at the end
  std::vector<uint32_t> counts_;
  std::vector<uint32_t> hashes_;
  std::vector<uint32_t> slots_;    // open addressing: index + 1, 0 empty
  uint32_t totalCount_ = 0;
  Layout layout_;
  std::vector<uint32_t> closedChunks_;
};

}  // namespace vantrix
