#pragma once
// Names of the probe's sensor kinds. The built-in Portuguese names can be replaced from the
// language file; the instrument code does not read that file itself: whoever loads it
// installs a provider here, and every `DeviceInterface` made afterwards takes its names from it.
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace device {

inline constexpr size_t kSensorNameCount = 11;
using SensorNames = std::array<std::string, kSensorNameCount>;

// What a name lookup gives for a kind that has no name.
inline constexpr std::string_view kUnknownSensorName = "????";
// The section of the language file that holds the replacements, in the built-in order.
inline constexpr std::string_view kSensorNamesHeading = "# Interface do Dispositivo";

// By index: 0 relative humidity, 1 temperature, 2 Pt100, 3..10 thermocouples J, K, T, N, E,
// R, S, B. Code page 1252.
const SensorNames& BuiltInSensorNames();

class SensorNameProvider {
 public:
  virtual ~SensorNameProvider() = default;
  // Replacements in index order; fewer than eleven leave the rest built in, and none at all
  // (no language file, or one without the section) leaves them all.
  virtual std::vector<std::string> SensorNameReplacements() const = 0;
};

// The lines of a loaded language file: the eleven lines after the first line that equals the
// heading (as many as there are).
class LanguageLinesSensorNames : public SensorNameProvider {
 public:
  explicit LanguageLinesSensorNames(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  std::vector<std::string> SensorNameReplacements() const override;

 private:
  std::vector<std::string> lines_;
};

// The provider new devices take their names from; null goes back to the built-in names.
// Safe to call from any thread.
void InstallSensorNameProvider(std::shared_ptr<const SensorNameProvider> provider);
// The names a device made now starts with.
SensorNames CurrentSensorNames();

// Name index of a probe sensor kind: kind 0 -> 0 (humidity), kinds 1..9 -> 2..10; -1 for any
// other kind.
int ProbeSensorNameIndex(int32_t kind);

}  // namespace device
