#include "app/environment_file.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "display/display_config_upgrade.h"
#include "platform/le_bytes.h"

namespace app {
namespace {

using namespace le_bytes;

constexpr size_t kVersionSize = 4;

namespace placement {
constexpr size_t kMaximized = 0;
constexpr size_t kLeft = 4;
constexpr size_t kTop = 8;
constexpr size_t kWidth = 12;
constexpr size_t kHeight = 16;
}  // namespace placement

namespace readings {
constexpr size_t kErrorValue = 0;
constexpr size_t kHistoryOn = 4;
constexpr size_t kHistoryInterval = 8;
constexpr size_t kFastMode = 12;
constexpr size_t kFileName = 13;
constexpr size_t kFileNameField = 501;  // the name and its terminating zero
constexpr size_t kTriggerOn = 514;
constexpr size_t kComparison = 515;
constexpr size_t kLevel = 520;
constexpr size_t kSourceSerial = 528;
constexpr size_t kSourceIndex = 532;
}  // namespace readings

// A stored number that is not a number at all is taken as 0, so it never reaches a display
// or a comparison.
template <typename Real>
Real Finite(Real value) {
  return std::isfinite(value) ? value : Real(0);
}

// Up to the first zero byte of the field and never past it, nor past the longest name kept.
std::string FieldText(const uint8_t* field, size_t fieldSize) {
  const size_t limit = std::min(fieldSize, EnvironmentReadings::kMaxFileNameLength);
  size_t n = 0;
  while (n < limit && field[n] != 0) ++n;
  return std::string(reinterpret_cast<const char*>(field), n);
}

void Append(std::vector<uint8_t>& out, std::span<const uint8_t> bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

std::array<uint8_t, EnvironmentPlacement::kSize> EncodePlacement(const EnvironmentPlacement& p) {
  std::array<uint8_t, EnvironmentPlacement::kSize> b{};
  PutU8(b.data(), placement::kMaximized, p.maximized ? 1 : 0);
  PutI32(b.data(), placement::kLeft, p.left);
  PutI32(b.data(), placement::kTop, p.top);
  PutI32(b.data(), placement::kWidth, p.width);
  PutI32(b.data(), placement::kHeight, p.height);
  return b;
}

EnvironmentPlacement DecodePlacement(const uint8_t* b) {
  EnvironmentPlacement p;
  p.maximized = GetU8(b, placement::kMaximized) == 1;
  p.left = GetI32(b, placement::kLeft);
  p.top = GetI32(b, placement::kTop);
  p.width = GetI32(b, placement::kWidth);
  p.height = GetI32(b, placement::kHeight);
  return p;
}

std::array<uint8_t, EnvironmentReadings::kSize> EncodeReadings(const EnvironmentReadings& r) {
  std::array<uint8_t, EnvironmentReadings::kSize> b{};
  uint8_t* p = b.data();
  PutF32(p, readings::kErrorValue, r.errorValue);
  PutU8(p, readings::kHistoryOn, r.historyOn ? 1 : 0);
  PutI32(p, readings::kHistoryInterval, r.historyIntervalMs);
  PutU8(p, readings::kFastMode, r.fastMode ? 1 : 0);
  // The name ends at its first zero byte, if it holds one, and always leaves room for the
  // terminating zero of its field.
  const std::string& name = r.historyFileName;
  const size_t length = std::min({name.find('\0'), name.size(), EnvironmentReadings::kMaxFileNameLength});
  std::copy_n(name.begin(), length, b.begin() + readings::kFileName);
  PutU8(p, readings::kTriggerOn, r.triggerOn ? 1 : 0);
  PutU8(p, readings::kComparison, r.triggerComparison);
  PutF64(p, readings::kLevel, r.triggerLevel);
  PutU32(p, readings::kSourceSerial, r.triggerSourceSerial);
  PutU8(p, readings::kSourceIndex, r.triggerSourceIndex);
  return b;
}

EnvironmentReadings DecodeReadings(const uint8_t* p, bool hasTrigger) {
  EnvironmentReadings r;
  r.errorValue = Finite(GetF32(p, readings::kErrorValue));
  r.historyOn = GetU8(p, readings::kHistoryOn) != 0;
  r.historyIntervalMs = GetI32(p, readings::kHistoryInterval);
  r.fastMode = GetU8(p, readings::kFastMode) != 0;
  if (!hasTrigger) {
    // The name runs to the end of the older record; the trigger keeps its defaults (off).
    r.historyFileName =
        FieldText(p + readings::kFileName, EnvironmentReadings::kSizeBeforeTrigger - readings::kFileName);
    return r;
  }
  r.historyFileName = FieldText(p + readings::kFileName, readings::kFileNameField);
  r.triggerOn = GetU8(p, readings::kTriggerOn) != 0;
  r.triggerComparison = GetU8(p, readings::kComparison) != 0 ? 1 : 0;
  r.triggerLevel = Finite(GetF64(p, readings::kLevel));
  r.triggerSourceSerial = GetU32(p, readings::kSourceSerial);
  r.triggerSourceIndex = GetU8(p, readings::kSourceIndex);
  return r;
}

}  // namespace

std::vector<uint8_t> EncodeEnvironment(const Environment& environment) {
  size_t size = kVersionSize + EnvironmentPlacement::kSize + EnvironmentReadings::kSize;
  for (const DisplayWindowRecord& w : environment.windows) {
    size += DisplayWindowRecord::kSize + w.config.chartChannels.size() * ChartChannelEntry::kSize;
  }
  std::vector<uint8_t> out;
  out.reserve(size);
  std::array<uint8_t, kVersionSize> version{};
  PutI32(version.data(), 0, kEnvironmentVersion);
  Append(out, version);
  Append(out, EncodePlacement(environment.mainWindow));
  Append(out, EncodeReadings(environment.readings));
  for (const DisplayWindowRecord& w : environment.windows) {
    Append(out, w.Encode());
    // The record's channel count is the size of this list for a chart, and other kinds have
    // no entries in the file.
    if (w.config.kind != DisplayKind::Chart) continue;
    for (const ChartChannelEntry& entry : w.config.chartChannels) Append(out, entry.Encode());
  }
  return out;
}

EnvironmentReadResult DecodeEnvironment(std::span<const uint8_t> bytes) {
  EnvironmentReadResult result;
  size_t at = 0;
  auto take = [&](size_t n) -> const uint8_t* {
    if (bytes.size() - at < n) return nullptr;
    const uint8_t* p = bytes.data() + at;
    at += n;
    return p;
  };

  const uint8_t* version = take(kVersionSize);
  if (version == nullptr) return result;
  result.version = GetI32(version, 0);
  if (result.version > kEnvironmentVersion) {
    result.status = EnvironmentReadStatus::kNewerVersion;
    return result;
  }
  const uint8_t* mainWindow = take(EnvironmentPlacement::kSize);
  if (mainWindow == nullptr) return result;
  const bool hasTrigger = result.version >= kEnvironmentTriggerVersion;
  const uint8_t* settings = take(hasTrigger ? EnvironmentReadings::kSize : EnvironmentReadings::kSizeBeforeTrigger);
  if (settings == nullptr) return result;
  Environment& env = result.environment;
  env.mainWindow = DecodePlacement(mainWindow);
  env.readings = DecodeReadings(settings, hasTrigger);

  // Windows until the file ends; a tail shorter than a record is no window. A chart's entries
  // are taken one at a time while the file has them, so a count read from the file never
  // decides what is reserved.
  result.status = EnvironmentReadStatus::kOk;
  while (const uint8_t* record = take(DisplayWindowRecord::kSize)) {
    DisplayWindowRecord window =
        DisplayWindowRecord::Decode(std::span<const uint8_t, DisplayWindowRecord::kSize>(record, DisplayWindowRecord::kSize));
    UpgradeDisplayConfig(window.config, result.version);
    const uint32_t count = window.config.StoredChartChannelCount();
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* entry = take(ChartChannelEntry::kSize);
      if (entry == nullptr) {
        result.status = EnvironmentReadStatus::kEntriesCut;
        return result;
      }
      window.config.chartChannels.push_back(
          ChartChannelEntry::Decode(std::span<const uint8_t, ChartChannelEntry::kSize>(entry, ChartChannelEntry::kSize)));
    }
    env.windows.push_back(std::move(window));
  }
  return result;
}

}  // namespace app
