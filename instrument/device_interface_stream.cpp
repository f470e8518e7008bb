// DeviceInterface: the instrument's streaming mode.
#include <optional>

#include "instrument/device_interface.h"
#include "instrument/device_regs_image.h"
#include "instrument/fast_mode_period.h"

namespace {

constexpr int32_t kStreamingBit = 0x40;  // DeviceConfig

}  // namespace

bool DeviceInterface::Streaming() const { return ready_ && (regs.DeviceConfig & kStreamingBit); }

bool DeviceInterface::SetStreamingBit(bool on) {
  if (!ready_) return false;
  if (static_cast<bool>(regs.DeviceConfig & kStreamingBit) == on) return true;
  const int32_t config = on ? (regs.DeviceConfig | kStreamingBit) : (regs.DeviceConfig & ~kStreamingBit);
  if (!WriteRegister(device::reg::kDeviceConfig, static_cast<uint16_t>(config & 0xFFFF))) return false;
  regs.DeviceConfig = config;
  // Text held from an earlier run belongs to another time base: a run starts afresh.
  stream_.Clear();
  return true;
}

bool DeviceInterface::EnableFastMode() { return SetStreamingBit(true); }

bool DeviceInterface::DisableFastMode() { return SetStreamingBit(false); }

uint16_t DeviceInterface::ReceiveStream() {
  if (!Streaming()) return 0;
  uint8_t bytes[stream::StreamBuffer::kCapacity];
  // Only what has already arrived: the caller is the window's timer and must never wait.
  while (stream_.Room() > 0) {
    const long n = ReadPortAvailable(bytes, stream_.Room());
    if (n <= 0) break;
    stream_.Append(std::span<const uint8_t>(bytes, static_cast<size_t>(n)));
  }
  const size_t records = stream_.CompleteRecords();
  return static_cast<uint16_t>(records > 0xFFFF ? 0xFFFF : records);
}

void DeviceInterface::DiscardStreamInput() {
  uint8_t bytes[stream::StreamBuffer::kCapacity];
  // Bounded: an instrument streams far slower than this drains.
  for (int reads = 0; reads < 64 && ReadPortAvailable(bytes, sizeof bytes) > 0; ++reads) {
  }
  stream_.Clear();
}

int DeviceInterface::ParseStreamRecords(int maxRecords, float* firstRow, uint32_t* times, int rowStride,
                                        float errorValue) {
  if (!Streaming() || maxRecords <= 0 || firstRow == nullptr || times == nullptr) return 0;
  std::optional<double> counterScale;
  if (device::HasCounterBlock(model_, regs.FirmwareVersionNumber)) counterScale = regs.Scale;
  const size_t rowStep = static_cast<size_t>(rowStride) * 5;
  size_t row = 0;
  return static_cast<int>(stream_.TakeRecords(
      static_cast<size_t>(maxRecords), errorValue, counterScale, [&](const stream::StreamRecord& record) {
        float* values = firstRow + row * rowStep;
        for (size_t i = 0; i < record.values.size(); ++i) values[i] = record.values[i];
        times[row] = record.time;
        ++row;
      }));
}

float DeviceInterface::GetFastModePeriod() const { return device::FastModePeriod(model_, regs); }
