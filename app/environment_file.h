#pragma once
// The environment file ("env"): the whole workspace in one little-endian file with no gaps
// between its records. A version (i32), the main window's placement (20 bytes), the readings
// and history settings (536 bytes; 516 before the trigger existed), then one display window
// record (152 bytes) per window, each chart followed by its 40-byte channel entries.
//
// This is the codec alone: bytes to records and back, with no file and no window. Text stays
// in code page 1252; numbers are kept as the file holds them, except that a non-finite error
// value or trigger level reads as 0 (the windows' setters keep the intervals within limits).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "display/display_window_record.h"

namespace app {

// The version written; readers take any version up to it.
inline constexpr int32_t kEnvironmentVersion = 0x67;
// The first version whose readings record holds the history trigger.
inline constexpr int32_t kEnvironmentTriggerVersion = 0x67;

// The main window: its place on the screen and whether it is maximized.
struct EnvironmentPlacement {
  static constexpr size_t kSize = 20;

  bool maximized = false;
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;

  friend bool operator==(const EnvironmentPlacement&, const EnvironmentPlacement&) = default;
};

// The readings and history settings. The reading interval is not here: every display
// window's record carries it.
struct EnvironmentReadings {
  static constexpr size_t kSize = 536;
  static constexpr size_t kSizeBeforeTrigger = 516;
  static constexpr size_t kMaxFileNameLength = 500;

  float errorValue = 0.0f;
  bool historyOn = false;
  int32_t historyIntervalMs = 0;
  bool fastMode = false;
  std::string historyFileName;  // code page 1252, at most 500 characters are stored
  bool triggerOn = false;
  uint8_t triggerComparison = 1;  // 1: at or above the level; 0: at or below
  double triggerLevel = 0.0;
  uint32_t triggerSourceSerial = 0;
  uint8_t triggerSourceIndex = 1;  // GlobalChannelIndex of the source value

  friend bool operator==(const EnvironmentReadings&, const EnvironmentReadings&) = default;
};

struct Environment {
  EnvironmentPlacement mainWindow;
  EnvironmentReadings readings;
  // In file order; a chart's entries are in config.chartChannels.
  std::vector<DisplayWindowRecord> windows;
};

std::vector<uint8_t> EncodeEnvironment(const Environment& environment);

enum class EnvironmentReadStatus {
  kOk,
  kRecordShort,  // the version, the main window or the readings record is cut short
  kNewerVersion,  // written by a newer program: nothing may be taken from it
  kEntriesCut,  // the file ends inside a chart's entries: the windows before it are kept
};

struct EnvironmentReadResult {
  EnvironmentReadStatus status = EnvironmentReadStatus::kRecordShort;
  int32_t version = 0;
  // With kOk and kEntriesCut: the two records and the whole windows read.
  Environment environment;
};

// Reads a whole file's bytes. Records of older versions come back as the current version
// holds them: the readings record without a trigger gets the trigger off (comparison "at or
// above", level 0, source serial 0 and index 1), and display records are upgraded by their
// file version. Bytes after the last whole window record, fewer than one, are ignored.
EnvironmentReadResult DecodeEnvironment(std::span<const uint8_t> bytes);

}  // namespace app
