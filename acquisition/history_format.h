#pragma once
// The history file's text: three header lines naming the devices, the values and their
// units, and one data line per history interval with date, time and the recorded values.
// Pure functions over a description of the recorded devices; code page 1252 throughout.
//
// Every header line splits at "," into exactly as many fields as each data line: two for
// date and time, then one per recorded value. Readers take the date from fixed positions,
// so it is always zero-padded; numbers always have "." as decimal mark, whatever the locale.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/datetime.h"

#include "instrument/device_regs.h"

class DeviceInterface;

namespace acquisition {

inline constexpr int kValuesPerDevice = 5;
inline constexpr std::string_view kNewStartMarker = "##_New_Start_##";
inline constexpr std::string_view kDefaultDeviceName = "Tervana";

// The default value names (channel 1, channel 2, ambient, digital input, counting, timing,
// frequency), as the program-wide table holds them.
using DefaultValueNames = std::array<std::string, 7>;

// One recorded value of a device.
struct HistoryColumn {
  int valueIndex = 0;   // 0..4 in the device's five values
  std::string name;
  std::string unit;
  int decimals = 1;
};

// One device of the run as the history file sees it; no columns when nothing is recorded.
struct HistoryDevice {
  std::string name;
  std::vector<HistoryColumn> columns;
};

// The name of value j (0..4) of a device of this model: its tag, or the default name when
// the tag is blank; value 4 is named only on model 0 with the counter (firmware 110 on).
std::string HistoryValueName(const DeviceRegs& regs, int32_t model, int valueIndex, const DefaultValueNames& defaults);
// The device's tag, or "Tervana" when it is blank.
std::string HistoryDeviceName(const DeviceRegs& regs);
// Model 0 from firmware 110 on counts on its digital input (value 4).
bool HasCounterValue(const DeviceRegs& regs, int32_t model);

// The columns of the values whose bits are set in `mask`.
HistoryDevice DescribeHistoryDevice(const DeviceRegs& regs, int32_t model, uint8_t mask,
                                    const DefaultValueNames& defaults);
HistoryDevice DescribeHistoryDevice(const DeviceInterface& device, uint8_t mask, const DefaultValueNames& defaults);

// A text made fit for a header field: "," would split the field, line feeds and other control
// characters would break the line; they become ";" and blanks.
std::string HeaderFieldText(std::string_view text);

struct HistoryHeader {
  std::string deviceNames;  // H1
  std::string valueNames;   // H2
  std::string units;        // H3
};

// The header of a new file for the run's devices in list order; an empty device list gives
// three empty lines. An appended recording (`newStart`) has only the placeholders " , ".
HistoryHeader BuildHistoryHeader(const std::vector<HistoryDevice>& devices, bool newStart);

// Counts the header lines a file holds whole, fed its text from the start piece by piece: lines
// ended by a line feed that hold more than blanks and control characters (readers skip blank
// lines). A file without all three holds no data, only a header cut short.
class HeaderLineCounter {
 public:
  static constexpr int kHeaderLines = 3;
  // Takes the next piece of the text; true once the header is whole (no more need be read).
  bool Take(std::string_view piece);
  bool HeaderWhole() const { return lines_ >= kHeaderLines; }

 private:
  int lines_ = 0;
  bool lineHasText_ = false;
};

// "dd/mm/yyyy, hh:mm:ss.mmm" and then ", value" per recorded value; `values` holds five
// floats per device in list order. No line end.
std::string FormatHistoryLine(TDateTime t, std::span<const float> values, const std::vector<HistoryDevice>& devices);

// A number with a fixed count of decimals and "." as decimal mark.
std::string FormatFixed(double value, int decimals);

}  // namespace acquisition
