#pragma once
// Benchmarks that time a fixed count of transactions over a pseudo-terminal take seconds
// each. `--smoke` runs every case once, so that ctest checks that such a benchmark still
// works; a run by hand keeps the counts its figures are made of.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>

namespace bench {

// Takes --smoke out of the command line before Google Benchmark reads it; true when it was
// there.
inline bool TakeSmokeFlag(int& argc, char** argv) {
  bool smoke = false;
  int kept = 0;
  for (int i = 0; i < argc; ++i) {
    if (i > 0 && std::strcmp(argv[i], "--smoke") == 0)
      smoke = true;
    else
      argv[kept++] = argv[i];
  }
  argc = kept;
  argv[argc] = nullptr;
  return smoke;
}

// The count of a case: `full` in a run by hand, one in a smoke run.
inline int64_t Iterations(int64_t full, bool smoke) { return smoke ? 1 : full; }

// A benchmark program's main: its cases registered for a smoke run or a full one, then run.
inline int RunRegistered(int argc, char** argv, void (*registerCases)(bool smoke)) {
  registerCases(TakeSmokeFlag(argc, argv));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench
