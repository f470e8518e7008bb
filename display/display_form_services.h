#pragma once
// What a display window needs from the rest of the program. The main window fills in the
// program-wide set at start-up; tests hand each window their own. Anything left empty makes
// its use do nothing (no wizard, no devices, no counter resets), never crash.
#include <cstdint>
#include <functional>

#include "platform/clock.h"

class DisplayConfigurator;
class DisplayDeviceDirectory;
class QWidget;

namespace ui {
class PrintService;
class UserInteraction;
}

struct DisplayFormServices {
  DisplayConfigurator* configurator = nullptr;  // the configuration wizard
  DisplayDeviceDirectory* devices = nullptr;    // instruments outside a reading run
  ui::UserInteraction* ui = nullptr;           // message boxes; null: plain Qt message boxes
  const platform::MonotonicClock* clock = nullptr;  // null: the system's monotonic clock
  // The value shown for a failed reading; empty: the main window's, or 0 without one.
  std::function<float()> errorValue;
  // Hands a counter reset of the instrument on this COM port to the reading run.
  std::function<void(uint16_t port)> queueCounterReset;
  // The program's printer and print dialog; null: the window does not print.
  ui::PrintService* printService = nullptr;

  // The program-wide set, used by windows created without one of their own. Its devices are
  // the instruments on the serial ports; the main window fills in the rest.
  static DisplayFormServices& Program();
};
