#pragma once
// One simulated instrument on a pseudo-terminal in a folder of its own, which the port folder
// points at while it lives: what each device benchmark talks to.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/ports.h"
#include "tools/sim/simulated_instrument.h"

struct SimulatedLine {
  std::string folder;
  std::unique_ptr<sim::SimulatedInstrument> instrument;

  SimulatedLine(sim::Model model, int port) {
    char pattern[] = "/tmp/tervana-bench-XXXXXX";
    folder = mkdtemp(pattern);
    platform::SetPortFolder(folder);
    sim::InstrumentOptions options;
    options.model = model;
    options.firmware = model == sim::Model::Probe ? 105 : 110;
    options.logCapacity = 0;
    instrument = std::make_unique<sim::SimulatedInstrument>(options);
    std::string error;
    if (!instrument->Start(folder, port, &error)) std::fprintf(stderr, "simulator: %s\n", error.c_str());
  }
  ~SimulatedLine() {
    instrument->Stop();
    platform::SetPortFolder("");
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  SimulatedLine(const SimulatedLine&) = delete;
  SimulatedLine& operator=(const SimulatedLine&) = delete;
};
