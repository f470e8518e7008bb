#pragma once
// dBase field names hold at most 10 characters. Longer names are cut, and a name that was
// handed out already (case ignored, since the names are written in upper case) gets "~" and a
// count in its last places: TemperatureA, TemperatureB and TemperatureC become TEMPERATUR,
// TEMPERAT~1 and TEMPERAT~2. Every name goes through the generator, so no two fields of a
// table share a name.
#include <map>
#include <set>
#include <string>

namespace vantrix {

class TShortFieldNameGenerator {
 public:
  static constexpr size_t kMaxLength = 10;

  // A name of at most 10 characters that no earlier call returned (compared without case).
  std::string GetShortFieldName(const std::string& name);

 private:
  std::map<std::string, int> counts_;  // folded first 10 characters → times they came
  std::set<std::string> given_;        // folded names handed out
};

}  // namespace vantrix
