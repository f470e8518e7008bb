#pragma once
// The tervana-sim command line.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/sim/simulated_instrument.h"

namespace sim {

struct CommandLine {
  CommandLine() { instrument.animate = true; }  // a user trying the program wants moving values

  InstrumentOptions instrument;
  std::string portFolder;  // empty: TERVANA_PORT_DIR, else ./ports
  int comNumber = 1;
  std::vector<FaultSpec> faults;
  std::vector<StreamFault> streamFaults;
  std::vector<std::pair<uint16_t, uint16_t>> holdingValues;
  std::vector<std::pair<uint16_t, uint16_t>> calibrationValues;
  bool quiet = false;
  bool help = false;
};

// Nothing and an error text when an argument cannot be read.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string* error);

std::string UsageText();

}  // namespace sim
