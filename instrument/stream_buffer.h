#pragma once
// The text an instrument streams, collected between reads and taken apart into records.
// Whatever arrives, the buffer never freezes: zero bytes are dropped as they come, a full
// buffer without one complete record is cut back to where a record can still start, and a
// record that does not convert is consumed and counted, never left at the front.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "instrument/stream_record.h"

namespace stream {

class StreamBuffer {
 public:
  static constexpr size_t kCapacity = 2000;

  size_t Held() const { return held_; }
  size_t Room() const { return kCapacity - held_; }
  std::string_view Text() const { return std::string_view(text_.data(), held_); }
  void Clear() { held_ = 0; }

  // Appends received bytes without their zero bytes; bytes beyond the room are dropped.
  // A buffer left full without a complete record is cut back at once (see the class comment).
  void Append(std::span<const uint8_t> bytes);

  // Complete lines that hold a record start ("#"): what TakeRecords can consume.
  size_t CompleteRecords() const;

  // Consumes complete lines from the front until `maxRecords` records were delivered to
  // `sink` or no complete line is left. A line without "#" is dropped; in a line, text
  // before its last "#" is ignored. A record that does not convert is dropped and counted.
  // Returns the records delivered.
  size_t TakeRecords(size_t maxRecords, float errorValue, std::optional<double> counterScale,
                     const std::function<void(const StreamRecord&)>& sink);

  // Records dropped because they did not convert, since construction.
  uint64_t RejectedRecords() const { return rejected_; }

 private:
  void Consume(size_t bytes);
  void UnjamIfFull();

  std::array<char, kCapacity> text_{};
  size_t held_ = 0;
  uint64_t rejected_ = 0;
};

}  // namespace stream
