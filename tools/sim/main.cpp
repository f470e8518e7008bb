// tervana-sim: runs one simulated instrument until SIGINT or SIGTERM.
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>

#include "platform/cp1252.h"
#include "tools/sim/command_line.h"
#include "tools/sim/simulated_instrument.h"

namespace {

std::string WallClockStamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto micros =
      std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count() % 1000000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%06lld", local.tm_hour, local.tm_min,
                local.tm_sec, static_cast<long long>(micros));
  return text;
}

void PrintEntry(const sim::LogEntry& entry) {
  std::string line = WallClockStamp();
  char hex[8];
  if (entry.direction == sim::LogEntry::Direction::Stream) {
    // A record is text: shown as such, with its line end and any odd byte escaped.
    line += "  stream   ";
    for (uint8_t byte : entry.bytes) {
      if (byte >= 0x20 && byte < 0x7F) {
        line.push_back(static_cast<char>(byte));
      } else {
        std::snprintf(hex, sizeof hex, "\\x%02X", byte);
        line += hex;
      }
    }
    std::puts(line.c_str());
    std::fflush(stdout);
    return;
  }
  line += entry.direction == sim::LogEntry::Direction::Request ? "  request" : "  reply  ";
  for (uint8_t byte : entry.bytes) {
    std::snprintf(hex, sizeof hex, " %02X", byte);
    line += hex;
  }
  std::puts(line.c_str());
  std::fflush(stdout);
}

std::string DefaultPortFolder() {
  const char* env = std::getenv("TERVANA_PORT_DIR");
  return env && *env ? env : "ports";
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  auto line = sim::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), &error);
  if (!line) {
    std::fprintf(stderr, "tervana-sim: %s\n", error.c_str());
    return 2;
  }
  if (line->help) {
    std::fputs(sim::UsageText().c_str(), stdout);
    return 0;
  }
  const std::string folder = std::filesystem::absolute(
      line->portFolder.empty() ? DefaultPortFolder() : line->portFolder).lexically_normal().string();

  // The signals are taken by sigwait below, never by a handler, so every thread blocks them
  // (the serving thread inherits the mask).
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  line->instrument.logCapacity = 0;  // printed as it happens; a long run must not pile it up
  sim::SimulatedInstrument instrument(line->instrument);
  for (auto [reg, value] : line->holdingValues) instrument.SetHoldingRegister(reg, value);
  for (auto [reg, value] : line->calibrationValues) instrument.SetCalibrationRegister(reg, value);
  for (const auto& fault : line->faults) instrument.InjectFault(fault);
  for (const auto& fault : line->streamFaults) instrument.InjectStreamFault(fault);
  if (!line->quiet) instrument.SetLogListener(PrintEntry);

  if (!instrument.Start(folder, line->comNumber, &error)) {
    std::fprintf(stderr, "tervana-sim: %s\n", error.c_str());
    return 1;
  }
  const auto& o = instrument.Options();
  std::printf("%s on %s as %s\n", o.model == sim::Model::Probe ? "Probe" : "Model 0 instrument",
              instrument.SlavePath().c_str(), instrument.PortLinkPath().c_str());
  std::printf("serial %08u, firmware %u.%02u, address %u, tag \"%s\"\n", o.serialNumber,
              o.firmware / 100, o.firmware % 100, o.slaveAddress, platform::Cp1252ToUtf8(o.tag).c_str());
  std::printf("Start Tervana with TERVANA_PORT_DIR=%s; stop with Ctrl+C.\n", folder.c_str());
  std::fflush(stdout);

  int signal = 0;
  sigwait(&stopSignals, &signal);
  instrument.Stop();
  std::printf("Stopped; %s removed.\n", (folder + "/com" + std::to_string(line->comNumber)).c_str());
  return 0;
}
