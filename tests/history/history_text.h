#pragma once
// Builds history file texts in the recorder's layout for the tests.
#include <cstdio>
#include <string>
#include <vector>

namespace history_test {

// Three header lines for one device "Sonda A" recording two values.
inline std::string Header(const std::string& device = "Sonda A") {
  return " , , " + device + ", \n , , Canal 1, Canal 2\n , , \xB0" "C, %\n";
}

inline std::string DataLine(int day, int month, int year, int h, int m, int s, int ms,
                            const std::vector<std::string>& values) {
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%.2d/%.2d/%.4d, %.2d:%.2d:%.2d.%.3d", day, month, year, h, m, s, ms);
  std::string line = stamp;
  for (const auto& v : values) line += ", " + v;
  return line + "\n";
}

inline std::string NewStart() { return "##_New_Start_##\n , \n , \n , \n"; }

}  // namespace history_test
