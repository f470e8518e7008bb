#include "tools/history_file_generator/history_file_generator.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace historygen {

namespace {

// Appends ", " and the value with the given decimals and "." as decimal mark, whatever the
// locale the application set (printf's %f would write the locale's mark).
char* AppendValue(char* out, char* end, double value, int decimals) {
  *out++ = ',';
  *out++ = ' ';
  return std::to_chars(out, end, value, std::chars_format::fixed, decimals).ptr;
}

}  // namespace

std::string HeaderText(bool longNames) {
  if (longNames)
    return " , , Sonda de temperatura do corredor A, , , , Forno de tratamento t\xE9rmico 2, , , \n"
           " , , Temperatura do ar na entrada, Umidade relativa do ar, Ambiente, Contagens, "
           "Temperatura da c\xE2mara superior, Canal 2, Ambiente, Contagens acumuladas do turno\n"
           " , , \xB0" "C, %, \xB0" "C, , \xB0" "C, \xB0" "C, \xB0" "C, \n";
  return " , , Sonda A, , , , Forno, , , \n"
         " , , Canal 1, Canal 2, Ambiente, Contagens, Canal 1, Canal 2, Ambiente, Contagens\n"
         " , , \xB0" "C, %, \xB0" "C, , \xB0" "C, \xB0" "C, \xB0" "C, \n";
}

int DataLineText(size_t i, char* buffer, size_t size) {
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

size_t WriteHistoryFile(const std::string& path, size_t lines, size_t runs, bool longNames) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  const std::string header = HeaderText(longNames);
  size_t bytes = std::fwrite(header.data(), 1, header.size(), file);
  if (runs == 0) runs = 1;
  const std::string newStart = "##_New_Start_##\n , \n , \n , \n";
  char line[256];
  for (size_t i = 0; i < lines; ++i) {
    if (i > 0 && i % ((lines + runs - 1) / runs) == 0)
      bytes += std::fwrite(newStart.data(), 1, newStart.size(), file);
    const int length = DataLineText(i, line, sizeof line);
    bytes += std::fwrite(line, 1, static_cast<size_t>(length), file);
  }
  // A short write (a full disk) or a failed close is a file that cannot be written.
  const bool written = std::ferror(file) == 0;
  if (std::fclose(file) != 0 || !written) return 0;
  return bytes;
}

std::string ManyShortRunsText(size_t runs, size_t linesPerRun) {
  std::string text = " , , Sonda A, \n , , Canal 1, Canal 2\n , , \xB0" "C, %\n";
  char line[96];
  size_t second = 0;
  for (size_t r = 0; r < runs; ++r) {
    if (r > 0) text += "##_New_Start_##\n , \n , \n , \n";
    for (size_t i = 0; i < linesPerRun; ++i, ++second) {
      const size_t day = second / 86400;
      const int length = std::snprintf(line, sizeof line, "%.2zu/%.2zu/2026, %.2zu:%.2zu:%.2zu.000, %zu.%zu, %zu\n",
                                       day % 28 + 1, day / 28 % 12 + 1, second / 3600 % 24, second / 60 % 60,
                                       second % 60, 20 + second % 7, second % 10, 40 + second % 13);
      text.append(line, static_cast<size_t>(length));
    }
    second += 3;  // the trigger was outside its level for a few readings
  }
  return text;
}

std::string TwoDevicesManyColumnsText(size_t valueColumns) {
  return " , , Sonda A, Forno\n , " + std::string(valueColumns, ',') + "\n , \n01/01/2026, 00:00:00.000, 1, 2\n";
}

}  // namespace historygen
