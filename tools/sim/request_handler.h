#pragma once
// What the instrument does with one request addressed to it: carry it out on the register map
// and build the reply (normal or exception).
#include <cstdint>
#include <span>
#include <vector>

#include "tools/sim/fault_plan.h"
#include "tools/sim/register_map.h"

namespace sim {

// Modbus function codes the instrument serves.
enum FunctionCode : uint8_t {
  kReadHolding = 3,
  kWriteHolding = 6,
  kReadCalibration = 70,
  kWriteCalibration = 71,
};

// The registers a request (a complete frame with CRC) touches.
RequestScope ScopeOf(std::span<const uint8_t> request);

// Carries out the request and returns the reply frame with its CRC.
std::vector<uint8_t> HandleRequest(RegisterMap& map, std::span<const uint8_t> request);

}  // namespace sim
