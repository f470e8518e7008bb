#pragma once
// The display configuration wizard as the display window uses it: hand it a copy of the
// window's configuration, run it modally, and take the configuration back (chart channel
// entries included) only when the user confirmed.
#include <cstdint>

#include "display/display_config.h"

class QWidget;

class DisplayConfigurator {
 public:
  virtual ~DisplayConfigurator() = default;
  virtual void SetConfig(const DisplayConfig& config) = 0;
  // Runs modally over `parent`; true when the user confirmed ("Concluído").
  virtual bool Execute(QWidget* parent) = 0;
  // The edited configuration, whole.
  virtual void GetConfig(DisplayConfig& config) const = 0;
  // The COM port of the device chosen in the wizard; 0 when none.
  virtual uint16_t GetSelectedPort() const = 0;
};
