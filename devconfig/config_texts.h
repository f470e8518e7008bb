#pragma once
// The device configuration dialog's string tables and the lines of its language sections
// that replace them. No widgets: the tables are what the dialog shows and what other forms
// read (the channel names live in the program-wide table of instrument/default_channel_names.h,
// which the wizard, the display windows and the history header read too). Code page 1252.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ui/language_file.h"

namespace devconfig {

// Index of a message in the dialog's message table.
enum class Msg : size_t {
  ReadFailed = 0,           // the configuration could not be read
  WriteFailed = 1,          // "Aplica" failed
  WriteSucceeded = 2,       // "Aplica" succeeded
  PortOpenError = 3,        // ends in a blank; the caller adds " " and the list item
  InvalidValue = 4,         // a field's text is refused
  NoDevice = 5,             // the search found nothing that opens
  LevelsEqual = 6,          // the digital input's two levels hold the same value
  LimitsNotAscending = 7,   // a channel's upper limit is not above its lower one
  CustomCalibrationWarning = 8,
  ConfirmLinePoints = 9,
  ConfirmValues = 10,
  CustomCalibrationCaption = 11,
  CustomCalibrationWritten = 12,
  CustomCalibrationWriteFailed = 13,
  TooManyPoints = 14,
  ConfigurationSaved = 15,
  ConfigurationSaveFailed = 16,
  ConfigurationLoaded = 17,
  ConfigurationLoadFailed = 18,
  ConfigurationFiles = 19,  // the file dialogs' filter name
  Ok = 20,
  Error = 21,
};

inline constexpr size_t kMessageCount = 22;
inline constexpr size_t kInputTypeCount = 12;
// Channel 2's list stops before "0 a 10 V".
inline constexpr size_t kChannel2InputTypeCount = 11;
inline constexpr size_t kResolutionCount = 4;
inline constexpr size_t kProbeResolutionCount = 2;
inline constexpr size_t kGridHeaderCount = 3;
// Three edges and the group's caption in edge mode.
inline constexpr size_t kEdgeNameCount = 4;
// Two levels and the group's caption in level mode.
inline constexpr size_t kLevelNameCount = 3;

struct ConfigTexts {
  std::array<std::string, kMessageCount> messages;
  // Index = input type code (Config bits 0..6).
  std::array<std::string, kInputTypeCount> inputTypes;
  std::array<std::string, kResolutionCount> resolutions;
  std::array<std::string, kProbeResolutionCount> probeResolutions;
  std::array<std::string, kGridHeaderCount> gridHeaders;
  std::array<std::string, kEdgeNameCount> edgeNames;
  std::array<std::string, kLevelNameCount> levelNames;

  const std::string& Message(Msg m) const { return messages[static_cast<size_t>(m)]; }
};

// The built-in Portuguese texts.
ConfigTexts BuiltInConfigTexts();

// "# Form de Configuração do Aparelho" and "# Nome dos Sensores".
inline constexpr std::string_view kConfigFormHeading = "# Form de Configura\xE7\xE3o do Aparelho";
inline constexpr std::string_view kSensorNamesHeading = "# Nome dos Sensores";
inline constexpr size_t kConfigFormLineCount = 112;

// Where the tables sit in the form's section (line 1 is the one after the heading).
namespace line {
inline constexpr size_t kResolutions = 19;
inline constexpr size_t kProbeResolutions = 23;
inline constexpr size_t kEdgeNames = 57;
inline constexpr size_t kLevelNames = 61;
inline constexpr size_t kGridHeaders = 69;
inline constexpr size_t kMessages = 83;
inline constexpr size_t kChannelNames = 105;
}  // namespace line

// The form's section as 112 targets (index i for line i + 1): the tables' lines write into
// `texts` and, for the channel names, into the program-wide table; every other line is left
// empty for the form to give to its controls.
std::vector<ui::LanguageTextTarget> ConfigTableTargets(ConfigTexts& texts);

// "# Nome dos Sensores": its twelve lines replace the input-type names in order.
void TranslateInputTypeNames(const ui::LanguageList& list, ConfigTexts& texts);

}  // namespace devconfig
