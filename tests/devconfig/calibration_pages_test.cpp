// The calibration pages against simulated instruments, as the simulator's log saw them: the
// custom calibration of probes of kinds 0 and 2, and the factory calibration of model 0.
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

#include "tests/devconfig/config_form_fixture.h"
#include "ui/arrow_buttons.h"

namespace {

using namespace configtest;

const QString kCaption = QString::fromUtf8("Calibração customizada");
const QString kWarning =
    QString::fromUtf8("Este procedimento irá alterar as leituras do aparelho. Tem certeza que deseja continuar?");
const QString kWritten = QString::fromUtf8("Calibração customizada alterada com sucesso!");
const QString kWriteFailed = QString::fromUtf8("Problemas na escrita da calibração customizada!");
const QString kInvalid = QString::fromUtf8("Valor impróprio!");
const QString kFull = QString::fromUtf8("Não pode ultrapassar o número máximo de pontos!");
constexpr uint16_t kEmpty = 0x8000;
constexpr int kPort = 7;

uint16_t Word(int v) { return static_cast<uint16_t>(static_cast<int16_t>(v)); }

// What an apply writes: the 40 table values from register 20 on, then the date of the fixed
// clock (5 March 2024).
std::vector<RegisterWrite> TableAndDate(const std::vector<uint16_t>& values) {
  std::vector<RegisterWrite> writes;
  for (uint16_t i = 0; i < 40; ++i)
    writes.push_back({static_cast<uint16_t>(20 + i), i < values.size() ? values[i] : kEmpty});
  writes.push_back({18, 0x0503});
  writes.push_back({19, 2024});
  return writes;
}

// One grid's rows as shown, "number|standard|indication" each, up to the first empty row.
QStringList Rows(const ConfigWorld& w, const char* grid) {
  QStringList rows;
  auto* g = w.Find<QTableWidget>(grid);
  for (int r = 0; r < g->rowCount(); ++r) {
    const QString row = g->item(r, 0)->text() + "|" + g->item(r, 1)->text() + "|" + g->item(r, 2)->text();
    if (row == QStringLiteral("||")) break;
    rows << row;
  }
  return rows;
}

void AddPoint(const ConfigWorld& w, bool humidity, const char* standard, const char* indication) {
  w.Edit(humidity ? "RealValueRHEdit" : "RealValueEdit")->setText(QString::fromUtf8(standard));
  w.Edit(humidity ? "MeasuredValueRHEdit" : "MeasuredValueEdit")->setText(QString::fromUtf8(indication));
  w.Click(humidity ? "AddButtonRH" : "AddButton");
}

class CustomCalibration : public ::testing::TestWithParam<int> {};

TEST_P(CustomCalibration, EmptyGridsApplyAsTenEmptyPointsAndStillWriteTheDate) {
  ConfigWorld w;
  sim::SimulatedInstrument& probe = w.Start(kPort, Probe(GetParam()));
  w.form->FormShow();
  ASSERT_TRUE(w.PageShown(TConfigForm::kCustomCalibPage));
  EXPECT_TRUE(Rows(w, "CustomCalStringGrid").isEmpty());
  const QString march15 = QLocale().toString(QDate(2024, 3, 15), QLocale::ShortFormat);
  EXPECT_EQ(w.Text("LastCustomCalDateEdit"), march15);
  EXPECT_EQ(w.Text("LastCustomCalDateRHEdit"), march15);
  probe.ClearLog();
  w.Click("ApplyCustomCalibBitBtn");

  EXPECT_EQ(CalibrationWritesIn(probe.Log()), TableAndDate({}));
  EXPECT_EQ(w.user.log.value(0), QStringLiteral("ask|%1|%2").arg(kCaption, kWarning));
  EXPECT_EQ(w.user.messages.value(1), kWritten);
  EXPECT_EQ(probe.CalibrationRegister(18), 0x0503);
  EXPECT_EQ(probe.CalibrationRegister(19), 2024);
  // Read again after the write: the dialog shows the new date.
  EXPECT_GT(RequestsIn(probe.Log(), 70, 59), 0u);
  EXPECT_EQ(w.Text("LastCustomCalDateEdit"), QLocale().toString(QDate(2024, 3, 5), QLocale::ShortFormat));
  EXPECT_EQ(w.form->EditedRegs().LastCustomCalDay, 5);
}

TEST_P(CustomCalibration, NoAtTheQuestionWritesNothing) {
  ConfigWorld w;
  sim::SimulatedInstrument& probe = w.Start(kPort, Probe(GetParam()));
  w.form->FormShow();
  AddPoint(w, false, "10", "10.5");
  probe.ClearLog();
  w.user.answers = {false};
  w.Click("ApplyRHCustomCalibBitBtn");  // both "Aplicar" do the same
  EXPECT_TRUE(CalibrationWritesIn(probe.Log()).empty());
  EXPECT_EQ(w.user.messages, QStringList{kWarning});
  EXPECT_EQ(Rows(w, "CustomCalStringGrid"), QStringList{"1|10.0|10.5"});
}

INSTANTIATE_TEST_SUITE_P(ProbeKinds, CustomCalibration, ::testing::Values(0, 2),
                         [](const auto& info) { return info.param == 0 ? "Humidity" : "Thermocouple"; });

TEST(CustomCalibrationPage, ATemperatureProbeWritesChannel1AndEmptiesChannel2) {
  ConfigWorld w;
  sim::SimulatedInstrument& probe = w.Start(kPort, Probe(2));
  w.form->FormShow();
  EXPECT_FALSE(w.Find<QTabWidget>("CustomCalibPageControl")->isTabVisible(0));  // no "Umidade"
  AddPoint(w, false, "25.34", "25,0");
  AddPoint(w, false, "100", "99.1");
  AddPoint(w, false, "-20", "-19.8");
  EXPECT_EQ(Rows(w, "CustomCalStringGrid"), (QStringList{"1|-20.0|-19.8", "2|25.3|25.0", "3|100.0|99.1"}));
  EXPECT_TRUE(w.Text("RealValueEdit").isEmpty());
  EXPECT_TRUE(w.Text("MeasuredValueEdit").isEmpty());
  probe.ClearLog();
  w.Click("ApplyCustomCalibBitBtn");
  EXPECT_EQ(CalibrationWritesIn(probe.Log()), TableAndDate({Word(-200), Word(-198), 253, 250, 1000, 991}));
  EXPECT_EQ(w.user.messages.value(1), kWritten);
  // The grid keeps what was entered; a new selection shows what the probe holds.
  w.form->FormClose();
  w.form->FormShow();
  EXPECT_EQ(Rows(w, "CustomCalStringGrid"), (QStringList{"1|-20.0|-19.8", "2|25.3|25.0", "3|100.0|99.1"}));
}

TEST(CustomCalibrationPage, AProbeHoldingAGapKeepsEveryPoint) {
  ConfigWorld w;
  sim::SimulatedInstrument& probe = w.Start(kPort, Probe(2));
  probe.SetCalibrationRegister(20, 100);
  probe.SetCalibrationRegister(21, 101);
  probe.SetCalibrationRegister(26, 300);  // pairs 1 and 2 empty
  probe.SetCalibrationRegister(27, 305);
  w.form->FormShow();
  EXPECT_EQ(Rows(w, "CustomCalStringGrid"), (QStringList{"1|10.0|10.1", "2|30.0|30.5"}));
  probe.ClearLog();
  w.Click("ApplyCustomCalibBitBtn");
  EXPECT_EQ(CalibrationWritesIn(probe.Log()), TableAndDate({100, 101, 300, 305}));
}

TEST(CustomCalibrationPage, TheHumidityProbeAsksAboutStandardsOutOfOrder) {
  ConfigWorld w;
  sim::SimulatedInstrument& probe = w.Start(kPort, Probe(0));
  w.form->FormShow();
  auto* sub = w.Find<QTabWidget>("CustomCalibPageControl");
  EXPECT_TRUE(sub->isTabVisible(0));
  AddPoint(w, true, "40", "41");
  AddPoint(w, true, "40", "52");  // the same standard as the point before
  AddPoint(w, false, "20", "20.3");
  w.Pages()->setCurrentIndex(TConfigForm::kCustomCalibPage);
  w.Shot(QStringLiteral("custom-calibration-humidity"));
  sub->setCurrentIndex(1);
  probe.ClearLog();
  w.user.answers = {true, false};
  w.Click("ApplyCustomCalibBitBtn");
  EXPECT_TRUE(CalibrationWritesIn(probe.Log()).empty());
  ASSERT_EQ(w.user.log.size(), 2);
  EXPECT_EQ(w.user.log[1], QStringLiteral("ask|%1|%2").arg(kCaption, QString::fromUtf8(
                                                                       "Favor confirmar pontos da linha 2. Confirma valores?")));
  // The offending row is shown.
  EXPECT_EQ(sub->currentIndex(), 0);
  EXPECT_EQ(w.Find<QTableWidget>("RHCustomCalStringGrid")->currentRow(), 1);

  // Confirmed, humidity goes to channel 1 and temperature to channel 2.
  w.user.answers = {true, true};
  w.Click("ApplyCustomCalibBitBtn");
  std::vector<uint16_t> values(40, kEmpty);
  values[0] = 400;
  values[1] = 410;
  values[2] = 400;
  values[3] = 520;
  values[20] = 200;
  values[21] = 203;
  EXPECT_EQ(CalibrationWritesIn(probe.Log()), TableAndDate(values));
}

TEST(CustomCalibrationPage, AFailedWriteStopsBeforeTheDate) {
  ConfigWorld w;
  sim::SimulatedInstrument& probe = w.Start(kPort, Probe(2));
  w.form->FormShow();
  probe.InjectFault(sim::FaultSpec::RefuseCalibrationRegister(30));
  probe.ClearLog();
  w.Click("ApplyCustomCalibBitBtn");
  const std::vector<RegisterWrite> writes = CalibrationWritesIn(probe.Log());
  ASSERT_FALSE(writes.empty());
  EXPECT_EQ(writes.back().reg, 30);
  EXPECT_EQ(probe.CalibrationRegister(18), (15 << 8) | 3);
  EXPECT_EQ(w.user.messages.value(1), kWriteFailed);
}

TEST(CustomCalibrationPage, AddDeleteAndDeleteAll) {
  ConfigWorld w;
  w.Start(kPort, Probe(2));
  w.form->FormShow();
  AddPoint(w, false, "10", "10");
  AddPoint(w, false, "30", "30");
  AddPoint(w, false, "20", "20");
  EXPECT_EQ(Rows(w, "CustomCalStringGrid"), (QStringList{"1|10.0|10.0", "2|20.0|20.0", "3|30.0|30.0"}));

  // Refused entries: the message, and the grid and the edits as they were.
  AddPoint(w, false, "abc", "5");
  AddPoint(w, false, "5", "5000");
  EXPECT_EQ(w.user.messages, (QStringList{kInvalid, kInvalid}));
  EXPECT_EQ(w.Text("MeasuredValueEdit"), QStringLiteral("5000"));
  EXPECT_EQ(Rows(w, "CustomCalStringGrid").size(), 3);

  auto* grid = w.Find<QTableWidget>("CustomCalStringGrid");
  grid->selectRow(0);
  w.Click("DelRowButton");
  EXPECT_EQ(Rows(w, "CustomCalStringGrid"), (QStringList{"1|20.0|20.0", "2|30.0|30.0"}));
  grid->selectRow(5);  // below the points: nothing to delete
  w.Click("DelRowButton");
  EXPECT_EQ(Rows(w, "CustomCalStringGrid").size(), 2);

  for (int i = 0; i < 8; ++i) AddPoint(w, false, "50", "50");
  grid->selectRow(9);  // the last row only empties it
  w.Click("DelRowButton");
  EXPECT_EQ(Rows(w, "CustomCalStringGrid").size(), 9);
  AddPoint(w, false, "60", "60");
  AddPoint(w, false, "70", "70");
  EXPECT_EQ(w.user.messages.last(), kFull);
  EXPECT_EQ(Rows(w, "CustomCalStringGrid").size(), 10);
  w.Click("DelAllButton");
  EXPECT_TRUE(Rows(w, "CustomCalStringGrid").isEmpty());
  EXPECT_EQ(w.Find<QTableWidget>("CustomCalStringGrid")->horizontalHeaderItem(2)->text(),
            QString::fromUtf8("Indicação do Instrumento"));
}

TEST(CustomCalibrationPage, DewPointShowsTheDegreesOfTheHumidityChannel) {
  ConfigWorld w;
  w.Start(3, Probe(0));  // listed first, so selected by the search
  w.Start(4, Model0());
  w.form->FormShow();
  auto* dewPoint = w.Find<QCheckBox>("DewPointCheckBox");
  auto* celsius = w.Find<QRadioButton>("Ch1CelsiusRadioButton");
  dewPoint->click();
  EXPECT_FALSE(celsius->isHidden());
  dewPoint->click();
  EXPECT_TRUE(celsius->isHidden());
  EXPECT_TRUE(w.Find<QRadioButton>("Ch1FarenheitRadioButton")->isHidden());
  w.Select(1);  // model 0: the click changes nothing
  ASSERT_FALSE(celsius->isHidden());
  w.form->DewPointCheckBoxClick();
  EXPECT_FALSE(celsius->isHidden());
}

// --- Factory calibration of model 0 ---------------------------------------------------------

struct FactoryWorld : ConfigWorld {
  FactoryWorld() : instrument(Start(4, Model0())) {
    form->FormShow();
    instrument.ClearLog();
    Pages()->setCurrentIndex(TConfigForm::kCalibPage);
  }
  void ChooseType(int index) const {
    Find<QComboBox>("InpTypeComboBox")->setCurrentIndex(index);
    form->InpTypeComboBoxChange();
  }
  QString Msg() const { return Find<QLabel>("MsgLabel")->text(); }
  sim::SimulatedInstrument& instrument;
};

TEST(FactoryCalibrationPage, ActivationReadsTheConstantsOfChannel1AndSetsTheLimits) {
  FactoryWorld w;
  EXPECT_EQ(w.Text("OffsetEdit"), QStringLiteral("12"));
  EXPECT_EQ(w.Text("GainEdit"), QStringLiteral("10012"));
  EXPECT_EQ(w.Text("AmbientEdit"), QStringLiteral("35"));
  EXPECT_TRUE(w.Msg().isEmpty());
  EXPECT_EQ(RequestsIn(w.instrument.Log(), 70, 2), 1u);
  EXPECT_EQ(RequestsIn(w.instrument.Log(), 70, 3), 1u);
  EXPECT_EQ(RequestsIn(w.instrument.Log(), 70, 20), 1u);
  EXPECT_EQ(w.Find<QComboBox>("InpTypeComboBox")->count(), 12);
  EXPECT_EQ(w.form->FactoryArrowLimits(devconfig::FactoryConstant::Offset), (devconfig::FactoryRange{-250, 200}));
  EXPECT_EQ(w.form->FactoryArrowLimits(devconfig::FactoryConstant::Gain), (devconfig::FactoryRange{9500, 10500}));
  EXPECT_EQ(w.form->FactoryArrowLimits(devconfig::FactoryConstant::Ambient), (devconfig::FactoryRange{-1000, 1300}));
  EXPECT_EQ(w.Find<QRadioButton>("Ch2RadioButton")->text(), QStringLiteral("Canal 2"));
  EXPECT_EQ(w.Find<QLabel>("AmbientLabel")->text(), QStringLiteral("Temperatura Ambiente"));
}

TEST(FactoryCalibrationPage, Channel2WithCurrentInputReadsRegisters14And15) {
  FactoryWorld w;
  w.Click("Ch2RadioButton");
  EXPECT_EQ(w.Find<QComboBox>("InpTypeComboBox")->count(), 11);  // no "0 a 10 V"
  EXPECT_EQ(RequestsIn(w.instrument.Log(), 70, 10), 1u);        // Pt100 of channel 2
  // The arrows keep the limits of the type chosen before until the type changes.
  EXPECT_EQ(w.form->FactoryArrowLimits(devconfig::FactoryConstant::Offset), (devconfig::FactoryRange{-250, 200}));
  w.instrument.ClearLog();
  w.ChooseType(10);
  EXPECT_EQ(RequestsIn(w.instrument.Log(), 70, 14), 1u);
  EXPECT_EQ(RequestsIn(w.instrument.Log(), 70, 15), 1u);
  EXPECT_EQ(w.Text("OffsetEdit"), QStringLiteral("15"));
  w.Shot(QStringLiteral("factory-calibration-channel2"));
  EXPECT_EQ(w.Text("GainEdit"), QStringLiteral("10030"));
  EXPECT_EQ(w.Msg(), QStringLiteral("OK!"));
  EXPECT_EQ(w.form->FactoryArrowLimits(devconfig::FactoryConstant::Offset), (devconfig::FactoryRange{-500, 400}));
  EXPECT_EQ(w.form->FactoryArrowLimits(devconfig::FactoryConstant::Gain), (devconfig::FactoryRange{9300, 10500}));
}

struct WriteCase {
  const char* name;
  int channel;
  int type;
  const char* constant;  // "Offset", "Gain", "Ambient"
  const char* typed;
  std::optional<RegisterWrite> written;
  const char* shown;
  friend void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }
};

class FactoryWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(FactoryWrite, WritesTheClampedValueAndShowsIt) {
  const WriteCase& c = GetParam();
  FactoryWorld w;
  if (c.channel == 1) w.Click("Ch2RadioButton");
  w.ChooseType(c.type);
  w.instrument.ClearLog();
  const QByteArray prefix(c.constant);
  w.Edit((prefix + "Edit").constData())->setText(QString::fromUtf8(c.typed));
  w.Click((prefix + "WriteButton").constData());
  const std::vector<RegisterWrite> writes = CalibrationWritesIn(w.instrument.Log());
  if (c.written) {
    EXPECT_EQ(writes, std::vector<RegisterWrite>{*c.written});
    EXPECT_EQ(w.instrument.CalibrationRegister(c.written->reg), c.written->value);
    EXPECT_EQ(w.Msg(), QStringLiteral("OK!"));
  } else {
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(w.Msg(), QStringLiteral("Erro!"));
  }
  EXPECT_EQ(w.Text((prefix + "Edit").constData()), QString::fromUtf8(c.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FactoryWrite,
    ::testing::Values(WriteCase{"ThermocoupleOffset700", 0, 2, "Offset", "700", RegisterWrite{4, 600}, "600"},
                      WriteCase{"Pt100Gain9000", 0, 0, "Gain", "9000", RegisterWrite{3, 9500}, "9500"},
                      WriteCase{"AmbientMinus1500", 0, 0, "Ambient", "-1500", RegisterWrite{20, Word(-1000)}, "-1000"},
                      WriteCase{"NotANumber", 0, 0, "Offset", "abc", std::nullopt, "abc"},
                      WriteCase{"Pt100Offset65286", 0, 0, "Offset", "65286", RegisterWrite{2, 200}, "200"},
                      WriteCase{"VoltageGainChannel1", 0, 11, "Gain", "10000", RegisterWrite{19, 10000}, "10000"},
                      WriteCase{"MillivoltOffsetChannel2", 1, 9, "Offset", "-3", RegisterWrite{16, Word(-3)}, "-3"},
                      // Beyond the ends of the linear inputs' own groups: held at their ends.
                      WriteCase{"MillivoltOffset700", 1, 9, "Offset", "700", RegisterWrite{16, 600}, "600"},
                      WriteCase{"MillivoltGain9000", 0, 9, "Gain", "9000", RegisterWrite{9, 9400}, "9400"},
                      WriteCase{"VoltageGain11000", 0, 11, "Gain", "11000", RegisterWrite{19, 10500}, "10500"},
                      WriteCase{"VoltageOffset200", 0, 11, "Offset", "200", RegisterWrite{18, 100}, "100"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FactoryCalibrationPage, ArrowsAndFailedTransactions) {
  FactoryWorld w;
  auto step = [&w](int direction) { w.form->findChild<ui::TArrowButtons*>("OffsetUpDown")->Arrow(direction); };
  w.Edit("OffsetEdit")->setText(QStringLiteral("199"));
  step(1);
  EXPECT_EQ(w.Text("OffsetEdit"), QStringLiteral("200"));
  step(1);
  EXPECT_EQ(w.Text("OffsetEdit"), QStringLiteral("200"));
  w.instrument.InjectFault(sim::FaultSpec::RefuseCalibrationRegister(2));
  w.Click("OffsetReadButton");
  EXPECT_EQ(w.Text("OffsetEdit"), QStringLiteral("???"));
  EXPECT_EQ(w.Msg(), QStringLiteral("Erro!"));
  w.Edit("OffsetEdit")->setText(QStringLiteral("5"));
  w.Click("OffsetWriteButton");
  EXPECT_EQ(w.Msg(), QStringLiteral("Erro!"));
  w.Click("AmbientReadButton");
  EXPECT_EQ(w.Msg(), QStringLiteral("OK!"));
}

}  // namespace
