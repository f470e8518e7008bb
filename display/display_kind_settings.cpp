#include "display/display_kind_settings.h"

#include <concepts>
#include <type_traits>

#include "platform/le_bytes.h"

using namespace le_bytes;

namespace {

// Offsets below are those of the whole 128-byte record; the kind part starts at 64.
constexpr size_t kKindPartStart = 64;

// The field types of the kind part and their widths: a flag is one byte, 1 for set.
class FieldReader {
 public:
  explicit FieldReader(const KindPart& part) : b_(part.data()) {}
  void operator()(size_t at, bool& v) const { v = GetU8(b_, at - kKindPartStart) != 0; }
  void operator()(size_t at, uint16_t& v) const { v = GetU16(b_, at - kKindPartStart); }
  void operator()(size_t at, int16_t& v) const { v = GetI16(b_, at - kKindPartStart); }
  void operator()(size_t at, uint32_t& v) const { v = GetU32(b_, at - kKindPartStart); }
  void operator()(size_t at, int32_t& v) const { v = GetI32(b_, at - kKindPartStart); }
  void operator()(size_t at, double& v) const { v = GetF64(b_, at - kKindPartStart); }

 private:
  const uint8_t* b_;
};

class FieldWriter {
 public:
  explicit FieldWriter(KindPart& part) : b_(part.data()) {}
  void operator()(size_t at, bool v) const { PutU8(b_, at - kKindPartStart, v ? 1 : 0); }
  void operator()(size_t at, uint16_t v) const { PutU16(b_, at - kKindPartStart, v); }
  void operator()(size_t at, int16_t v) const { PutI16(b_, at - kKindPartStart, v); }
  void operator()(size_t at, uint32_t v) const { PutU32(b_, at - kKindPartStart, v); }
  void operator()(size_t at, int32_t v) const { PutI32(b_, at - kKindPartStart, v); }
  void operator()(size_t at, double v) const { PutF64(b_, at - kKindPartStart, v); }

 private:
  uint8_t* b_;
};

// Each kind's fields at their record offsets: one list serves reading and writing.
template <class S, class Settings>
concept SettingsOf = std::same_as<std::remove_const_t<S>, Settings>;

template <SettingsOf<ChartSettings> S, class Field>
void Fields(S& s, const Field& f) {
  f(68, s.chartColor);
  f(72, s.backColor);
  f(76, s.ref1On);
  f(80, s.ref1Value);
  f(84, s.ref1Color);
  f(88, s.ref2On);
  f(92, s.ref2Value);
  f(96, s.ref2Color);
  f(100, s.channelsSelected);
  f(101, s.autoY);
  f(104, s.yMax);
  f(108, s.yMin);
  f(112, s.visiblePeriod);
  f(120, s.lineWidth);
}

template <SettingsOf<LcdSettings> S, class Field>
void Fields(S& s, const Field& f) {
  f(64, s.onColor);
  f(68, s.offColor);
  f(72, s.backColor);
  f(76, s.digits);
}

template <SettingsOf<LedSettings> S, class Field>
void Fields(S& s, const Field& f) {
  f(64, s.onColor);
  f(68, s.offColor);
  f(72, s.digits);
  f(74, s.segmentSize);
  f(76, s.backColor);
}

template <SettingsOf<BarSettings> S, class Field>
void Fields(S& s, const Field& f) {
  f(64, s.barColor);
  f(68, s.barBackColor);
  f(72, s.backColor);
  f(76, s.markerColor);
  f(80, s.showMarker);
  f(81, s.showIncrements);
  f(84, s.increment);
  f(88, s.max);
  f(92, s.min);
  f(96, s.thickness);
}

template <SettingsOf<DialSettings> S, class Field>
void Fields(S& s, const Field& f) {
  f(64, s.needleColor);
  f(68, s.textColor);
  f(72, s.centerColor);
  f(76, s.faceColor);
  f(80, s.highColor);
  f(84, s.midColor);
  f(88, s.lowColor);
  f(92, s.angle);
  f(96, s.max);
  f(100, s.min);
  f(104, s.highOn);
  f(108, s.highThreshold);
  f(112, s.lowOn);
  f(116, s.lowThreshold);
  f(120, s.midOn);
  f(121, s.centerOn);
  f(122, s.mainTicks);
}

template <SettingsOf<MeterSettings> S, class Field>
void Fields(S& s, const Field& f) {
  f(64, s.angle);
  f(68, s.max);
  f(72, s.min);
  f(76, s.showZones);
  f(80, s.highZone);
  f(84, s.lowZone);
  f(88, s.backColor);
  f(92, s.textColor);
  f(96, s.highColor);
  f(100, s.midColor);
  f(104, s.lowColor);
  f(108, s.logScale);
  f(110, s.tickCount);
}

template <class Settings>
Settings ReadFields(const KindPart& part) {
  Settings s;
  Fields(s, FieldReader(part));
  return s;
}

template <class Settings>
void WriteFields(const Settings& s, KindPart& part) {
  Fields(s, FieldWriter(part));
}

}  // namespace

ChartSettings ChartSettings::Read(const KindPart& part) { return ReadFields<ChartSettings>(part); }
void ChartSettings::WriteTo(KindPart& part) const { WriteFields(*this, part); }
LcdSettings LcdSettings::Read(const KindPart& part) { return ReadFields<LcdSettings>(part); }
void LcdSettings::WriteTo(KindPart& part) const { WriteFields(*this, part); }
LedSettings LedSettings::Read(const KindPart& part) { return ReadFields<LedSettings>(part); }
void LedSettings::WriteTo(KindPart& part) const { WriteFields(*this, part); }
BarSettings BarSettings::Read(const KindPart& part) { return ReadFields<BarSettings>(part); }
void BarSettings::WriteTo(KindPart& part) const { WriteFields(*this, part); }
DialSettings DialSettings::Read(const KindPart& part) { return ReadFields<DialSettings>(part); }
void DialSettings::WriteTo(KindPart& part) const { WriteFields(*this, part); }
MeterSettings MeterSettings::Read(const KindPart& part) { return ReadFields<MeterSettings>(part); }
void MeterSettings::WriteTo(KindPart& part) const { WriteFields(*this, part); }
