#include "devconfig/custom_calibration.h"

#include <algorithm>
#include <cmath>

#include "devconfig/fixed_point.h"

namespace devconfig {
namespace {

constexpr int32_t kLargestTenths = 32767;

// Pair i of a channel's table within the 40 values.
void PutPair(std::array<int16_t, kCustomCalibrationValues>& values, size_t channel, size_t i,
             const CalibrationPoint& point) {
  const size_t at = channel * 2 * kMaxCalibrationPoints + 2 * i;
  values[at] = point.standard;
  values[at + 1] = point.indication;
}

}  // namespace

std::vector<CalibrationPoint> PresentPoints(const Channel& channel) {
  std::vector<CalibrationPoint> points;
  for (size_t i = 0; i < kMaxCalibrationPoints; ++i) {
    if (channel.CustomCalB[i] == Channel::kEmptyCalibrationPoint) continue;
    points.push_back({static_cast<int16_t>(channel.CustomCalB[i]), static_cast<int16_t>(channel.CustomCalA[i])});
  }
  return points;
}

CalibrationRowTexts RowTexts(size_t index, const CalibrationPoint& point, char mark) {
  return {std::to_string(index + 1), FormatFixedPoint(point.standard, 1, mark),
          FormatFixedPoint(point.indication, 1, mark)};
}

std::optional<int16_t> TypedTenths(std::string_view text) {
  const std::optional<double> value = ParseFloatText(text);
  if (!value) return std::nullopt;
  // Anything this large is refused below; the test keeps the float conversion defined.
  if (std::fabs(*value) > 1e7) return std::nullopt;
  const auto single = static_cast<float>(*value);
  const double tenths = std::round(static_cast<double>(single) * 10.0);
  if (std::fabs(tenths) > kLargestTenths) return std::nullopt;
  return static_cast<int16_t>(tenths);
}

void CalibrationGrid::Assign(std::vector<CalibrationPoint> points) {
  if (points.size() > kMaxCalibrationPoints) points.resize(kMaxCalibrationPoints);
  points_ = std::move(points);
}

AddOutcome CalibrationGrid::Add(std::string_view standardText, std::string_view indicationText) {
  if (points_.size() >= kMaxCalibrationPoints) return AddOutcome::Full;
  const std::optional<int16_t> standard = TypedTenths(standardText);
  if (!standard) return AddOutcome::BadStandard;
  const std::optional<int16_t> indication = TypedTenths(indicationText);
  if (!indication) return AddOutcome::BadIndication;
  // Compared as shown (one decimal), so that the grid reads in order.
  const auto at = std::find_if(points_.begin(), points_.end(),
                               [&](const CalibrationPoint& p) { return p.indication > *indication; });
  points_.insert(at, CalibrationPoint{*standard, *indication});
  return AddOutcome::Added;
}

bool CalibrationGrid::Delete(size_t row) {
  if (row >= points_.size()) return false;
  points_.erase(points_.begin() + static_cast<std::ptrdiff_t>(row));
  return true;
}

std::optional<std::array<int16_t, kCustomCalibrationValues>> CustomCalibrationImage(
    const std::vector<CalibrationPoint>& temperature, const std::vector<CalibrationPoint>& humidity,
    bool humidityProbe, const ConfirmPoint& confirm) {
  std::array<int16_t, kCustomCalibrationValues> values;
  values.fill(kEmptyPointValue);
  struct Table {
    const std::vector<CalibrationPoint>* points;
    size_t channel;
    bool humidityGrid;
  };
  std::vector<Table> tables;
  if (humidityProbe) {
    tables = {{&humidity, 0, true}, {&temperature, 1, false}};
  } else {
    tables = {{&temperature, 0, false}};
  }
  for (size_t i = 0; i < kMaxCalibrationPoints; ++i) {
    for (const Table& t : tables) {
      if (i >= t.points->size()) continue;
      const CalibrationPoint& point = (*t.points)[i];
      PutPair(values, t.channel, i, point);
      const bool ascending = i == 0 || point.standard > (*t.points)[i - 1].standard;
      if (!ascending && !(confirm && confirm(t.humidityGrid, i))) return std::nullopt;
    }
  }
  return values;
}

std::optional<platform::DateParts> LastCalibrationDate(const DeviceRegs& regs) {
  TDateTime unused = 0;
  if (!platform::TryEncodeDate(regs.LastCustomCalYear, regs.LastCustomCalMonth, regs.LastCustomCalDay, unused))
    return std::nullopt;
  return platform::DateParts{regs.LastCustomCalYear, regs.LastCustomCalMonth, regs.LastCustomCalDay};
}

}  // namespace devconfig
