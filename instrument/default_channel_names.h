#pragma once
// The default names of a device's values, used wherever a value has no tag of its own: the
// device configuration dialog, the display wizard, the display windows and the history
// header. One program-wide table, so that every user reads the same (translated) texts.
// Code page 1252 bytes. Main thread only.
#include <array>
#include <cstddef>
#include <string>

enum class DefaultChannelName : size_t {
  Channel1 = 0,      // "Canal 1"
  Channel2 = 1,      // "Canal 2"
  Ambient = 2,       // "Ambiente"
  DigitalInput = 3,  // "Canal 3"
  Counting = 4,      // "Contagens"
  Timing = 5,        // "Temporização"
  Frequency = 6,     // "Freqüência"
};

constexpr size_t kDefaultChannelNameCount = 7;

// The current table (built-in texts until the language file replaced them).
const std::array<std::string, kDefaultChannelNameCount>& DefaultChannelNames();
const std::string& DefaultChannelNameText(DefaultChannelName which);

// The language file's translation of entry `index`; an index outside the table is ignored.
void SetDefaultChannelName(size_t index, std::string text);

// Back to the built-in Portuguese texts.
void RestoreBuiltInChannelNames();
