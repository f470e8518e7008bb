#pragma once
// Writes a history file of the recorder's layout for the benchmark: two devices with four
// values each, one line a second.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace history_bench {

inline std::string HeaderText() {
  return " , , Sonda A, , , , Forno, , , \n"
         " , , Canal 1, Canal 2, Ambiente, Contagens, Canal 1, Canal 2, Ambiente, Contagens\n"
         " , , \xB0" "C, %, \xB0" "C, , \xB0" "C, \xB0" "C, \xB0" "C, \n";
}

// Appends ", " and the value with the given decimals and "." as decimal mark, whatever the
// locale the application set (printf's %f would write the locale's mark).
inline char* AppendValue(char* out, char* end, double value, int decimals) {
  *out++ = ',';
  *out++ = ' ';
  return std::to_chars(out, end, value, std::chars_format::fixed, decimals).ptr;
}

// Line i, written into buffer (at least 256 bytes); returns its length.
inline int DataLineText(size_t i, char* buffer, size_t size) {
  const long long ms = static_cast<long long>(i) * 1000;
  const long long s = ms / 1000;
  const long long day = s / 86400;  // from 1 January 2026 on
  const int month = 1 + static_cast<int>(day / 28) % 12;
  const double w = static_cast<double>(i) * 0.001;
  const int stamp = std::snprintf(buffer, size, "%.2lld/%.2d/2026, %.2lld:%.2lld:%.2lld.%.3lld", day % 28 + 1, month,
                                  s / 3600 % 24, s / 60 % 60, s % 60, ms % 1000);
  char* out = buffer + stamp;
  char* const end = buffer + size - 1;
  out = AppendValue(out, end, 23.0 + 5 * std::sin(w), 2);
  out = AppendValue(out, end, 55.0 + 20 * std::cos(w * 0.7), 3);
  out = AppendValue(out, end, 24.5 + std::sin(w * 0.1), 3);
  out = AppendValue(out, end, static_cast<double>(1000000 + i % 100000), 0);
  out = AppendValue(out, end, 180.0 + 40 * std::sin(w * 0.3), 2);
  out = AppendValue(out, end, 175.25 + 35 * std::cos(w * 0.2), 3);
  out = AppendValue(out, end, 26.0 + std::cos(w * 0.05), 3);
  out = AppendValue(out, end, static_cast<double>(1000000 + i / 10), 0);
  *out++ = '\n';
  return static_cast<int>(out - buffer);
}

// Writes the file line by line (no copy of it in memory); returns its size in bytes.
inline size_t WriteHistoryFile(const std::string& path, size_t lines) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  const std::string header = HeaderText();
  size_t bytes = std::fwrite(header.data(), 1, header.size(), file);
  char line[256];
  for (size_t i = 0; i < lines; ++i) {
    const int length = DataLineText(i, line, sizeof line);
    bytes += std::fwrite(line, 1, static_cast<size_t>(length), file);
  }
  std::fclose(file);
  return bytes;
}

// A file with valueColumns value columns (one device) and a few lines of them.
inline std::string WideFileText(size_t valueColumns, size_t lines) {
  std::string text = " , , Sonda A\n , ";
  for (size_t c = 0; c < valueColumns; ++c) text += ", V" + std::to_string(c + 1);
  text += "\n , \n";
  for (size_t i = 0; i < lines; ++i) {
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "01/01/2026, 00:00:%.2zu.000", i % 60);
    text += stamp;
    for (size_t c = 0; c < valueColumns; ++c) text += ", " + std::to_string((c + i) % 100);
    text += '\n';
  }
  return text;
}

// A file of the benchmark's layout with runs recordings appended one after another, each of
// linesPerRun lines (a trigger that opens and closes the recording often).
inline std::string ManyRunsFileText(size_t runs, size_t linesPerRun) {
  std::string text = HeaderText();
  char line[256];
  for (size_t r = 0; r < runs; ++r) {
    if (r > 0) text += "##_New_Start_##\n , \n , \n , \n";
    for (size_t i = 0; i < linesPerRun; ++i)
      text.append(line, static_cast<size_t>(DataLineText(r * (linesPerRun + 5) + i, line, sizeof line)));
  }
  return text;
}

}  // namespace history_bench
