#pragma once
// The device configuration dialog for tests: a port folder of its own, simulated instruments
// started on demand, a user who answers from a script, and the writes each instrument saw.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "devconfig/config_form.h"
#include "platform/datetime.h"
#include "tests/instrument/pty_pair.h"
#include "tests/support/fake_user_interaction.h"
#include "tools/sim/simulated_instrument.h"

namespace configtest {

// One register write (function 6, or 71 in the calibration space) as the instrument received it.
struct RegisterWrite {
  uint16_t reg = 0;
  uint16_t value = 0;
  bool operator==(const RegisterWrite&) const = default;
  friend void PrintTo(const RegisterWrite& w, std::ostream* os) { *os << w.reg << "=" << std::hex << w.value << std::dec; }
};

// The writes in order. A try repeated because a reply came late (a busy machine) is the same
// write again and is counted once, unless every try is wanted.
inline std::vector<RegisterWrite> WritesIn(const std::vector<sim::LogEntry>& log, bool everyTry = false,
                                           uint8_t function = 6) {
  std::vector<RegisterWrite> writes;
  for (const sim::LogEntry& e : log) {
    if (e.direction != sim::LogEntry::Direction::Request || e.bytes.size() != 8 || e.bytes[1] != function) continue;
    const RegisterWrite w{static_cast<uint16_t>(e.bytes[2] << 8 | e.bytes[3]),
                          static_cast<uint16_t>(e.bytes[4] << 8 | e.bytes[5])};
    if (everyTry || writes.empty() || !(writes.back() == w)) writes.push_back(w);
  }
  return writes;
}

// Writes of the calibration space (function 71).
inline std::vector<RegisterWrite> CalibrationWritesIn(const std::vector<sim::LogEntry>& log) {
  return WritesIn(log, false, 71);
}

inline size_t RequestsIn(const std::vector<sim::LogEntry>& log, uint8_t function, uint16_t firstRegister) {
  size_t n = 0;
  for (const sim::LogEntry& e : log)
    if (e.direction == sim::LogEntry::Direction::Request && e.bytes.size() >= 4 && e.bytes[1] == function &&
        (e.bytes[2] << 8 | e.bytes[3]) == firstRegister)
      ++n;
  return n;
}

inline sim::InstrumentOptions Model0(uint16_t firmware = 110, uint32_t serial = 12345) {
  sim::InstrumentOptions o;
  o.firmware = firmware;
  o.serialNumber = serial;
  o.tag = "Estufa";
  return o;
}

inline sim::InstrumentOptions Probe(int kind, uint32_t serial = 20002) {
  sim::InstrumentOptions o;
  o.model = sim::Model::Probe;
  o.probeKind = kind;
  o.serialNumber = serial;
  o.firmware = 105;
  o.tag = "Sonda";
  return o;
}

// A wall clock that stands still: 5 March 2024, 10:30.
class FixedWallClock : public platform::WallClock {
 public:
  TDateTime Now() const override { return now; }
  TDateTime now = [] {
    TDateTime t = 0;
    platform::TryEncodeDateTime(2024, 3, 5, 10, 30, 0, 0, t);
    return t;
  }();
};

struct ConfigWorld {
  ConfigWorld() : form(std::make_unique<TConfigForm>(user)) { form->SetWallClock(clock); }
  ~ConfigWorld() { form.reset(); }

  sim::SimulatedInstrument& Start(int com, const sim::InstrumentOptions& options) {
    instruments.push_back(std::make_unique<sim::SimulatedInstrument>(options));
    std::string error;
    EXPECT_TRUE(instruments.back()->Start(ports.path(), com, &error)) << error;
    return *instruments.back();
  }

  template <class W = QWidget>
  W* Find(const char* name) const {
    W* w = form->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QLineEdit* Edit(const char* name) const { return Find<QLineEdit>(name); }
  QString Text(const char* name) const { return Edit(name)->text(); }
  // As the user types into a field (it counts as changed, its exit check is due).
  void Type(const char* name, const QString& text) const {
    QLineEdit* edit = Edit(name);
    edit->setText(text);
    edit->setModified(true);
  }
  // Types and leaves the field; true when its check let it go.
  bool TypeAndLeave(const char* name, const QString& text) const {
    Type(name, text);
    return form->LeaveField(Edit(name));
  }
  void Click(const char* name) const { Find<QAbstractButton>(name)->click(); }
  QTabWidget* Pages() const { return Find<QTabWidget>("ConfigPageControl"); }
  bool PageShown(TConfigForm::Page page) const { return Pages()->isTabVisible(page); }
  QTreeWidget* List() const { return Find<QTreeWidget>("ListView"); }
  void Select(int row) const { List()->setCurrentItem(List()->topLevelItem(row)); }

  // Pictures of the dialog for a person to look at, when TERVANA_DEVCONFIG_SHOTS names a folder.
  void Shot(const QString& name) const {
    const QString folder = qEnvironmentVariable("TERVANA_DEVCONFIG_SHOTS");
    if (folder.isEmpty()) return;
    form->show();
    QApplication::processEvents();
    form->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
  }

  testing_support::TempPortFolder ports;
  testsupport::FakeUserInteraction user;
  std::vector<std::unique_ptr<sim::SimulatedInstrument>> instruments;
  FixedWallClock clock;
  std::unique_ptr<TConfigForm> form;
};

}  // namespace configtest
