#pragma once
// The dialog's pages as plain values: what each control holds, apart from the widgets. The
// transfers between these and DeviceRegs (page_transfer.h) are what "Aplica" and loading a
// configuration do; the window only copies these into and out of its controls.
// A default-constructed state holds the controls' start values. Texts are code page 1252.
#include <string>

#include "devconfig/field_rules.h"

namespace devconfig {

struct GeneralPageState {
  std::string tag;
  bool compensate = false;         // "Compensar efeito da rede elétrica"
  bool compensateEnabled = true;   // the humidity probe always compensates
  int mainsIndex = 0;              // 0 "60 Hz", 1 "50 Hz"
  bool autoSend = false;
  bool probeResolutions = false;   // two resolution choices instead of four
  int resolutionIndex = 0;
  bool operator==(const GeneralPageState&) const = default;
};

struct ChannelPageState {
  std::string tag;
  bool enabled = false;
  int typeIndex = 0;      // list index; -1 for a type code the list does not hold
  int readTypeCode = 0;   // the code read, which a -1 index keeps
  bool dewPoint = false;
  bool fahrenheit = false;
  int overflowSpin = 30000;
  int underflowSpin = -30000;
  ChannelFieldTexts fields{"1000", "0", "30000", "-30000", "0"};
  std::string unit;
  int filter = 0;

  int TypeCode() const { return typeIndex >= 0 ? typeIndex : readTypeCode; }
  bool operator==(const ChannelPageState&) const = default;
};

struct AmbientPageState {
  std::string tag;
  bool enabled = false;
  bool enableLocked = false;  // a thermocouple needs the cold junction: checked and locked
  int unitIndex = 0;          // 0 °C, 1 °F
  std::string offset = "0";
  bool operator==(const AmbientPageState&) const = default;
};

enum class DigitalMode { None, Counting, Timing, Frequency };

struct DigitalInputPageState {
  std::string tag;
  int lowValue = 0;
  int highValue = 100;
  bool featuresShown = false;
  DigitalMode mode = DigitalMode::None;
  bool debounceOn = false;
  std::string debounce = "100";
  std::string scale = "1.0";
  bool scaleTyped = false;  // the user changed the scale's text since it was filled
  bool autoReset = false;
  std::string resetValue = "1000";
  std::string baseTime = "1";
  std::string decimals = "0";
  int edgeIndex = 0;
  bool operator==(const DigitalInputPageState&) const = default;
};

}  // namespace devconfig
