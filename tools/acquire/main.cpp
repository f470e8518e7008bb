// tervana-acquire: one reading run without windows, from the command line.
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "acquisition/reading_run.h"
#include "instrument/device_interface.h"
#include "platform/ports.h"
#include "tools/acquire/acquire_options.h"
#include "tools/acquire/headless_run.h"

namespace {

std::atomic<bool> g_stop{false};

void RequestStop(int) { g_stop = true; }

// As often as the main window's updater timer in each mode.
constexpr std::chrono::milliseconds kSlowTick{25};
constexpr std::chrono::milliseconds kFastTick{5};

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = acquire::ParseAcquireOptions(std::vector<std::string>(argv + 1, argv + argc), &error);
  if (!options) {
    std::fprintf(stderr, "tervana-acquire: %s\n", error.c_str());
    return 2;
  }
  if (options->help) {
    std::fputs(acquire::AcquireUsage().c_str(), stdout);
    return 0;
  }
  if (!options->portFolder.empty()) platform::SetPortFolder(options->portFolder);
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  acquire::HeadlessDisplays displays;
  for (const auto& window : options->windows) displays.Add(window);
  acquire::FixedSettings settings(options->settings);
  acquire::PrintingUser user(settings, options->settings.logFileName, options->existing, options->echo);
  acquisition::ReadingRun run(displays, settings, user);

  acquire::PrintingUser::Say(options->settings.historyOn ? "Histórico (parado): " + options->settings.logFileName
                                                         : std::string("Histórico: Desabilitado"));
  const auto started = run.StartReadings();
  // The program's window would stay empty; here the user is told which instrument is missing.
  for (uint32_t serial : displays.Unfound()) {
    std::fprintf(stderr, "tervana-acquire: instrument %u answers on no port of the port folder: not read\n", serial);
  }
  if (!started) {
    std::fprintf(stderr, "tervana-acquire: no reading run started (no instrument found or one did not answer)\n");
    return 1;
  }
  const auto& trigger = options->settings.trigger;
  const auto devices = run.Devices();
  if (options->settings.historyOn && trigger.on &&
      std::none_of(devices.begin(), devices.end(), [&](const DeviceInterface* d) {
        return static_cast<uint32_t>(d->regs.SerialNumber) == trigger.sourceSerial;
      })) {
    run.StopReadings();
    std::fprintf(stderr, "tervana-acquire: the trigger's instrument %u is not in the run: nothing would be recorded\n",
                 trigger.sourceSerial);
    return 1;
  }
  acquire::PrintingUser::Say(started->fast ? std::string("Lendo em modo rápido.")
                                            : "Lendo em modo lento. Taxa de leituras: " +
                                                  std::to_string(started->readIntervalMs) + " ms");
  const auto tick = started->fast ? kFastTick : kSlowTick;
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(options->seconds);
  while (!g_stop && run.Reading() && (options->seconds == 0 || std::chrono::steady_clock::now() < end)) {
    run.Tick();
    std::this_thread::sleep_for(tick);
  }
  if (!run.Reading()) return 1;  // stopped by a failure, which was printed
  run.StopReadings();
  acquire::PrintingUser::Say("Leituras suspensas");
  return 0;
}
