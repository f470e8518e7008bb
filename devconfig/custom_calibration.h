#pragma once
// The probe's custom calibration as the dialog edits it: up to ten points per quantity, each
// the standard's value and the instrument's indication in tenths, kept in ascending order of
// the indication; the points a channel's tables hold, and the 40 register values that
// "Aplicar" writes back. Pure.
//
// A grid never holds a gap: the points of a channel are taken in table order, whatever empty
// pairs lie between them, and the write takes every point of a grid, so a probe that holds an
// empty pair between two points keeps all of them through a read and a write.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "instrument/device_regs.h"
#include "platform/datetime.h"

namespace devconfig {

struct CalibrationPoint {
  int16_t standard = 0;    // value of the standard, tenths
  int16_t indication = 0;  // indication of the instrument, tenths
  bool operator==(const CalibrationPoint&) const = default;
};

inline constexpr size_t kMaxCalibrationPoints = Channel::kCalibrationPoints;
inline constexpr size_t kCustomCalibrationValues = 40;
inline constexpr int16_t kEmptyPointValue = -32768;

// The points of a channel's tables in table order: a point counts when its standard (table B)
// is not the empty marker.
std::vector<CalibrationPoint> PresentPoints(const Channel& channel);

// One grid row as shown: its number (from 1) and the two values with one decimal.
struct CalibrationRowTexts {
  std::string number, standard, indication;
  bool operator==(const CalibrationRowTexts&) const = default;
};
CalibrationRowTexts RowTexts(size_t index, const CalibrationPoint& point, char mark);

// A typed value in tenths: "." or "," as mark, taken at single precision and rounded to one
// decimal, half away from zero. Nothing for a text that is no number, and for one whose
// one-decimal form lies outside -3276.7..3276.7: it would wrap in the 16-bit register, or
// become the empty marker -32768 and vanish from the instrument.
std::optional<int16_t> TypedTenths(std::string_view text);

enum class AddOutcome {
  Added,
  Full,           // ten points already
  BadStandard,    // the standard's text was refused
  BadIndication,  // the indication's text was refused
};

// One grid of the page.
class CalibrationGrid {
 public:
  const std::vector<CalibrationPoint>& Points() const { return points_; }
  void Assign(std::vector<CalibrationPoint> points);

  // The point typed into the two edits goes before the first point whose indication is
  // greater (after any equal one); nothing changes unless the outcome is Added.
  AddOutcome Add(std::string_view standardText, std::string_view indicationText);
  // Row from 0; false (nothing changed) when there is no point there.
  bool Delete(size_t row);
  void Clear() { points_.clear(); }

 private:
  std::vector<CalibrationPoint> points_;
};

// Asked about point `row` (from 0) of a grid whose standard is not above the one before it;
// true keeps the point, false ends the write before anything is sent.
using ConfirmPoint = std::function<bool(bool humidityGrid, size_t row)>;

// The 40 values of calibration registers 20..59: ten pairs {standard, indication} of channel
// 1, then ten of channel 2, empty pairs -32768. The humidity probe keeps humidity on channel 1
// and temperature on channel 2; every other probe temperature on channel 1 and an empty channel
// 2. Points are checked in register order (for the humidity probe the humidity point before
// the temperature point of the same number). Nothing when a question was answered no.
std::optional<std::array<int16_t, kCustomCalibrationValues>> CustomCalibrationImage(
    const std::vector<CalibrationPoint>& temperature, const std::vector<CalibrationPoint>& humidity,
    bool humidityProbe, const ConfirmPoint& confirm);

// The date of the last custom calibration, when the block's day, month and year form one (a
// probe never calibrated holds none).
std::optional<platform::DateParts> LastCalibrationDate(const DeviceRegs& regs);

}  // namespace devconfig
