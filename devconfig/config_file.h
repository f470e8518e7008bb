#pragma once
// The device configuration file ("cfg"): an INI file of four sections, "General", "Channel1",
// "Channel2" and "Channel3SpecialFeatures", whose keys are the configuration block's field
// names. Pure apart from the file itself; texts stay code page 1252.
//
// Saving writes the keys in their order into the file, replacing those keys and keeping every
// other section and key the file held. Loading reads the settings back with their defaults;
// the instrument's identity (sensor kind, serial number, firmware) and its last calibration
// date are written for the reader but never loaded, so a file saved from one instrument can
// configure another.
#include <string>

#include "instrument/device_regs.h"

namespace devconfig {

inline constexpr char kConfigFileExtension[] = "cfg";

// True when every key was written and the file replaced whole. `mark` is the decimal mark of
// the counter's scale factor (the user's). On failure `error` (when given) says why, as the
// INI file says it ("it is a named pipe, and only a regular file is replaced").
bool SaveConfigFile(const std::string& path, const DeviceRegs& regs, char mark, std::string* error = nullptr);

// Reads the file into `regs`. A key that is missing or not a number takes its default. False,
// with `regs` unchanged, when the file holds none of the four sections (a file of another
// kind, or one that cannot be read): loading it would set every setting to its default. When
// the file could not be read at all (a named pipe, a device, UTF-16), `error` (when given)
// says why; it stays empty for a file that is missing or of another kind.
bool LoadConfigFile(const std::string& path, DeviceRegs& regs, std::string* error = nullptr);

// The scale factor as the file holds it: up to 15 significant digits, the shortest form.
std::string ScaleText(double scale, char mark);

}  // namespace devconfig
