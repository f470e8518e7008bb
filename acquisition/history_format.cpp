#include "acquisition/history_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "instrument/device_interface.h"
#include "instrument/live_values.h"
#include "platform/text_trim.h"

namespace acquisition {
namespace {

// Input types from 9 on are linear inputs whose decimals the configuration gives.
constexpr int32_t kFirstLinearInput = 9;

int ChannelDecimals(int32_t model, int32_t config) {
  // Only model 0 scales a linear input by its decimals; every other value has one decimal,
  // and printing fewer would drop a digit the instrument measured.
  if (model != device::kModelLogger || (config & 0x7F) < kFirstLinearInput) return 1;
  return (config >> 9) & 7;
}

int ValueDecimals(const DeviceRegs& regs, int32_t model, int j) {
  switch (j) {
    case 0: return 0;
    case 1: return ChannelDecimals(model, regs.Channel1.Config);
    case 2: return ChannelDecimals(model, regs.Channel2.Config);
    default: return 1;
  }
}

std::string TagOr(const std::string& tag, const std::string& fallback) {
  std::string trimmed = platform::TrimBlanks(tag);
  return trimmed.empty() ? fallback : trimmed;
}

void RemoveLastTwo(std::string& s) { s.resize(s.size() >= 2 ? s.size() - 2 : 0); }

void AppendTwoDigits(std::string& out, int value) {
  out.push_back(static_cast<char>('0' + value / 10 % 10));
  out.push_back(static_cast<char>('0' + value % 10));
}

}  // namespace

bool HasCounterValue(const DeviceRegs& regs, int32_t model) {
  return model == device::kModelLogger && regs.FirmwareVersionNumber >= device::kCounterFirmware;
}

std::string HistoryDeviceName(const DeviceRegs& regs) { return TagOr(regs.Tag, std::string(kDefaultDeviceName)); }

std::string HistoryValueName(const DeviceRegs& r, int32_t model, int valueIndex, const DefaultValueNames& defaults) {
  switch (valueIndex) {
    case 0: return TagOr(r.DigInputTag, defaults[3]);
    case 1: return TagOr(r.Channel1.Tag, defaults[0]);
    case 2: return TagOr(r.Channel2.Tag, defaults[1]);
    case 3: return TagOr(r.Channel3Tag, defaults[2]);
    case 4:
      if (!HasCounterValue(r, model)) return {};
      if (r.DigiTalInputConfig & 0x10) return defaults[4];
      if (r.DigiTalInputConfig & 0x20) return defaults[5];
      return defaults[6];
    default: return {};
  }
}

HistoryDevice DescribeHistoryDevice(const DeviceRegs& regs, int32_t model, uint8_t mask,
                                    const DefaultValueNames& defaults) {
  HistoryDevice d;
  d.name = HistoryDeviceName(regs);
  for (int j = 0; j < kValuesPerDevice; ++j) {
    if (!(mask & (1u << j))) continue;
    HistoryColumn c;
    c.valueIndex = j;
    c.name = HistoryValueName(regs, model, j, defaults);
    if (j >= 1 && j <= 3) c.unit = device::ChannelUnit(j, model, regs);
    c.decimals = ValueDecimals(regs, model, j);
    d.columns.push_back(std::move(c));
  }
  return d;
}

HistoryDevice DescribeHistoryDevice(const DeviceInterface& device, uint8_t mask, const DefaultValueNames& defaults) {
  return DescribeHistoryDevice(device.regs, device.GetDeviceModel(), mask, defaults);
}

std::string HeaderFieldText(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == ',') {
      c = ';';
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      c = ' ';
    }
  }
  return out;
}

HistoryHeader BuildHistoryHeader(const std::vector<HistoryDevice>& devices, bool newStart) {
  HistoryHeader h;
  if (devices.empty()) return h;
  h.deviceNames = h.valueNames = h.units = " , ";
  if (newStart) return h;
  for (const HistoryDevice& d : devices) {
    if (d.columns.empty()) continue;
    h.deviceNames += ", " + HeaderFieldText(d.name);
    h.valueNames += ", ";
    h.units += ", ";
    for (const HistoryColumn& c : d.columns) {
      h.valueNames += HeaderFieldText(c.name) + ", ";
      h.units += HeaderFieldText(c.unit) + ", ";
      h.deviceNames += ", ";
    }
    RemoveLastTwo(h.deviceNames);
    RemoveLastTwo(h.valueNames);
    RemoveLastTwo(h.units);
  }
  return h;
}

bool HeaderLineCounter::Take(std::string_view piece) {
  for (const char c : piece) {
    if (HeaderWhole()) break;
    if (c == '\n') {
      if (lineHasText_) ++lines_;
      lineHasText_ = false;
    } else if (static_cast<unsigned char>(c) > ' ') {
      lineHasText_ = true;
    }
  }
  return HeaderWhole();
}

std::string FormatFixed(double value, int decimals) {
  char text[400];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  if (ec != std::errc{}) return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  return std::string(text, end);
}

std::string FormatHistoryLine(TDateTime t, std::span<const float> values, const std::vector<HistoryDevice>& devices) {
  platform::DateParts date;
  platform::TimeParts time;
  platform::DecodeDateTime(t, date, time);
  std::string line;
  line.reserve(26 + 12 * 5 * devices.size());
  AppendTwoDigits(line, date.day);
  line += '/';
  AppendTwoDigits(line, date.month);
  line += '/';
  AppendTwoDigits(line, date.year / 100);
  AppendTwoDigits(line, date.year % 100);
  line += ", ";
  AppendTwoDigits(line, time.hour);
  line += ':';
  AppendTwoDigits(line, time.minute);
  line += ':';
  AppendTwoDigits(line, time.second);
  line += '.';
  line.push_back(static_cast<char>('0' + time.millisecond / 100));
  AppendTwoDigits(line, time.millisecond % 100);
  for (size_t i = 0; i < devices.size(); ++i) {
    for (const HistoryColumn& c : devices[i].columns) {
      const size_t at = i * kValuesPerDevice + static_cast<size_t>(c.valueIndex);
      line += ", ";
      line += at < values.size() ? FormatFixed(values[at], c.decimals) : std::string("0");
    }
  }
  return line;
}

}  // namespace acquisition
