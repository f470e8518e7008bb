#include "export/xls/sst_read.h"

#include <algorithm>

#include "export/xls/xls_record_reader.h"
#include "export/xls/xls_stream.h"

namespace vantrix {

TxlsString::TxlsString(bool longLength, TxlsRecordCursor& cursor) : longLength_(longLength) {
  const size_t length = longLength ? cursor.ReadWord() : cursor.ReadByte();
  options_ = cursor.ReadByte();
  const size_t runCount = GetHasRichText() ? cursor.ReadWord() : 0;
  const uint32_t farEastSize = GetFarEast() ? cursor.ReadInteger() : 0;
  value_ = cursor.ReadStr(length, GetHasWideChar());
  // Characters that went on in UTF-16 after a record break are saved as UTF-16 throughout.
  if (std::any_of(value_.begin(), value_.end(), [](char16_t c) { return c > 0xFF; })) options_ |= 1;
  // What the string still claims is read piece by piece, so a false size ends in a read
  // error, never in a huge allocation.
  const auto take = [&cursor](std::vector<uint8_t>& into, uint64_t count) {
    while (count > 0) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(count, 8224));
      const size_t at = into.size();
      into.resize(at + n);
      cursor.ReadMem(into.data() + at, n);
      count -= n;
    }
  };
  take(runs_, 4 * static_cast<uint64_t>(runCount));
  take(farEast_, farEastSize);
}

TxlsString::TxlsString(bool longLength, std::u16string_view text) : longLength_(longLength) {
  if (!longLength && text.size() > 255) throw ExlsFileError("Invalid String record");
  if (text.size() > 0xFFFF) throw ExlsFileError("Invalid String record");
  options_ = longLength ? 1 : 0;
  value_.assign(text);
}

size_t TxlsString::HeaderSize() const {
  return GetLenOfLen() + 1 + (GetHasRichText() ? 2 : 0) + (GetFarEast() ? 4 : 0);
}

uint64_t TxlsString::GetTotalSize() const {
  return HeaderSize() + static_cast<uint64_t>(value_.size()) * GetCharSize() + runs_.size() + farEast_.size();
}

int TxlsString::Compare(const TxlsString& other) const {
  if (GetLenOfLen() != other.GetLenOfLen()) return GetLenOfLen() < other.GetLenOfLen() ? -1 : 1;
  if (options_ != other.options_) return options_ < other.options_ ? -1 : 1;
  const int c = value_.compare(other.value_);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

std::vector<uint8_t> TxlsString::Bytes() const {
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(GetTotalSize()));
  if (longLength_) AppendWord(out, Length());
  else AppendByte(out, static_cast<uint8_t>(Length()));
  AppendByte(out, options_);
  if (GetHasRichText()) AppendWord(out, static_cast<uint16_t>(runs_.size() / 4));
  if (GetFarEast()) AppendInteger(out, static_cast<uint32_t>(farEast_.size()));
  for (const char16_t c : value_) {
    if (GetHasWideChar()) AppendWord(out, c);
    else AppendByte(out, static_cast<uint8_t>(c));
  }
  out.insert(out.end(), runs_.begin(), runs_.end());
  out.insert(out.end(), farEast_.begin(), farEast_.end());
  return out;
}

void TxlsString::Save(TxlsStream& stream) const {
  if (GetLenOfLen() != 1 && GetLenOfLen() != 2) throw ExlsFileError("LenOfLen should be 1 or 2");
  stream.Write(Bytes());
}

void TxlsSSTEntry::Save(TxlsStream& stream, uint64_t recordStart) {
  AbsStreamPos = stream.Position();
  RecordStreamPos = AbsStreamPos - recordStart;
  value_->Save(stream);
}

TxlsSSTIndex::TxlsSSTIndex(TbiffSSTList& owner) : owner_(owner) {}

void TxlsSSTIndex::Sort() {
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const TxlsSSTEntry* a, const TxlsSSTEntry* b) { return a->Value().Compare(b->Value()) < 0; });
  sorted_ = true;
}

bool TxlsSSTIndex::Find(const TxlsString& text, size_t& index) {
  if (!sorted_) Sort();
  const auto it = std::lower_bound(entries_.begin(), entries_.end(), &text,
                                   [](const TxlsSSTEntry* e, const TxlsString* t) { return e->Value().Compare(*t) < 0; });
  if (it != entries_.end() && (*it)->Value().Compare(text) == 0) {
    index = (*it)->Index;
    return true;
  }
  index = static_cast<size_t>(it - entries_.begin());
  return false;
}

void TxlsSSTIndex::Recreate() {
  entries_.clear();
  for (size_t i = 0; i < owner_.Count(); ++i) entries_.push_back(owner_[i]);
  Sort();
}

TbiffSST::TbiffSST(TxlsSection* section, uint16_t id, std::vector<uint8_t> data)
    : TbiffRecord(section, id, std::move(data)) {
  if (DataSize() < 8) throw ExlsFileError("Record with ID 0xfc is invalid");
  uniqueCount_ = Integer(4);
}

TbiffSSTList::TbiffSSTList() : index_(*this) {}

size_t TbiffSSTList::Add(std::unique_ptr<TxlsSSTEntry> entry) {
  entry->Index = static_cast<uint32_t>(Count());
  TxlsSSTEntry* added = entry.get();
  TxlsList<TxlsSSTEntry>::Add(std::move(entry));
  index_.Add(added);
  return added->Index;
}

void TbiffSSTList::Load(const TbiffSST& record) {
  TxlsRecordCursor cursor(record, 8);
  for (uint32_t i = 0; i < record.UniqueCount(); ++i) Add(std::make_unique<TxlsSSTEntry>(std::make_unique<TxlsString>(true, cursor)));
}

uint32_t TbiffSSTList::AddString(std::u16string_view text) {
  auto value = std::make_unique<TxlsString>(true, text);
  size_t index = 0;
  if (index_.Find(*value, index)) return static_cast<uint32_t>(index);
  return static_cast<uint32_t>(Add(std::make_unique<TxlsSSTEntry>(std::move(value))));
}

void TbiffSSTList::ClearEmptyEntries() {
  size_t kept = 0;
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->RefCount >= 1) items_[kept++] = std::move(items_[i]);
  const bool dropped = kept != items_.size();
  items_.resize(kept);
  for (size_t i = 0; i < items_.size(); ++i) {
    items_[i]->PosInTable = static_cast<uint32_t>(i);
    items_[i]->Index = static_cast<uint32_t>(i);
  }
  if (dropped) index_.Recreate();
}

TbiffSSTList::Layout TbiffSSTList::MakeLayout() const {
  constexpr size_t kMax = biff::kMaxRecordBody;
  Layout layout;
  layout.bodies.emplace_back();
  uint32_t references = 0;
  for (const auto& entry : items_) references += entry->RefCount;
  AppendInteger(layout.bodies.back(), references);
  AppendInteger(layout.bodies.back(), static_cast<uint32_t>(items_.size()));
  const auto room = [&layout] { return kMax - layout.bodies.back().size(); };
  for (const auto& entry : items_) {
    const TxlsString& value = entry->Value();
    const std::vector<uint8_t> bytes = value.Bytes();
    if (bytes.size() > room() && (bytes.size() <= kMax || room() < value.HeaderSize() + value.GetCharSize()))
      layout.bodies.emplace_back();
    layout.starts.emplace_back(layout.bodies.size() - 1, layout.bodies.back().size());
    if (bytes.size() <= room()) {
      layout.bodies.back().insert(layout.bodies.back().end(), bytes.begin(), bytes.end());
      continue;
    }
    // Longer than a record: the header, then as many whole characters as fit in each record,
    // each continuation opening with the option byte, then runs and far-east data anywhere.
    size_t at = value.HeaderSize();
    layout.bodies.back().insert(layout.bodies.back().end(), bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(at));
    const size_t width = value.GetCharSize();
    const size_t charsEnd = at + value.Length() * width;
    while (at < charsEnd) {
      if (room() < width) {
        layout.bodies.emplace_back();
        layout.bodies.back().push_back(value.GetHasWideChar() ? 1 : 0);
      }
      const size_t n = std::min(charsEnd - at, room() / width * width);
      layout.bodies.back().insert(layout.bodies.back().end(), bytes.begin() + static_cast<ptrdiff_t>(at),
                                  bytes.begin() + static_cast<ptrdiff_t>(at + n));
      at += n;
    }
    while (at < bytes.size()) {
      if (room() == 0) layout.bodies.emplace_back();
      const size_t n = std::min(bytes.size() - at, room());
      layout.bodies.back().insert(layout.bodies.back().end(), bytes.begin() + static_cast<ptrdiff_t>(at),
                                  bytes.begin() + static_cast<ptrdiff_t>(at + n));
      at += n;
    }
  }
  return layout;
}

uint64_t TbiffSSTList::GetTotalSize() const {
  uint64_t total = 0;
  for (const auto& body : MakeLayout().bodies) total += 4 + body.size();
  return total;
}

void TbiffSSTList::Save(TxlsStream& stream) {
  const Layout layout = MakeLayout();
  std::vector<uint64_t> recordStarts;
  uint64_t position = stream.Position();
  for (size_t r = 0; r < layout.bodies.size(); ++r) {
    recordStarts.push_back(position);
    stream.WriteWord(r == 0 ? biff::kSST : biff::kContinue);
    stream.WriteWord(static_cast<uint16_t>(layout.bodies[r].size()));
    stream.Write(layout.bodies[r]);
    position += 4 + layout.bodies[r].size();
  }
  for (size_t i = 0; i < items_.size(); ++i) {
    const auto [record, offset] = layout.starts[i];
    items_[i]->PosInTable = static_cast<uint32_t>(i);
    items_[i]->RecordStreamPos = 4 + offset;
    items_[i]->AbsStreamPos = recordStarts[record] + 4 + offset;
  }
}

uint16_t TbiffSSTList::ExtSSTBucketSize(uint16_t asked) const {
  constexpr size_t kMaxBuckets = 128;
  const size_t needed = (items_.size() + kMaxBuckets - 1) / kMaxBuckets;
  return static_cast<uint16_t>(std::min<size_t>(std::max<size_t>(asked > 0 ? asked : 8, needed), 0xFFFF));
}

// A table of more than 128 × 65,535 strings has only its first strings indexed.
size_t TbiffSSTList::ExtSSTBuckets(uint16_t bucketSize) const {
  return std::min<size_t>((items_.size() + bucketSize - 1) / bucketSize, 128);
}

std::vector<uint8_t> TbiffSSTList::ExtSSTBody(uint16_t asked) const {
  const uint16_t bucketSize = ExtSSTBucketSize(asked);
  std::vector<uint8_t> body;
  AppendWord(body, bucketSize);
  for (size_t bucket = 0; bucket < ExtSSTBuckets(bucketSize); ++bucket) {
    const TxlsSSTEntry& first = *items_[bucket * bucketSize];
    AppendInteger(body, static_cast<uint32_t>(first.AbsStreamPos));
    AppendWord(body, static_cast<uint16_t>(first.RecordStreamPos));
    AppendWord(body, 0);
  }
  return body;
}

uint64_t TbiffSSTList::ExtSSTTotalSize(uint16_t asked) const { return 4 + 2 + 8 * ExtSSTBuckets(ExtSSTBucketSize(asked)); }

}  // namespace vantrix
