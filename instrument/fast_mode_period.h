#pragma once
// Time between two records of the instrument's streaming mode, from its configuration: the
// instrument converts each enabled input in turn (a Pt100 or a model-0 type 0 input twice),
// plus one conversion for the cold junction or the ambient channel, at a base rate. Pure.
#include <cstdint>

#include "instrument/device_regs.h"

namespace device {

// Milliseconds, as a 32-bit float.
float FastModePeriod(int32_t model, const DeviceRegs& regs);

}  // namespace device
