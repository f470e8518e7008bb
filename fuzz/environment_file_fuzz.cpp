// The environment file as the program reads it: any bytes decode without reading past them,
// holding no more windows and entries than the bytes can carry; what is read is within the
// record's own rules (finite numbers, a file name of at most 500 characters without a zero
// byte); and what the program writes back reads again as the same workspace.
#include <cmath>
#include <span>

#include "app/environment_file.h"
#include "fuzz/fuzz_target.h"
#include "platform/le_bytes.h"

namespace {

void CheckSameWorkspace(const app::Environment& a, const app::Environment& b) {
  FUZZ_CHECK(a.mainWindow == b.mainWindow);
  FUZZ_CHECK(a.readings == b.readings);
  FUZZ_CHECK(a.windows.size() == b.windows.size());
  for (size_t i = 0; i < a.windows.size(); ++i) {
    FUZZ_CHECK(a.windows[i].Encode() == b.windows[i].Encode());
    FUZZ_CHECK(a.windows[i].config.chartChannels == b.windows[i].config.chartChannels);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const app::EnvironmentReadResult read = app::DecodeEnvironment(std::span<const uint8_t>(data, size));
  if (read.status == app::EnvironmentReadStatus::kRecordShort || read.status == app::EnvironmentReadStatus::kNewerVersion) {
    FUZZ_CHECK(read.environment.windows.empty());
    return 0;
  }
  const app::Environment& env = read.environment;
  const app::EnvironmentReadings& r = env.readings;
  FUZZ_CHECK(std::isfinite(r.errorValue) && std::isfinite(r.triggerLevel));
  FUZZ_CHECK(r.historyFileName.size() <= app::EnvironmentReadings::kMaxFileNameLength);
  FUZZ_CHECK(r.historyFileName.find('\0') == std::string::npos);
  FUZZ_CHECK(r.triggerComparison <= 1);
  size_t carried = 0;
  for (const DisplayWindowRecord& w : env.windows) {
    carried += DisplayWindowRecord::kSize + w.config.chartChannels.size() * ChartChannelEntry::kSize;
    if (w.config.kind != DisplayKind::Chart) FUZZ_CHECK(w.config.chartChannels.empty());
  }
  FUZZ_CHECK(carried <= size);

  // Written back and read again: the same workspace, and the bytes settle after one round.
  const std::vector<uint8_t> written = app::EncodeEnvironment(env);
  const app::EnvironmentReadResult again = app::DecodeEnvironment(written);
  FUZZ_CHECK(again.status == app::EnvironmentReadStatus::kOk);
  FUZZ_CHECK(again.version == app::kEnvironmentVersion);
  CheckSameWorkspace(env, again.environment);
  FUZZ_CHECK(app::EncodeEnvironment(again.environment) == written);
  return 0;
}

std::vector<fuzz::CraftedInput> fuzz::CraftedInputs() {
  // The version and the two records, then a chart announcing four billion entries with one.
  std::string bytes(4 + 20 + 536 + DisplayWindowRecord::kSize + ChartChannelEntry::kSize, '\0');
  auto* p = reinterpret_cast<uint8_t*>(bytes.data());
  le_bytes::PutI32(p, 0, app::kEnvironmentVersion);
  const size_t config = 4 + 20 + 536 + DisplayWindowRecord::kConfigOffset;
  le_bytes::PutU32(p, config, 1);
  le_bytes::PutU32(p, config + 64, 0xFFFFFFFFu);
  // And a hundred thousand small windows after an old readings record.
  std::string many(4 + 20 + 516, '\0');
  many[0] = 0x65;
  std::string window(DisplayWindowRecord::kSize, '\0');
  window[DisplayWindowRecord::kConfigOffset] = 3;
  for (int i = 0; i < 100000; ++i) many += window;
  return {{"a chart announcing 4,294,967,295 entries and holding one", bytes},
          {"100,000 windows in a version-0x65 file", many}};
}
