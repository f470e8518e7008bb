#include "export/xls/sst_strings.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "export/xls/biff_record.h"
#include "export/xls/xls_stream.h"

namespace vantrix {
namespace {

constexpr uint32_t kHeaderSize = 3;  // character count (16 bits) and option byte
constexpr uint32_t kOptionWide = 1;

uint64_t HashText(std::u16string_view text) {
  uint64_t h = 0x9E3779B97F4A7C15ull ^ text.size();
  size_t i = 0;
  for (; i + 4 <= text.size(); i += 4) {
    uint64_t v;
    std::memcpy(&v, text.data() + i, 8);
    h = (h ^ v) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 29;
  }
  for (; i < text.size(); ++i) {
    h = (h ^ text[i]) * 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 29;
  }
  return h ^ (h >> 32);
}

}  // namespace

template <class Close, class Piece>
void TsstStrings::Layout::Place(size_t n, Close&& close, Piece&& piece) {
  const uint64_t size = kHeaderSize + 2ull * n;
  if (used_ + size <= kMaxRecordBody) {
    piece(true, size_t{0}, n);
    used_ += static_cast<uint32_t>(size);
    return;
  }
  close(used_);
  if (size <= kMaxRecordBody) {
    piece(true, size_t{0}, n);
    used_ = static_cast<uint32_t>(size);
    return;
  }
  // Too long for any record: as many whole characters as fit after the header, then
  // continuations that open with the option byte.
  size_t count = (kMaxRecordBody - kHeaderSize) / 2;
  piece(true, size_t{0}, count);
  used_ = kHeaderSize + 2 * static_cast<uint32_t>(count);
  size_t done = count;
  while (done < n) {
    close(used_);
    count = std::min<size_t>(n - done, (kMaxRecordBody - 1) / 2);
    piece(false, done, count);
    used_ = 1 + 2 * static_cast<uint32_t>(count);
    done += count;
  }
}

TsstStrings::TsstStrings() : slots_(1024, 0) {}

size_t TsstStrings::Find(std::u16string_view text, uint64_t hash) const {
  const size_t mask = slots_.size() - 1;
  size_t slot = static_cast<size_t>(hash >> 32) & mask;
  const uint64_t high = hash & 0xFFFFFFFF00000000ull;
  for (;;) {
    const uint64_t entry = slots_[slot];
    if (entry == 0) return slot;
    if ((entry & 0xFFFFFFFF00000000ull) == high) {
      const uint64_t at = static_cast<uint32_t>(entry) - 1;
      if (Get32(at + kLengthAt) == text.size() &&
          std::memcmp(At(at + kEntryHeader), text.data(), 2 * text.size()) == 0)
        return slot;
    }
    slot = (slot + 1) & mask;
  }
}

void TsstStrings::Grow() {
  std::vector<uint64_t> slots(slots_.size() * 2, 0);
  const size_t mask = slots.size() - 1;
  for (const uint64_t entry : slots_) {
    if (entry == 0) continue;
    size_t slot = static_cast<size_t>(entry >> 32) & mask;
    while (slots[slot] != 0) slot = (slot + 1) & mask;
    slots[slot] = entry;
  }
  slots_.swap(slots);
}

uint32_t TsstStrings::AddString(std::u16string_view text) {
  if (text.size() > kMaxTextLength) text = text.substr(0, kMaxTextLength);
  ++totalCount_;
  const uint64_t hash = HashText(text);
  const size_t slot = Find(text, hash);
  if (slots_[slot] != 0) {
    const uint64_t at = static_cast<uint32_t>(slots_[slot]) - 1;
    Set32(at + kCountAt, Get32(at + kCountAt) + 1);
    return Get32(at + kIndexAt);
  }
  const uint64_t size = kEntryHeader + text.size();
  uint64_t at = arenaEnd_;
  if ((at >> kBlockBits) >= blocks_.size() || (at & (kBlockSize - 1)) + size > kBlockSize) {
    at = static_cast<uint64_t>(blocks_.size()) << kBlockBits;
    if (at + kBlockSize >= UINT32_MAX) throw std::length_error("Too many shared strings");
    blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(kBlockSize));
  }
  arenaEnd_ = at + size;
  const auto index = static_cast<uint32_t>(entries_.size());
  Set32(at + kIndexAt, index);
  Set32(at + kCountAt, 1);
  Set32(at + kLengthAt, static_cast<uint32_t>(text.size()));
  if (!text.empty()) std::memcpy(At(at + kEntryHeader), text.data(), 2 * text.size());
  entries_.push_back(at);
  slots_[slot] = (hash & 0xFFFFFFFF00000000ull) | (at + 1);
  if (entries_.size() * 4 > slots_.size() * 3) Grow();
  layout_.Place(
      text.size(), [this](uint32_t size) { closedChunks_.push_back(size); }, [](bool, size_t, size_t) {});
  return index;
}

std::u16string_view TsstStrings::Value(uint32_t index) const {
  const uint64_t at = entries_.at(index);
  return {At(at + kEntryHeader), Get32(at + kLengthAt)};
}

uint32_t TsstStrings::Count(uint32_t index) const { return Get32(entries_.at(index) + kCountAt); }

std::vector<uint32_t> TsstStrings::ChunkSizes() const {
  std::vector<uint32_t> sizes = closedChunks_;
  sizes.push_back(layout_.Used());
  return sizes;
}

uint64_t TsstStrings::GetTotalSize() const {
  uint64_t total = 4ull * (closedChunks_.size() + 1) + layout_.Used();
  for (uint32_t size : closedChunks_) total += size;
  return total;
}

void TsstStrings::Save(TxlsStream& stream) const {
  const std::vector<uint32_t> sizes = ChunkSizes();
  std::vector<uint8_t> record;
  record.reserve(kMaxRecordBody + 4);
  size_t next = 0;
  auto begin = [&](uint16_t id) {
    if (next >= sizes.size()) throw std::logic_error("Shared-string records beyond their plan");
    record.clear();
    AppendWord(record, id);
    AppendWord(record, static_cast<uint16_t>(sizes[next++]));
  };
  auto end = [&] {
    if (record.size() - 4 != sizes[next - 1]) throw std::logic_error("Shared-string record differs from its plan");
    stream.Write(record);
  };
  begin(biff::kSST);
  AppendInteger(record, totalCount_);
  AppendInteger(record, UniqueCount());
  Layout walk;
  for (uint32_t index = 0; index < entries_.size(); ++index) {
    const std::u16string_view text = Value(index);
    walk.Place(
        text.size(),
        [&](uint32_t) {
          end();
          begin(biff::kContinue);
        },
        [&](bool header, size_t first, size_t count) {
          if (header) AppendWord(record, static_cast<uint16_t>(text.size()));
          AppendByte(record, kOptionWide);
          const size_t at = record.size();
          record.resize(at + 2 * count);
          for (size_t i = 0; i < count; ++i) {
            const char16_t c = text[first + i];
            record[at + 2 * i] = static_cast<uint8_t>(c);
            record[at + 2 * i + 1] = static_cast<uint8_t>(c >> 8);
          }
        });
  }
  end();
  if (next != sizes.size()) throw std::logic_error("Shared-string records short of their plan");
}

}  // namespace vantrix
