// Reading an INI file of many sections (50,000 took 25 s when every name was compared with
// all the names kept before it) and one section of many keys, against the floor of opening
// the file (reading and splitting its lines), and writing such files. Each figure is given at
// every size with its ratio to the size before: about the ratio of the sizes when the cost
// grows linearly (2 for a doubling).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/ini_file.h"

namespace {

// Targets at 50,000 names: listing them, and reading every value of every section (each
// read also checks whether another program changed the file).
constexpr double kListTargetMs = 250.0;
constexpr double kReadAllTargetMs = 1000.0;
// Writing 100,000 names (sections of four keys, or keys of one section) and the file.
constexpr double kWriteTargetMs = 1000.0;

// How the file is written: as it is, with one NUL in the middle of its text (a damaged file,
// read whole and told from UTF-16 over the whole of it), or in UTF-16 without its mark.
enum class Damage { kNone, kStrayNul, kUtf16 };

class IniFixture {
 public:
  explicit IniFixture(int count, Damage damage = Damage::kNone) {
    char pattern[] = "/tmp/tervana-ini-bench-XXXXXX";
    folder_ = mkdtemp(pattern);
    path_ = folder_ + "/many.cfg";
    // Every other name is repeated in another case further on, as hand-edited files do.
    std::string text;
    for (int i = 0; i < count; ++i) text += "[Section" + std::to_string(i) + "]\r\nValue=" + std::to_string(i) + "\r\n";
    for (int i = 0; i < count; i += 2) text += "[SECTION" + std::to_string(i) + "]\r\nValue=dup\r\n";
    text += "[Keys]\r\n";
    for (int i = 0; i < count; ++i) text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    if (damage == Damage::kStrayNul) text[text.size() / 2] = '\0';
    if (damage == Damage::kUtf16) {
      std::string units;
      for (const char c : text) units += std::string{c, '\0'};
      text = std::move(units);
    }
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~IniFixture() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string folder_, path_;
};

struct Figure {
  std::string what;
  double targetMs = 0;  // 0: no target (the floor)
  std::map<int64_t, double> ms;  // by number of names
};
std::map<std::string, Figure> g_figures;

template <typename Work>
void Measure(benchmark::State& state, const char* what, double targetMs, Work work, Damage damage = Damage::kNone) {
  IniFixture file(static_cast<int>(state.range(0)), damage);
  double totalMs = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    work(file.path());
    totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  const double ms = totalMs / static_cast<double>(state.iterations());
  state.counters["us_per_name"] = ms * 1000.0 / static_cast<double>(state.range(0));
  Figure& figure = g_figures[what];
  figure.what = what;
  figure.targetMs = targetMs;
  figure.ms[state.range(0)] = ms;
}

// The floor: opening reads and splits the whole file.
void BM_Open(benchmark::State& state) {
  Measure(state, "Open", 0.0, [](const std::string& path) { benchmark::DoNotOptimize(platform::IniFile(path).FileName()); });
}

// A file that holds a NUL is looked at whole to tell damaged text from UTF-16 without its mark:
// the damaged one is then read as any other, the UTF-16 one (twice the bytes) not at all.
void BM_OpenDamaged(benchmark::State& state) {
  Measure(
      state, "Open with a stray NUL", 0.0,
      [](const std::string& path) { benchmark::DoNotOptimize(platform::IniFile(path).FileName()); },
      Damage::kStrayNul);
}

void BM_OpenUtf16(benchmark::State& state) {
  Measure(
      state, "Open in UTF-16 (refused)", 0.0,
      [](const std::string& path) { benchmark::DoNotOptimize(platform::IniFile(path).FileName()); },
      Damage::kUtf16);
}

void BM_OpenAndListSections(benchmark::State& state) {
  Measure(state, "Open + ReadSections", kListTargetMs, [](const std::string& path) {
    platform::IniFile ini(path);
    benchmark::DoNotOptimize(ini.ReadSections());
  });
}

// What the option and configuration files do: list the sections, then read each one.
void BM_OpenAndReadEverySection(benchmark::State& state) {
  Measure(state, "Open + ReadSections + ReadSection and ReadString of each", kReadAllTargetMs, [](const std::string& path) {
    platform::IniFile ini(path);
    size_t found = 0;
    for (const std::string& section : ini.ReadSections()) {
      for (const std::string& key : ini.ReadSection(section)) found += ini.ReadString(section, key, "").size();
    }
    benchmark::DoNotOptimize(found);
  });
}

void BM_OpenAndListKeys(benchmark::State& state) {
  Measure(state, "Open + ReadSection of one section", kListTargetMs, [](const std::string& path) {
    platform::IniFile ini(path);
    benchmark::DoNotOptimize(ini.ReadSection("keys"));
  });
}

// Writing a file of many sections of a few keys each, and one section of many keys, in one
// update scope as the options files are saved: each new name is taken into the indexes in place
// (dropping the section index at each new section, and looking for a key through its whole
// section, made 100,000 of them cost a minute).
void BM_WriteSections(benchmark::State& state) {
  Measure(state, "Write sections of 4 keys (one scope)", kWriteTargetMs, [&state](const std::string& path) {
    platform::IniFile ini(path + ".out");
    platform::IniFile::UpdateScope scope(ini);
    ini.EraseAllSections();
    for (int64_t i = 0; i < state.range(0); ++i) {
      const std::string section = "XLS_STYLE_ITEM_" + std::to_string(i);
      for (const char* key : {"FontName", "FontSize", "FontColor", "Pattern"}) ini.WriteString(section, key, "1");
    }
    benchmark::DoNotOptimize(scope.Commit());
  });
}

void BM_WriteKeys(benchmark::State& state) {
  Measure(state, "Write keys of one section (one scope)", kWriteTargetMs, [&state](const std::string& path) {
    platform::IniFile ini(path + ".out");
    platform::IniFile::UpdateScope scope(ini);
    ini.EraseAllSections();
    for (int64_t i = 0; i < state.range(0); ++i) ini.WriteString("HEADER", "line" + std::to_string(i), "a header line");
    benchmark::DoNotOptimize(scope.Commit());
  });
}

// A note's save: its lines section erased (there is none after the file was cleared) and then
// written. The erase scanned every section and dropped the section index even when it found
// nothing, so the next look-up rebuilt it: 4,000 notes took 13 s.
void BM_EraseMissingThenWrite(benchmark::State& state) {
  Measure(state, "Erase a missing section, then write it (one scope)", kWriteTargetMs, [&state](const std::string& path) {
    platform::IniFile ini(path + ".out");
    platform::IniFile::UpdateScope scope(ini);
    ini.EraseAllSections();
    for (int64_t i = 0; i < state.range(0); ++i) {
      const std::string section = "XLS_NOTE_" + std::to_string(i) + "_LINES";
      ini.EraseSection(section);
      ini.WriteString(section, "line0", "a note");
    }
    benchmark::DoNotOptimize(scope.Commit());
  });
}

// Every section of a file erased one by one, by name or by prefix (a copy of the file, so that
// each run finds it whole): each erase takes its sections out of the index and moves no other.
void BM_EraseOneByOne(benchmark::State& state) {
  Measure(state, "Erase every section one by one (one scope)", kWriteTargetMs, [&state](const std::string& path) {
    const std::string copy = path + ".erased";
    std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
    platform::IniFile ini(copy);
    platform::IniFile::UpdateScope scope(ini);
    for (int64_t i = 0; i < state.range(0); i += 2) {
      ini.EraseSection("Section" + std::to_string(i));
      ini.EraseSectionsStartingWith("Section" + std::to_string(i + 1));
    }
    benchmark::DoNotOptimize(scope.Commit());
  });
}

}  // namespace

BENCHMARK(BM_Open)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDamaged)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenUtf16)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAndListSections)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAndReadEverySection)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAndListKeys)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSections)->Arg(12500)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteKeys)->Arg(12500)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EraseMissingThenWrite)->Arg(12500)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EraseOneByOne)->Arg(12500)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The figures once more: each size with its ratio to the size before, how the cost per name
// grew from the smallest file to the largest (about 1 when linear), the ratio to opening the
// same file, and the target at the largest size.
void PrintSummary() {
  const Figure* open = g_figures.count("Open") ? &g_figures["Open"] : nullptr;
  std::printf("\nINI file figures\n");
  for (const auto& [key, f] : g_figures) {
    if (f.ms.empty()) continue;
    std::printf("  %s\n   ", f.what.c_str());
    double previous = 0;
    int64_t previousNames = 0;
    for (const auto& [names, ms] : f.ms) {
      std::printf("  %lld: %.1f ms", static_cast<long long>(names), ms);
      if (previous > 0) std::printf(" (x%.2f for x%.0f names)", ms / previous, double(names) / double(previousNames));
      previous = ms;
      previousNames = names;
    }
    const auto& [smallest, smallMs] = *f.ms.begin();
    const auto& [largest, largeMs] = *f.ms.rbegin();
    const double growth = (largeMs / static_cast<double>(largest)) / (smallMs / static_cast<double>(smallest));
    std::printf("\n    cost per name x%.2f from %lld names", growth, static_cast<long long>(smallest));
    if (open && open->ms.count(largest) && &f != open) std::printf(", %.1f x opening", largeMs / open->ms.at(largest));
    if (f.targetMs > 0)
      std::printf(", target under %.0f ms at %lld names%s", f.targetMs, static_cast<long long>(largest),
                  largeMs < f.targetMs ? "" : "  ** OVER TARGET **");
    std::printf("\n");
  }
}

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintSummary();
  return 0;
}
