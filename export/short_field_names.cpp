#include "export/short_field_names.h"

#include "platform/cp1252_case.h"

namespace vantrix {
namespace {

std::string Folded(const std::string& text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(platform::Cp1252FoldCase(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

std::string TShortFieldNameGenerator::GetShortFieldName(const std::string& name) {
  const std::string cut = name.substr(0, kMaxLength);
  const std::string key = Folded(cut);
  std::string result = cut;
  int& count = counts_[key];
  // A cut name may meet a name given earlier with a suffix ("TEMPERAT~1" as a column's own
  // name): the count goes on until the name is free.
  while (given_.count(Folded(result)) != 0) {
    ++count;
    const std::string suffix = "~" + std::to_string(count);
    result = cut.substr(0, kMaxLength - suffix.size()) + suffix;
  }
  given_.insert(Folded(result));
  return result;
}

}  // namespace vantrix
