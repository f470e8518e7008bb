#pragma once
// What the instrument streams while register 7 bit 6 is set: one text record per sampling
// period, "#f0;f1;f2;f3;f4;TIME" and CR LF, from the registers as they stand. The values are
// those of a function 3 read in their units (f0 as read, the channels with their decimals,
// the internal channel in tenths, the counter as counted); a value the instrument does not
// convert is an empty field. TIME is the instrument's own clock in milliseconds.
#include <array>
#include <cstdint>
#include <string>

#include "tools/sim/register_map.h"
#include "tools/sim/stream_fault.h"

namespace sim {

inline constexpr uint16_t kStreamingBit = 0x40;

bool StreamingOn(const RegisterMap& map);

// The sampling period in milliseconds: the conversions the configuration asks for, each at
// the rate of register 7 bits 0..3.
double StreamPeriodMs(const RegisterMap& map);

StreamFields StreamFieldTexts(const RegisterMap& map, char decimalMark);

// "#" + fields each ended by ";" + time + "\r\n".
std::string StreamRecordText(const StreamFields& fields, uint32_t time);

// A signed integer written with `decimals` decimals: -5 with 1 gives "-0.5".
std::string FixedPointText(long value, int decimals, char decimalMark);

}  // namespace sim
