#pragma once
// How each indicator control looks for the settings of its kind. A display window's element
// and the configuration wizard's example are set up by these same functions, so that the
// example shows what the window will. A file edited by hand may hold anything: each control
// gets the nearest value the wizard could have stored.
#include "display/display_kind_settings.h"

namespace controls {
class TAnalogMeter;
class TBarMeter;
class TDialGauge;
class TDigitDisplay;
class TSegmentIndicator;
}  // namespace controls

namespace display_setup {

void SetUpLcd(controls::TSegmentIndicator& indicator, const LcdSettings& s);
void SetUpLed(controls::TDigitDisplay& digits, const LedSettings& s);
void SetUpBar(controls::TBarMeter& bar, const BarSettings& s);
void SetUpDial(controls::TDialGauge& gauge, const DialSettings& s);
void SetUpMeter(controls::TAnalogMeter& meter, const MeterSettings& s);

// A scale needs its minimum below its maximum; a stored range that isn't gets one unit
// (below the minimum when it is the largest value the field holds).
std::pair<int, int> ScaleOf(int32_t min, int32_t max);

}  // namespace display_setup
