// The environment file with a workspace of 64 display windows, half of them charts of 8
// channels: the codec alone (encode and decode), against copying the same bytes; the main
// window's SaveEnvironment (collecting the workspace, encoding, the atomic write with its
// flush to the disk), against the atomic write alone; and LoadEnvironment until the 64 windows
// show, against making 64 new display windows.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "app/environment_file.h"
#include "app/help_viewer.h"
#include "app/program_forms.h"
#include "app/view_form.h"
#include "display/display_form.h"
#include "platform/atomic_file.h"
#include "platform/ports.h"
#include "ui/print_service.h"
#include "ui/program_directory.h"
#include "ui/user_interaction.h"

namespace {

constexpr int kWindows = 64;
constexpr int kChartChannels = 8;

struct Figure {
  double targetMs = 0;  // 0: a floor, no target
  const char* floor = nullptr;
  double ms = 0;
};
std::map<std::string, Figure> g_figures;

app::Environment Workspace() {
  app::Environment env;
  env.mainWindow = {false, 0, 0, 1600, 1000};
  env.readings.historyFileName = "/dados/ensaio.mpc";
  for (int i = 0; i < kWindows; ++i) {
    DisplayWindowRecord w;
    w.left = (i % 8) * 190;
    w.top = (i / 8) * 110;
    w.width = 180;
    w.height = 100;
    w.config = DisplayConfig::NewWindowDefaults();
    if (i % 2 == 0) {
      for (int c = 0; c < kChartChannels; ++c) {
        ChartChannelEntry e;
        e.name = "Estufa / Canal " + std::to_string(c);
        e.deviceSerial = 1000 + static_cast<uint32_t>(c);
        e.valueIndex = static_cast<uint16_t>(c % 5);
        e.color = 0x0000FFu << (c % 3);
        w.config.chartChannels.push_back(e);
      }
    } else {
      w.config.kind = static_cast<DisplayKind>(2 + (i / 2) % 5);
      w.config.deviceSerial = 1000 + static_cast<uint32_t>(i);
      w.config.valueIndex = 1;
      w.config.deviceTag = "Estufa";
    }
    env.windows.push_back(std::move(w));
  }
  return env;
}

class QuietUser : public ui::UserInteraction {
 public:
  bool AskYesNo(QWidget*, const QString&, const QString&) override { return true; }
  void ShowMessage(QWidget*, const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
  void ShowError(QWidget*, const QString&, const QString& text) override { ShowMessage(nullptr, text); }
  void ShowWarning(QWidget*, const QString&, const QString& text) override { ShowMessage(nullptr, text); }
  std::optional<QString> ChooseOpenFile(QWidget*, const ui::FileDialogRequest&) override { return std::nullopt; }
  std::optional<QString> ChooseSaveFile(QWidget*, const ui::FileDialogRequest&) override { return std::nullopt; }
  int RunModal(QDialog*) override { return 0; }
};

class NoHelp : public app::HelpViewer {
 public:
  void ShowContext(const QString&, int) override {}
  void ShowDefaultTopic(const QString&) override {}
  void CloseAll() override {}
};

// The program, its forms offscreen, a folder for the files, and no instruments on the ports.
struct Program {
  Program() {
    ui::SetProgramDirectory(dir.path().toStdString());
    QDir().mkpath(dir.filePath(QStringLiteral("ports")));
    platform::SetPortFolder(dir.filePath(QStringLiteral("ports")).toStdString());
    forms = app::CreateProgramForms(user, help, std::make_unique<ui::PdfFilePrintService>(dir.filePath("x.pdf")));
    forms->viewForm->resize(1600, 1000);
    forms->viewForm->show();
    const std::vector<uint8_t> bytes = app::EncodeEnvironment(Workspace());
    QFile out(File());
    out.open(QIODevice::WriteOnly);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  }
  QString File() const { return dir.filePath(QStringLiteral("workspace.env")); }
  app::TViewForm& View() { return *forms->viewForm; }
  int ShownDisplays() {
    int shown = 0;
    for (QWidget* child : View().ChildWindows()) shown += qobject_cast<TDisplayForm*>(child) != nullptr && child->isVisible();
    return shown;
  }
  void CloseDisplays() {
    View().CloseAllDisplays();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }

  QTemporaryDir dir;
  QuietUser user;
  NoHelp help;
  std::unique_ptr<app::ProgramForms> forms;
};

Program& TheProgram() {
  static Program program;
  return program;
}

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Record(benchmark::State& state, const char* what, double totalMs, double targetMs, const char* floor = nullptr) {
  const double ms = totalMs / static_cast<double>(state.iterations());
  g_figures[what] = {targetMs, floor, ms};
  state.counters["ms"] = ms;
}

void BM_CopyBytes(benchmark::State& state) {
  const std::vector<uint8_t> bytes = app::EncodeEnvironment(Workspace());
  double total = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    std::vector<uint8_t> copy(bytes);
    benchmark::DoNotOptimize(copy.data());
    total += Ms(Clock::now() - start);
  }
  Record(state, "copy the file's bytes", total, 0);
}

void BM_Encode(benchmark::State& state) {
  const app::Environment env = Workspace();
  double total = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(app::EncodeEnvironment(env));
    total += Ms(Clock::now() - start);
  }
  Record(state, "EncodeEnvironment", total, 1.0, "copy the file's bytes");
}

void BM_Decode(benchmark::State& state) {
  const std::vector<uint8_t> bytes = app::EncodeEnvironment(Workspace());
  double total = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(app::DecodeEnvironment(bytes));
    total += Ms(Clock::now() - start);
  }
  Record(state, "DecodeEnvironment", total, 1.0, "copy the file's bytes");
}

void BM_AtomicWrite(benchmark::State& state) {
  Program& program = TheProgram();
  const std::vector<uint8_t> bytes = app::EncodeEnvironment(Workspace());
  const std::string path = QFile::encodeName(program.dir.filePath(QStringLiteral("floor.env"))).toStdString();
  double total = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    platform::AtomicFile file;
    if (!file.Open(path) || !file.Write(reinterpret_cast<const char*>(bytes.data()), bytes.size()) || !file.Commit()) {
      state.SkipWithError("atomic write failed");
      return;
    }
    total += Ms(Clock::now() - start);
  }
  Record(state, "atomic write of the same bytes", total, 0);
}

void BM_SaveEnvironment(benchmark::State& state) {
  Program& program = TheProgram();
  if (program.ShownDisplays() != kWindows) {
    program.CloseDisplays();
    program.View().LoadEnvironment(program.File());
  }
  const QString target = program.dir.filePath(QStringLiteral("saved.env"));
  double total = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    if (!program.View().SaveEnvironment(target)) {
      state.SkipWithError("save failed");
      return;
    }
    total += Ms(Clock::now() - start);
  }
  Record(state, "SaveEnvironment, 64 windows", total, 50.0, "atomic write of the same bytes");
}

void BM_NewWindows(benchmark::State& state) {
  Program& program = TheProgram();
  double total = 0;
  for (auto _ : state) {
    program.CloseDisplays();
    const auto start = Clock::now();
    for (int i = 0; i < kWindows; ++i) program.View().AddChildWindow(new TDisplayForm());
    QCoreApplication::processEvents();
    total += Ms(Clock::now() - start);
  }
  Record(state, "64 new display windows", total, 0);
}

void BM_LoadEnvironment(benchmark::State& state) {
  Program& program = TheProgram();
  double total = 0;
  for (auto _ : state) {
    program.CloseDisplays();
    const auto start = Clock::now();
    if (!program.View().LoadEnvironment(program.File())) {
      state.SkipWithError("load failed");
      return;
    }
    QCoreApplication::processEvents();
    total += Ms(Clock::now() - start);
    if (program.ShownDisplays() != kWindows) {
      state.SkipWithError("the windows did not all show");
      return;
    }
  }
  Record(state, "LoadEnvironment to 64 shown windows", total, 1500.0, "64 new display windows");
}

BENCHMARK(BM_CopyBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Encode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Decode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AtomicWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveEnvironment)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewWindows)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadEnvironment)->Unit(benchmark::kMillisecond)->Iterations(5);

void PrintSummary() {
  std::printf("\nEnvironment file figures (%d windows, %d of them charts of %d channels)\n", kWindows, kWindows / 2,
              kChartChannels);
  for (const auto& [what, f] : g_figures) {
    std::printf("  %-40s %10.3f ms", what.c_str(), f.ms);
    if (f.floor != nullptr && g_figures.count(f.floor)) {
      std::printf(", %7.1f x %s", f.ms / g_figures[f.floor].ms, f.floor);
    }
    if (f.targetMs > 0) {
      std::printf(" (target under %.0f ms)%s", f.targetMs, f.ms < f.targetMs ? "" : "  ** OVER TARGET **");
    }
    std::printf("\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintSummary();
  // The forms go while the application still exists.
  TheProgram().forms.reset();
  return 0;
}
