#include "instrument/sensor_names.h"

#include <algorithm>
#include <mutex>

namespace device {
namespace {

std::mutex providerMutex;
std::shared_ptr<const SensorNameProvider> installedProvider;

}  // namespace

const SensorNames& BuiltInSensorNames() {
  static const SensorNames names = {
      "Umidade Relativa", "Temperatura", "Pt100",      "Termopar J", "Termopar K", "Termopar T",
      "Termopar N",       "Termopar E",  "Termopar R", "Termopar S", "Termopar B",
  };
  return names;
}

std::vector<std::string> LanguageLinesSensorNames::SensorNameReplacements() const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i] != kSensorNamesHeading) continue;
    const size_t end = std::min(lines_.size(), i + 1 + kSensorNameCount);
    return std::vector<std::string>(lines_.begin() + static_cast<std::ptrdiff_t>(i + 1),
                                    lines_.begin() + static_cast<std::ptrdiff_t>(end));
  }
  return {};
}

void InstallSensorNameProvider(std::shared_ptr<const SensorNameProvider> provider) {
  std::lock_guard lock(providerMutex);
  installedProvider = std::move(provider);
}

SensorNames CurrentSensorNames() {
  std::shared_ptr<const SensorNameProvider> provider;
  {
    std::lock_guard lock(providerMutex);
    provider = installedProvider;
  }
  SensorNames names = BuiltInSensorNames();
  if (!provider) return names;
  const std::vector<std::string> replacements = provider->SensorNameReplacements();
  for (size_t i = 0; i < replacements.size() && i < kSensorNameCount; ++i) names[i] = replacements[i];
  return names;
}

int ProbeSensorNameIndex(int32_t kind) {
  if (kind == 0) return 0;
  if (kind >= 1 && kind <= 9) return kind + 1;
  return -1;
}

}  // namespace device
