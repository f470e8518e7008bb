// tervana-acquire: one reading run without windows, from the command line.
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "acquisition/reading_run.h"
#include "platform/ports.h"
#include "tools/acquire/acquire_options.h"
#include "tools/acquire/headless_run.h"

namespace {

std::atomic<bool> g_stop{false};

void RequestStop(int) { g_stop = true; }

// As often as the main window's updater timer.
constexpr std::chrono::milliseconds kTick{25};

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
  if (!started) {
    std::fprintf(stderr, "tervana-acquire: no reading run started (no instrument found or one did not answer)\n");
    return 1;
  }
  acquire::PrintingUser::Say("Lendo em modo lento. Taxa de leituras: " + std::to_string(started->readIntervalMs) +
                             " ms");
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(options->seconds);
  while (!g_stop && (options->seconds == 0 || std::chrono::steady_clock::now() < end)) {
    run.Tick();
    std::this_thread::sleep_for(kTick);
  }
  run.StopReadings();
  acquire::PrintingUser::Say("Leituras suspensas");
  return 0;
}
