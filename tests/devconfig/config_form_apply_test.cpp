// "Aplica" against simulated instruments: what a no-op apply writes, what one edit changes,
// what is refused, and that nothing of one instrument reaches another.
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <bit>
#include <cmath>
#include <map>
#include <set>

#include "tests/devconfig/config_form_fixture.h"

namespace {

using namespace configtest;
using Registers = std::map<uint16_t, uint16_t>;

const QString kWritten = QString::fromUtf8("Dispositivo configurado com sucesso!");
const QString kWriteFailed = QString::fromUtf8("Problemas no envio da configuração!");
const QString kInvalid = QString::fromUtf8("Valor impróprio!");
const QString kNotAscending = QString::fromUtf8("O limite superior deve ser maior que o inferior!");

constexpr int kPort = 4;

uint16_t Word(int v) { return static_cast<uint16_t>(static_cast<int16_t>(v)); }

// Registers 66..69 holding a double, most significant word first.
Registers DoubleAt(double value) {
  const auto bits = std::bit_cast<uint64_t>(value);
  Registers r;
  for (uint16_t i = 0; i < 4; ++i) r[static_cast<uint16_t>(66 + i)] = static_cast<uint16_t>(bits >> (48 - 16 * i));
  return r;
}

Registers With(Registers a, const Registers& b) {
  for (const auto& [reg, value] : b) a[reg] = value;
  return a;
}

Registers Snapshot(const sim::SimulatedInstrument& instrument) {
  Registers r;
  for (uint16_t reg = 0; reg <= 73; ++reg) r[reg] = instrument.HoldingRegister(reg);
  return r;
}

// Channel 2 as a linear input with `d` decimals and values that use the digits.
Registers LinearChannel2(int d) {
  return {{9, static_cast<uint16_t>(10 | 0x80 | (d << 9))}, {14, Word(-1234)}, {15, 31234}, {20, Word(-1334)},
          {21, 32000}, {58, Word(-2999)}};
}

// The registers a configuration write sends, in order, as the instruments take them: model 0
// registers 7 to 59 and, from firmware 1.10, the counter block 64 to 72; the probe 7 to 11 and
// 18 to 42. Written out here rather than taken from the code under test.
std::vector<uint16_t> WrittenRegisters(sim::Model model, int firmware) {
  std::vector<uint16_t> order;
  auto add = [&order](uint16_t first, uint16_t last) {
    for (uint16_t reg = first; reg <= last; ++reg) order.push_back(reg);
  };
  if (model == sim::Model::Probe) {
    add(7, 11);
    add(18, 42);
  } else {
    add(7, 59);
    if (firmware >= 110) add(64, 72);
  }
  return order;
}

struct NoOpCase {
  const char* name;
  sim::InstrumentOptions options;
  Registers setup;    // what the instrument holds before the dialog reads it
  Registers changes;  // what a no-op "Aplica" writes otherwise than it read
  friend void PrintTo(const NoOpCase& c, std::ostream* os) { *os << c.name; }
};

// Every change a no-op "Aplica" makes, and why.
std::vector<NoOpCase> NoOpCases() {
  std::vector<NoOpCase> cases = {
      // No digital-input mode: base time 0 becomes 1, and the reset value takes it (register 71).
      {"plain input", Model0(), {{64, 0}, {70, 0}, {71, 0}}, {{71, 1}}},
      // Counting with reset value 0: it becomes 1.
      {"counting, reset 0", Model0(), {{64, 0x10 | 0x80 | 0x1000 | 0x200}, {70, 0}, {71, 0}}, {{71, 1}}},
      {"counting, reset 98304", Model0(), {{64, 0x10 | 0x400}, {70, 1}, {71, 0x8000}}, {}},
      {"counting, reset 2^32-1", Model0(), {{64, 0x10}, {70, 0xFFFF}, {71, 0xFFFF}}, {}},
      // Timing: the reset value's field is hidden and the block keeps it.
      {"timing", Model0(), {{64, 0x20 | 0x100 | 0x800}, {70, 0x1234}, {71, 0x5678}}, {}},
      // Frequency: the reset value is the base time, which clears register 70.
      {"frequency", Model0(), {{64, 0x40 | 0x400}, {70, 2}, {71, 10}}, {{70, 0}}},
      {"frequency, base time 40000", Model0(), {{64, 0x40}, {70, 0}, {71, 40000}}, {}},
      // The mode word is rebuilt from the page: bits no control owns are cleared.
      {"mode word's other bits", Model0(), {{64, 0x10 | 0x2000 | 0x0003}, {70, 0}, {71, 5}}, {{64, 0x10}}},
      // Debounce outside 1..65535, more than 8 counter decimals, a factor that is no number.
      {"corrected counter settings", Model0(),
       With({{64, 0x10}, {65, 0}, {70, 0}, {71, 7}, {72, 9}}, DoubleAt(std::nan(""))),
       With({{65, 1}, {72, 0}}, DoubleAt(1.0))},
      // An enabled thermocouple needs the cold junction: the ambient bit is forced on.
      {"thermocouple forces the ambient channel", Model0(), {{7, 0x0001}, {8, 2 | 0x80}}, {{7, 0x0021}}},
      // 0 to 50 mV and thermocouple B on either side of the thermocouples' codes: only B forces it.
      {"0 to 50 mV leaves the ambient channel off", Model0(), {{7, 0x0001}, {8, 9 | 0x80}, {9, 0x80}}, {}},
      {"thermocouple B forces the ambient channel", Model0(), {{7, 0x0001}, {8, 9 | 0x80}, {9, 8 | 0x80}},
       {{7, 0x0021}}},
      // Bits and codes no control owns stay as read: Config bits 12..15, a type the list lacks
      // (0 a 10 V on channel 2, 100 on channel 1), DeviceConfig bits 7..15, a filter above 20.
      {"bits and codes without a control", Model0(),
       {{7, 0xFF21}, {8, 0xF000 | 100 | 0x80}, {9, 11 | 0x80 | (1 << 9)}, {10, 50}}, {}},
      // Temperature inputs hide their limits: 0 and 0 there are kept and refuse nothing.
      {"temperature inputs with hidden limits 0 and 0", Model0(),
       {{8, 0x80}, {9, 0x80 | (3 << 9)}, {12, 0}, {13, 0}, {14, 0}, {15, 0}}, {}},
      {"firmware 1.09", Model0(109), {}, {}},
      // The humidity probe always compensates the mains: bit 2 is set.
      {"humidity probe", Probe(0), {}, {{7, 0x0004}}},
      {"thermocouple probe", Probe(2), {}, {}},
  };
  for (int d = 0; d <= 7; ++d)
    cases.push_back({d == 6 ? "channel 2 with 6 decimals" : "channel 2 decimals", Model0(), LinearChannel2(d), {}});
  return cases;
}

class NoOpApply : public ::testing::TestWithParam<NoOpCase> {};

TEST_P(NoOpApply, WritesTheRegistersReadApartFromTheListedChanges) {
  const NoOpCase& c = GetParam();
  ConfigWorld w;
  sim::SimulatedInstrument& instrument = w.Start(kPort, c.options);
  // The simulator's base time of 0 would be corrected in every case; a case that wants it says so.
  if (c.options.model == sim::Model::Model0 && c.options.firmware >= 110) instrument.SetHoldingRegister(71, 1);
  for (const auto& [reg, value] : c.setup) instrument.SetHoldingRegister(reg, value);
  const Registers before = Snapshot(instrument);
  w.form->FormShow();
  ASSERT_TRUE(w.Find<QPushButton>("ApplyBitBtn")->isEnabled()) << w.user.messages.join('|').toStdString();
  instrument.ClearLog();
  w.form->ApplyBitBtnClick();
  EXPECT_EQ(w.user.messages.value(0), kWritten);

  std::vector<RegisterWrite> expected;
  for (const uint16_t reg : WrittenRegisters(c.options.model, c.options.firmware)) {
    const auto change = c.changes.find(reg);
    expected.push_back({reg, change != c.changes.end() ? change->second : before.at(reg)});
  }
  EXPECT_EQ(WritesIn(instrument.Log()), expected);
  w.form->FormClose();
}

INSTANTIATE_TEST_SUITE_P(Cases, NoOpApply, ::testing::ValuesIn(NoOpCases()),
                         [](const ::testing::TestParamInfo<NoOpCase>& info) {
                           return "Case" + std::to_string(info.index);
                         });

struct EditCase {
  const char* name;
  std::function<void(ConfigWorld&)> edit;
  std::set<uint16_t> registers;  // the registers the edit changes
  friend void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }
};

std::vector<EditCase> EditCases() {
  return {
      {"device tag", [](ConfigWorld& w) { w.Type("DeviceTagEdit", QStringLiteral("Caldeira 2")); }, {22, 23, 24, 25, 26}},
      {"channel 2 upper limit", [](ConfigWorld& w) { w.Type("Ch2LimSupEdit", QStringLiteral("90.00")); }, {15}},
      // One decimal less: the digits stay, only the decimal count changes.
      {"channel 2 decimals", [](ConfigWorld& w) { w.Type("Ch2LimSupEdit", QStringLiteral("1000.0")); }, {9}},
      {"ambient offset", [](ConfigWorld& w) { w.Type("TemperOffsetEdit", QStringLiteral("1.25")); }, {59}},
      {"channel 1 in °F", [](ConfigWorld& w) { w.Find<QRadioButton>("Ch1FarenheitRadioButton")->setChecked(true); }, {8}},
      {"debounce", [](ConfigWorld& w) { w.Type("DebounceEdit", QStringLiteral("250")); }, {65}},
      {"counting", [](ConfigWorld& w) { w.Click("CountingCheckBox"); }, {64}},
      {"channel 2 unit", [](ConfigWorld& w) { w.Type("Ch2UnitEdit", QStringLiteral("m3/h")); }, {47, 48}},
  };
}

class OneEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(OneEdit, ChangesExactlyItsOwnRegisters) {
  ConfigWorld w;
  sim::SimulatedInstrument& instrument = w.Start(kPort, Model0());
  w.form->FormShow();
  w.form->ApplyBitBtnClick();  // the listed corrections first
  const Registers before = Snapshot(instrument);
  GetParam().edit(w);
  w.form->ApplyBitBtnClick();
  EXPECT_EQ(w.user.messages, (QStringList{kWritten, kWritten}));
  const Registers after = Snapshot(instrument);
  std::set<uint16_t> changed;
  for (const auto& [reg, value] : after)
    if (before.at(reg) != value) changed.insert(reg);
  EXPECT_EQ(changed, GetParam().registers) << GetParam().name;
  w.form->FormClose();
}

INSTANTIATE_TEST_SUITE_P(Edits, OneEdit, ::testing::ValuesIn(EditCases()),
                         [](const ::testing::TestParamInfo<EditCase>& info) {
                           return "Edit" + std::to_string(info.index);
                         });

TEST(ApplyRefusals, LimitsNotAscendingWriteNothing) {
  ConfigWorld w;
  sim::SimulatedInstrument& instrument = w.Start(kPort, Model0());
  w.form->FormShow();
  instrument.ClearLog();
  ASSERT_TRUE(w.TypeAndLeave("Ch2LimInfEdit", QStringLiteral("200.00")));  // above the upper limit 100.00
  w.Pages()->setCurrentIndex(TConfigForm::kGeneralPage);
  w.form->ApplyBitBtnClick();
  EXPECT_EQ(w.user.messages, QStringList{kNotAscending});
  EXPECT_EQ(w.Pages()->currentIndex(), TConfigForm::kCh2Page);
  EXPECT_EQ(w.form->focusWidget(), w.Edit("Ch2LimSupEdit"));
  EXPECT_TRUE(WritesIn(instrument.Log()).empty());
  w.form->FormClose();
}

TEST(ApplyRefusals, LimitsCountOnlyWhereTheyAreShown) {
  ConfigWorld w;
  sim::SimulatedInstrument& instrument = w.Start(kPort, Model0());
  instrument.SetHoldingRegister(8, 0x80);  // Pt100: its limits are hidden
  instrument.SetHoldingRegister(12, 0);
  instrument.SetHoldingRegister(13, 0);
  w.form->FormShow();
  w.form->ApplyBitBtnClick();
  EXPECT_EQ(w.user.messages, QStringList{kWritten});
  EXPECT_EQ(instrument.HoldingRegister(12), 0);
  EXPECT_EQ(instrument.HoldingRegister(13), 0);

  // A linear input shows the same limits: now they are checked, on a field the user sees.
  w.user.messages.clear();
  instrument.ClearLog();
  w.Pages()->setCurrentIndex(TConfigForm::kGeneralPage);
  w.Find<QComboBox>("Ch1TypeComboBox")->setCurrentIndex(10);
  w.form->ApplyBitBtnClick();
  EXPECT_EQ(w.user.messages, QStringList{kNotAscending});
  EXPECT_EQ(w.Pages()->currentIndex(), TConfigForm::kCh1Page);
  EXPECT_EQ(w.form->focusWidget(), w.Edit("Ch1LimSupEdit"));
  EXPECT_TRUE(w.Edit("Ch1LimSupEdit")->isVisibleTo(w.Pages()->widget(TConfigForm::kCh1Page)));
  EXPECT_TRUE(WritesIn(instrument.Log()).empty());
  w.form->FormClose();
}

TEST(ApplyRefusals, EnterInAFieldRunsItsCheckFirst) {
  ConfigWorld w;
  sim::SimulatedInstrument& instrument = w.Start(kPort, Model0());
  w.form->FormShow();
  w.form->show();
  w.Pages()->setCurrentIndex(TConfigForm::kCh2Page);
  instrument.ClearLog();
  QLineEdit* upper = w.Edit("Ch2LimSupEdit");
  upper->setFocus();
  upper->selectAll();
  QTest::keyClicks(upper, QStringLiteral("99999"));
  QTest::keyClick(upper, Qt::Key_Return);  // the default button, without leaving the field
  EXPECT_EQ(w.user.messages, QStringList{kInvalid});
  EXPECT_EQ(upper->text(), QStringLiteral("99999"));
  EXPECT_EQ(w.form->focusWidget(), upper);
  EXPECT_TRUE(WritesIn(instrument.Log()).empty());

  // Six decimals are refused too, and so is a factor that is no finite number.
  w.user.messages.clear();
  w.Type("Ch2LimSupEdit", QStringLiteral("1.000001"));
  w.form->ApplyBitBtnClick();
  w.Type("Ch2LimSupEdit", QStringLiteral("100.00"));
  w.Click("CountingCheckBox");
  w.Type("ScaleEdit", QStringLiteral("inf"));
  w.form->ApplyBitBtnClick();
  EXPECT_EQ(w.user.messages, (QStringList{kInvalid, kInvalid}));
  EXPECT_EQ(w.Pages()->currentIndex(), TConfigForm::kDigInpPage);
  EXPECT_TRUE(WritesIn(instrument.Log()).empty());
  w.form->hide();
  w.form->FormClose();
}

TEST(ApplyRefusals, ARegisterThatFailsThreeTimesEndsTheWrite) {
  ConfigWorld w;
  sim::SimulatedInstrument& instrument = w.Start(kPort, Model0());
  w.form->FormShow();
  instrument.ClearLog();
  instrument.InjectFault(sim::FaultSpec::RefuseRegister(30));
  w.form->ApplyBitBtnClick();
  EXPECT_EQ(w.user.messages, QStringList{kWriteFailed});
  // Registers 7 to 29 went out, register 30 was tried three times, nothing after it.
  std::vector<RegisterWrite> writes = WritesIn(instrument.Log(), true);
  ASSERT_GE(writes.size(), 3u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(writes[writes.size() - 1 - i].reg, 30);
  writes = WritesIn(instrument.Log());
  std::vector<uint16_t> registers;
  for (const RegisterWrite& write : writes) registers.push_back(write.reg);
  std::vector<uint16_t> expected;
  for (uint16_t reg = 7; reg <= 30; ++reg) expected.push_back(reg);
  EXPECT_EQ(registers, expected);
  w.form->FormClose();
}

TEST(InstrumentChange, NothingOfTheFirstReachesTheProbe) {
  ConfigWorld w;
  sim::SimulatedInstrument& logger = w.Start(4, Model0());
  sim::SimulatedInstrument& silent = w.Start(5, Model0(110, 55555));
  sim::SimulatedInstrument& probe = w.Start(7, Probe(0));
  w.form->FormShow();
  ASSERT_EQ(w.List()->topLevelItemCount(), 3);
  // Edits on pages the probe does not show: ambient, digital input.
  w.Type("Ch3Edit", QStringLiteral("Vazou"));
  w.Type("TemperOffsetEdit", QStringLiteral("2.5"));
  w.Type("DigInputEdit", QStringLiteral("Vazou"));
  silent.InjectFault(sim::FaultSpec::Silence());
  w.Select(1);
  EXPECT_FALSE(w.Find<QPushButton>("ApplyBitBtn")->isEnabled());
  EXPECT_EQ(w.user.messages.value(0), QString::fromUtf8("Falha na leitura dos parâmetros do aparelho!"));
  w.form->ApplyBitBtnClick();  // as Enter would: nothing happens without a block read
  EXPECT_TRUE(WritesIn(silent.Log()).empty());

  const Registers before = Snapshot(probe);
  w.Select(2);
  ASSERT_TRUE(w.Find<QPushButton>("ApplyBitBtn")->isEnabled());
  w.user.messages.clear();
  probe.ClearLog();
  w.form->ApplyBitBtnClick();
  EXPECT_EQ(w.user.messages, QStringList{kWritten});
  std::vector<RegisterWrite> expected;
  for (const uint16_t reg : WrittenRegisters(sim::Model::Probe, 105))
    expected.push_back({reg, reg == 7 ? static_cast<uint16_t>(before.at(7) | 0x04) : before.at(reg)});
  EXPECT_EQ(WritesIn(probe.Log()), expected);
  EXPECT_TRUE(WritesIn(logger.Log()).empty());
  w.form->FormClose();
}

}  // namespace
