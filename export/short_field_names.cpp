#include "export/short_field_names.h"

#include "platform/cp1252_case.h"

namespace vantrix {
namespace {

using platform::Cp1252Folded;

}  // namespace

std::string TShortFieldNameGenerator::GetShortFieldName(const std::string& name) {
  const std::string cut = name.substr(0, kMaxLength);
  const std::string key = Cp1252Folded(cut);
  std::string result = cut;
  int& count = counts_[key];
  // A cut name may meet a name given earlier with a suffix ("TEMPERAT~1" as a column's own
  // name): the count goes on until the name is free.
  while (given_.count(Cp1252Folded(result)) != 0) {
    ++count;
    const std::string suffix = "~" + std::to_string(count);
    result = cut.substr(0, kMaxLength - suffix.size()) + suffix;
  }
  given_.insert(Cp1252Folded(result));
  return result;
}

}  // namespace vantrix
