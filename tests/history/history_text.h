#pragma once
// Builds history file texts in the recorder's layout for the tests.
#include <cstdio>
#include <string>
#include <vector>

namespace history_test {

// Three header lines for one device "Sonda A" recording two values.
inline std::string Header() { return " , , Sonda A, \n , , Canal 1, Canal 2\n , , \xB0" "C, %\n"; }

// A data line of December 2026 (the day given) with its values.
inline std::string Line(int day, int h, int m, int s, int ms, const std::vector<std::string>& values) {
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%.2d/12/2026, %.2d:%.2d:%.2d.%.3d", day, h, m, s, ms);
  std::string line = stamp;
  for (const auto& v : values) line += ", " + v;
  return line + "\n";
}

inline const std::string kNewStart = "##_New_Start_##\n , \n , \n , \n";

}  // namespace history_test
