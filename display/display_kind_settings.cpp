#include "display/display_kind_settings.h"

#include "display/le_bytes.h"

using namespace display_bytes;

namespace {

// Offsets below are those of the whole 128-byte record; the kind part starts at 64.
constexpr size_t kKindPartStart = 64;

class PartWriter {
 public:
  explicit PartWriter(KindPart& part) : b_(part.data()) {}
  void U8(size_t at, bool v) { PutU8(b_, at - kKindPartStart, v ? 1 : 0); }
  void U16(size_t at, uint16_t v) { PutU16(b_, at - kKindPartStart, v); }
  void I16(size_t at, int16_t v) { PutI16(b_, at - kKindPartStart, v); }
  void U32(size_t at, uint32_t v) { PutU32(b_, at - kKindPartStart, v); }
  void I32(size_t at, int32_t v) { PutI32(b_, at - kKindPartStart, v); }
  void F64(size_t at, double v) { PutF64(b_, at - kKindPartStart, v); }

 private:
  uint8_t* b_;
};

class PartReader {
 public:
  explicit PartReader(const KindPart& part) : b_(part.data()) {}
  bool Flag(size_t at) const { return GetU8(b_, at - kKindPartStart) != 0; }
  uint16_t U16(size_t at) const { return GetU16(b_, at - kKindPartStart); }
  int16_t I16(size_t at) const { return GetI16(b_, at - kKindPartStart); }
  uint32_t U32(size_t at) const { return GetU32(b_, at - kKindPartStart); }
  int32_t I32(size_t at) const { return GetI32(b_, at - kKindPartStart); }
  double F64(size_t at) const { return GetF64(b_, at - kKindPartStart); }

 private:
  const uint8_t* b_;
};

}  // namespace

ChartSettings ChartSettings::Read(const KindPart& part) {
  PartReader r(part);
  ChartSettings s;
  s.chartColor = r.U32(68);
  s.backColor = r.U32(72);
  s.ref1On = r.Flag(76);
  s.ref1Value = r.I32(80);
  s.ref1Color = r.U32(84);
  s.ref2On = r.Flag(88);
  s.ref2Value = r.I32(92);
  s.ref2Color = r.U32(96);
  s.channelsSelected = r.Flag(100);
  s.autoY = r.Flag(101);
  s.yMax = r.I32(104);
  s.yMin = r.I32(108);
  s.visiblePeriod = r.F64(112);
  s.lineWidth = r.I32(120);
  return s;
}

void ChartSettings::WriteTo(KindPart& part) const {
  PartWriter w(part);
  w.U32(68, chartColor);
  w.U32(72, backColor);
  w.U8(76, ref1On);
  w.I32(80, ref1Value);
  w.U32(84, ref1Color);
  w.U8(88, ref2On);
  w.I32(92, ref2Value);
  w.U32(96, ref2Color);
  w.U8(100, channelsSelected);
  w.U8(101, autoY);
  w.I32(104, yMax);
  w.I32(108, yMin);
  w.F64(112, visiblePeriod);
  w.I32(120, lineWidth);
}

LcdSettings LcdSettings::Read(const KindPart& part) {
  PartReader r(part);
  LcdSettings s;
  s.onColor = r.U32(64);
  s.offColor = r.U32(68);
  s.backColor = r.U32(72);
  s.digits = r.U16(76);
  return s;
}

void LcdSettings::WriteTo(KindPart& part) const {
  PartWriter w(part);
  w.U32(64, onColor);
  w.U32(68, offColor);
  w.U32(72, backColor);
  w.U16(76, digits);
}

LedSettings LedSettings::Read(const KindPart& part) {
  PartReader r(part);
  LedSettings s;
  s.onColor = r.U32(64);
  s.offColor = r.U32(68);
  s.digits = r.I16(72);
  s.segmentSize = r.I16(74);
  s.backColor = r.U32(76);
  return s;
}

void LedSettings::WriteTo(KindPart& part) const {
  PartWriter w(part);
  w.U32(64, onColor);
  w.U32(68, offColor);
  w.I16(72, digits);
  w.I16(74, segmentSize);
  w.U32(76, backColor);
}

BarSettings BarSettings::Read(const KindPart& part) {
  PartReader r(part);
  BarSettings s;
  s.barColor = r.U32(64);
  s.barBackColor = r.U32(68);
  s.backColor = r.U32(72);
  s.markerColor = r.U32(76);
  s.showMarker = r.Flag(80);
  s.showIncrements = r.Flag(81);
  s.increment = r.I32(84);
  s.max = r.I32(88);
  s.min = r.I32(92);
  s.thickness = r.U16(96);
  return s;
}

void BarSettings::WriteTo(KindPart& part) const {
  PartWriter w(part);
  w.U32(64, barColor);
  w.U32(68, barBackColor);
  w.U32(72, backColor);
  w.U32(76, markerColor);
  w.U8(80, showMarker);
  w.U8(81, showIncrements);
  w.I32(84, increment);
  w.I32(88, max);
  w.I32(92, min);
  w.U16(96, thickness);
}

DialSettings DialSettings::Read(const KindPart& part) {
  PartReader r(part);
  DialSettings s;
  s.needleColor = r.U32(64);
  s.textColor = r.U32(68);
  s.centerColor = r.U32(72);
  s.faceColor = r.U32(76);
  s.highColor = r.U32(80);
  s.midColor = r.U32(84);
  s.lowColor = r.U32(88);
  s.angle = r.U16(92);
  s.max = r.I32(96);
  s.min = r.I32(100);
  s.highOn = r.Flag(104);
  s.highThreshold = r.I32(108);
  s.lowOn = r.Flag(112);
  s.lowThreshold = r.I32(116);
  s.midOn = r.Flag(120);
  s.centerOn = r.Flag(121);
  s.mainTicks = r.I16(122);
  return s;
}

void DialSettings::WriteTo(KindPart& part) const {
  PartWriter w(part);
  w.U32(64, needleColor);
  w.U32(68, textColor);
  w.U32(72, centerColor);
  w.U32(76, faceColor);
  w.U32(80, highColor);
  w.U32(84, midColor);
  w.U32(88, lowColor);
  w.U16(92, angle);
  w.I32(96, max);
  w.I32(100, min);
  w.U8(104, highOn);
  w.I32(108, highThreshold);
  w.U8(112, lowOn);
  w.I32(116, lowThreshold);
  w.U8(120, midOn);
  w.U8(121, centerOn);
  w.I16(122, mainTicks);
}

MeterSettings MeterSettings::Read(const KindPart& part) {
  PartReader r(part);
  MeterSettings s;
  s.angle = r.U16(64);
  s.max = r.I32(68);
  s.min = r.I32(72);
  s.showZones = r.Flag(76);
  s.highZone = r.I32(80);
  s.lowZone = r.I32(84);
  s.backColor = r.U32(88);
  s.textColor = r.U32(92);
  s.highColor = r.U32(96);
  s.midColor = r.U32(100);
  s.lowColor = r.U32(104);
  s.logScale = r.Flag(108);
  s.tickCount = r.U16(110);
  return s;
}

void MeterSettings::WriteTo(KindPart& part) const {
  PartWriter w(part);
  w.U16(64, angle);
  w.I32(68, max);
  w.I32(72, min);
  w.U8(76, showZones);
  w.I32(80, highZone);
  w.I32(84, lowZone);
  w.U32(88, backColor);
  w.U32(92, textColor);
  w.U32(96, highColor);
  w.U32(100, midColor);
  w.U32(104, lowColor);
  w.U8(108, logScale);
  w.U16(110, tickCount);
}
