#include "tools/sim/fault_plan.h"

#include <algorithm>

#include "tools/sim/rtu_frame.h"

namespace sim {
namespace {

bool Touches(const RequestScope& scope, const FaultSpec& fault) {
  return scope.count > 0 && scope.calibration == fault.calibrationSpace &&
         fault.reg >= scope.first && uint32_t{fault.reg} < uint32_t{scope.first} + scope.count;
}

}  // namespace

void FaultPlan::Add(FaultSpec fault) {
  if (fault.count == 0) return;
  faults_.push_back(std::move(fault));
}

void FaultPlan::Clear() { faults_.clear(); }

ReplySpoiling FaultPlan::Take(const RequestScope& scope, uint8_t ownAddress) {
  ReplySpoiling result;
  for (FaultSpec& fault : faults_) {
    switch (fault.kind) {
      case FaultKind::Silence:
        result.silence = true;
        break;
      case FaultKind::Delay:
        result.delayMs = std::max(result.delayMs, fault.milliseconds);
        break;
      case FaultKind::Gap:
        result.gapAfterBytes = fault.gapAfterBytes;
        result.gapMs = std::max(result.gapMs, fault.milliseconds);
        break;
      case FaultKind::BadCrc:
        result.badCrc = true;
        break;
      case FaultKind::WrongAddress:
        result.address = fault.address != 0 ? fault.address : static_cast<uint8_t>(ownAddress + 1);
        break;
      case FaultKind::Exception:
        result.exception = fault.exceptionCode;
        break;
      case FaultKind::Noise:
        result.noise.insert(result.noise.end(), fault.noise.begin(), fault.noise.end());
        break;
      case FaultKind::RefuseRegister:
        if (!Touches(scope, fault)) continue;  // not spent on requests that leave it alone
        if (!result.exception) result.exception = fault.exceptionCode;
        break;
    }
    if (fault.count > 0) --fault.count;
  }
  std::erase_if(faults_, [](const FaultSpec& fault) { return fault.count == 0; });
  return result;
}

std::vector<OutgoingChunk> SpoilReply(std::vector<uint8_t> reply, const ReplySpoiling& spoiling) {
  if (spoiling.silence || reply.size() < 2) return {};
  if (spoiling.address) {
    reply.resize(reply.size() - 2);
    reply[0] = *spoiling.address;
    AppendCrc(reply);
  }
  if (spoiling.badCrc) {
    reply[reply.size() - 2] ^= 0xFF;
    reply[reply.size() - 1] ^= 0xFF;
  }
  std::vector<uint8_t> wire = spoiling.noise;
  wire.insert(wire.end(), reply.begin(), reply.end());

  std::vector<OutgoingChunk> chunks;
  size_t split = wire.size();
  if (spoiling.gapAfterBytes)
    split = spoiling.noise.size() + std::min(*spoiling.gapAfterBytes, reply.size());
  chunks.push_back({std::vector<uint8_t>(wire.begin(), wire.begin() + split), spoiling.delayMs,
                    wire});
  if (split < wire.size())
    chunks.push_back({std::vector<uint8_t>(wire.begin() + split, wire.end()), spoiling.gapMs,
                      std::nullopt});
  return chunks;
}

}  // namespace sim
