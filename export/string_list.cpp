#include "export/string_list.h"

#include "platform/cp1252_case.h"

namespace vantrix {

std::string_view LineName(std::string_view line) {
  const size_t eq = line.find('=');
  return eq == line.npos ? line : line.substr(0, eq);
}

std::string_view LineValue(std::string_view line) {
  const size_t eq = line.find('=');
  return eq == line.npos ? std::string_view() : line.substr(eq + 1);
}

int IndexOfName(const TStrings& lines, std::string_view name) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const size_t eq = lines[i].find('=');
    if (eq != std::string::npos && platform::Cp1252SameText(std::string_view(lines[i]).substr(0, eq), name))
      return static_cast<int>(i);
  }
  return -1;
}

bool FindValue(const TStrings& lines, std::string_view name, std::string& value) {
  const int i = IndexOfName(lines, name);
  if (i < 0) return false;
  value = std::string(LineValue(lines[static_cast<size_t>(i)]));
  return true;
}

int IndexOfText(const TStrings& lines, std::string_view text) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (platform::Cp1252SameText(lines[i], text)) return static_cast<int>(i);
  return -1;
}

}  // namespace vantrix
