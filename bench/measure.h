#pragma once
// What the benchmarks measure with: the wall clock, this process's processor time, and its
// resident memory as Linux reports it.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

// This process's processor time: what the work cost, whatever else the machine is running.
inline double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// "VmHWM" (the peak) or "VmRSS" (now) of this process, in MB; 0 when it can't be read.
inline double StatusMb(const char* key) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return 0;
  char line[256];
  double kb = 0;
  const size_t length = std::strlen(key);
  while (std::fgets(line, sizeof line, status) != nullptr)
    if (std::strncmp(line, key, length) == 0 && line[length] == ':') kb = std::atof(line + length + 1);
  std::fclose(status);
  return kb / 1024;
}

// From here on the peak resident size ("VmHWM") counts again from the present one (Linux 4.0
// and later); false where it can't.
inline bool ResetPeak() {
  std::FILE* reset = std::fopen("/proc/self/clear_refs", "w");
  if (reset == nullptr) return false;
  const bool written = std::fputs("5", reset) >= 0;
  return std::fclose(reset) == 0 && written;
}

// The most memory this process has held since it started, in MB.
inline double PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace bench
