// Display records as the environment file holds them: the input is the file's version
// (4 bytes), one window record (152 bytes) and the chart channel entries after it (40 bytes
// each, as many as the record announces and the input holds). Decoding and re-encoding
// settle after one round, each kind's settings read back as written, the upgrade fills what
// older versions lacked, the channel rules stay within their ranges, and each chart entry
// gets exactly its own title.
#include <array>
#include <span>

#include "display/display_channels.h"
#include "display/display_config_upgrade.h"
#include "display/display_titles.h"
#include "display/display_window_record.h"
#include "fuzz/fuzz_target.h"
#include "platform/text_trim.h"

namespace {

template <typename Settings>
void CheckSettingsRoundTrip(const KindPart& part) {
  KindPart once = part;
  Settings::Read(part).WriteTo(once);
  KindPart twice = once;
  Settings::Read(once).WriteTo(twice);
  FUZZ_CHECK(once == twice);
}

std::array<uint8_t, DisplayWindowRecord::kSize> Reencoded(const std::array<uint8_t, DisplayWindowRecord::kSize>& bytes) {
  return DisplayWindowRecord::Decode(std::span<const uint8_t, DisplayWindowRecord::kSize>(bytes)).Encode();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputReader in(data, size);
  const int32_t version = in.Take<int32_t>();
  if (in.Left() < DisplayWindowRecord::kSize) return 0;
  const std::string_view recordBytes = in.TakeBytes(DisplayWindowRecord::kSize);
  std::array<uint8_t, DisplayWindowRecord::kSize> raw{};
  std::copy(recordBytes.begin(), recordBytes.end(), raw.begin());

  DisplayWindowRecord record = DisplayWindowRecord::Decode(std::span<const uint8_t, DisplayWindowRecord::kSize>(raw));
  DisplayConfig& config = record.config;
  const uint32_t announced = config.StoredChartChannelCount();
  if (config.kind != DisplayKind::Chart) FUZZ_CHECK(announced == 0);
  for (uint32_t i = 0; i < announced && in.Left() >= ChartChannelEntry::kSize; ++i) {
    const std::string_view entry = in.TakeBytes(ChartChannelEntry::kSize);
    std::array<uint8_t, ChartChannelEntry::kSize> entryBytes{};
    std::copy(entry.begin(), entry.end(), entryBytes.begin());
    const ChartChannelEntry decoded = ChartChannelEntry::Decode(std::span<const uint8_t, ChartChannelEntry::kSize>(entryBytes));
    FUZZ_CHECK(decoded.name.size() <= 23);
    FUZZ_CHECK(ChartChannelEntry::Decode(std::span<const uint8_t, ChartChannelEntry::kSize>(decoded.Encode())) == decoded);
    config.chartChannels.push_back(decoded);
  }
  FUZZ_CHECK(config.deviceTag.size() <= 10 && config.channelName.size() <= 10 && config.unit.size() <= 11);

  // One round settles the encoding.
  const auto once = Reencoded(raw);
  FUZZ_CHECK(Reencoded(once) == once);
  CheckSettingsRoundTrip<ChartSettings>(config.kindPart);
  CheckSettingsRoundTrip<LcdSettings>(config.kindPart);
  CheckSettingsRoundTrip<LedSettings>(config.kindPart);
  CheckSettingsRoundTrip<BarSettings>(config.kindPart);
  CheckSettingsRoundTrip<DialSettings>(config.kindPart);
  CheckSettingsRoundTrip<MeterSettings>(config.kindPart);

  UpgradeDisplayConfig(config, version);
  if (config.kind == DisplayKind::Chart && version < display_upgrade::kLineWidthVersion) FUZZ_CHECK(config.Chart().lineWidth == 1);
  if (config.kind == DisplayKind::LedDigits && version < display_upgrade::kLedBackgroundVersion)
    FUZZ_CHECK(config.Led().backColor == config.Led().offColor);
  const auto encoded = record.Encode();
  if (config.kind == DisplayKind::Chart) {
    const DisplayWindowRecord back = DisplayWindowRecord::Decode(std::span<const uint8_t, DisplayWindowRecord::kSize>(encoded));
    FUZZ_CHECK(back.config.StoredChartChannelCount() == config.chartChannels.size());
  }

  // The channels shown, their indexes in a run of those devices, and the window's titles.
  const std::vector<uint32_t> serials = DisplayedSerials(config);
  for (size_t i = 0; i < serials.size(); ++i) {
    FUZZ_CHECK(DisplayedValueMask(config, serials[i]) <= 0x1F);
    for (size_t j = 0; j < i; ++j) FUZZ_CHECK(serials[i] != serials[j]);
  }
  AssignChannelIndexes(config, serials);
  auto checkIndex = [](int32_t index, uint16_t valueIndex) {
    if (valueIndex > kMaxValueIndex) FUZZ_CHECK(index == kNoChannel);
    else if (index != kNoChannel) FUZZ_CHECK(index >= 0 && index < kNoChannel && index % kValuesPerDevice == valueIndex);
  };
  if (config.kind == DisplayKind::Chart) {
    for (const ChartChannelEntry& e : config.chartChannels) checkIndex(e.channelIndex, e.valueIndex);
  } else if (config.kind != DisplayKind::None) {
    checkIndex(config.channelIndex, config.valueIndex);
  }

  std::vector<DisplayDeviceInfo> devices;
  for (size_t i = 0; i < serials.size() && i < 3; ++i) {
    DisplayDeviceInfo d;
    d.serialNumber = serials[i];
    d.model = in.Take<uint8_t>() & 1 ? DisplayDeviceInfo::kModelLogger : DisplayDeviceInfo::kModelProbe;
    d.firmwareVersion = in.Take<uint8_t>() + 20;
    d.digitalInputConfig = in.Take<uint8_t>();
    d.channel1Config = in.Take<uint16_t>();
    d.decimalNumber = in.Take<int8_t>();
    d.tag = std::string(in.TakeBytes(in.Take<uint8_t>() % 16));
    d.channel1Tag = std::string(in.TakeBytes(in.Take<uint8_t>() % 16));
    d.channelUnits[0] = std::string(in.TakeBytes(in.Take<uint8_t>() % 16));
    devices.push_back(d);
  }
  const size_t entries = config.chartChannels.size();
  const WindowTitles titles = BuildWindowTitles(config, &devices, CounterResetTexts{});
  FUZZ_CHECK(config.chartChannels.size() == entries);
  // Each entry keeps its own title, whatever its name holds: one title per entry, each
  // holding the entry's name.
  if (config.kind == DisplayKind::Chart) {
    FUZZ_CHECK(titles.seriesTitles.size() == entries);
    for (size_t i = 0; i < entries; ++i)
      FUZZ_CHECK(titles.seriesTitles[i].find(platform::TrimBlanks(config.chartChannels[i].name.str())) != std::string::npos);
  } else {
    FUZZ_CHECK(titles.seriesTitles.size() == (config.kind == DisplayKind::None ? 0u : 1u));
  }
  return 0;
}

std::vector<fuzz::CraftedInput> fuzz::CraftedInputs() {
  // A chart that announces four billion entries and holds three.
  std::string bytes(4 + DisplayWindowRecord::kSize + 3 * ChartChannelEntry::kSize, '\x01');
  bytes[4 + DisplayWindowRecord::kConfigOffset] = 1;  // kind: chart
  for (int i = 1; i < 4; ++i) bytes[4 + DisplayWindowRecord::kConfigOffset + i] = 0;
  for (int i = 0; i < 4; ++i) bytes[4 + DisplayWindowRecord::kConfigOffset + 64 + i] = '\xFF';
  return {{"a chart announcing 4,294,967,295 entries", bytes}};
}
