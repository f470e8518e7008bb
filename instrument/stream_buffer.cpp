#include "instrument/stream_buffer.h"

#include <cstring>

namespace stream {
namespace {

constexpr char kLineFeed = '\n';
constexpr char kRecordStart = '#';

}  // namespace

void StreamBuffer::Append(std::span<const uint8_t> bytes) {
  for (const uint8_t byte : bytes) {
    if (held_ == kCapacity) break;
    if (byte != 0) text_[held_++] = static_cast<char>(byte);
  }
  UnjamIfFull();
}

void StreamBuffer::UnjamIfFull() {
  if (held_ < kCapacity || CompleteRecords() > 0) return;
  const std::string_view text = Text();
  // No record is complete, so a record can only be starting after the last line end; without
  // a line end, at the last "#" (unless that is the front: a record never fills the buffer).
  size_t cut = text.rfind(kLineFeed);
  if (cut != std::string_view::npos) {
    ++cut;
  } else {
    cut = text.rfind(kRecordStart);
    if (cut == std::string_view::npos || cut == 0) cut = held_;
  }
  Consume(cut);
}

size_t StreamBuffer::CompleteRecords() const {
  const std::string_view text = Text();
  size_t count = 0;
  size_t lineStart = 0;
  while (lineStart < text.size()) {
    const size_t end = text.find(kLineFeed, lineStart);
    if (end == std::string_view::npos) break;
    if (text.substr(lineStart, end - lineStart).find(kRecordStart) != std::string_view::npos) ++count;
    lineStart = end + 1;
  }
  return count;
}

size_t StreamBuffer::TakeRecords(size_t maxRecords, float errorValue, std::optional<double> counterScale,
                                 const std::function<void(const StreamRecord&)>& sink) {
  const std::string_view text = Text();
  size_t taken = 0;
  size_t consumed = 0;
  while (taken < maxRecords && consumed < text.size()) {
    const size_t end = text.find(kLineFeed, consumed);
    if (end == std::string_view::npos) break;
    const std::string_view line = text.substr(consumed, end - consumed);
    consumed = end + 1;
    const size_t start = line.rfind(kRecordStart);
    if (start == std::string_view::npos) continue;
    const auto record = ParseStreamRecord(line.substr(start + 1), errorValue, counterScale);
    if (!record) {
      ++rejected_;
      continue;
    }
    sink(*record);
    ++taken;
  }
  Consume(consumed);
  return taken;
}

void StreamBuffer::Consume(size_t bytes) {
  if (bytes >= held_) {
    held_ = 0;
    return;
  }
  std::memmove(text_.data(), text_.data() + bytes, held_ - bytes);
  held_ -= bytes;
}

}  // namespace stream
