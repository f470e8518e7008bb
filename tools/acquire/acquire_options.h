#pragma once
// The tervana-acquire command line.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/run_interfaces.h"

namespace acquire {

struct AcquireOptions {
  std::string portFolder;  // empty: TERVANA_PORT_DIR or the default
  // One display window per entry: (serial number, value mask) pairs.
  std::vector<std::vector<std::pair<uint32_t, uint8_t>>> windows;
  acquisition::RunSettings settings;
  acquisition::ExistingFileChoice existing = acquisition::ExistingFileChoice::kAppend;
  double seconds = 0;  // 0: until SIGINT or SIGTERM
  bool echo = false;
  bool help = false;
};

// Nothing and an error text when an argument cannot be read.
std::optional<AcquireOptions> ParseAcquireOptions(const std::vector<std::string>& args, std::string* error);
std::string AcquireUsage();

}  // namespace acquire
