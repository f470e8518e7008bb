#pragma once
// The faults waiting to be committed, and how they spoil one reply.
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/sim/injected_fault.h"

namespace sim {

// The registers one request touches, so a refused register can be recognised.
struct RequestScope {
  uint16_t first = 0;
  uint16_t count = 0;        // 0: the request touches no register
  bool calibration = false;  // functions 70 and 71
};

// Everything the active faults do to one reply.
struct ReplySpoiling {
  bool silence = false;
  std::optional<uint8_t> exception;  // replaces the reply (the request is not carried out)
  uint32_t delayMs = 0;
  std::optional<size_t> gapAfterBytes;
  uint32_t gapMs = 0;
  bool badCrc = false;
  std::optional<uint8_t> address;
  std::vector<uint8_t> noise;
};

class FaultPlan {
 public:
  void Add(FaultSpec fault);
  void Clear();
  bool Empty() const { return faults_.empty(); }
  // Applies the active faults to a request addressed to the instrument, counting them down.
  ReplySpoiling Take(const RequestScope& scope, uint8_t ownAddress);

 private:
  std::vector<FaultSpec> faults_;
};

// One piece of what goes out on the line.
struct OutgoingChunk {
  std::vector<uint8_t> bytes;
  uint32_t waitMs = 0;  // pause before it, after the request or the previous chunk
  std::optional<std::vector<uint8_t>> logAs;  // the whole reply, logged when this goes out
  // A streamed record: logged as such and written without waiting for room.
  bool stream = false;
};

// The reply as it will be sent: address swapped, CRC broken, noise in front, split at a gap.
std::vector<OutgoingChunk> SpoilReply(std::vector<uint8_t> reply, const ReplySpoiling& spoiling);

}  // namespace sim
