// The certificate's dialog opened from "Relatório..." on simulated probes: what it shows, the
// file it saves as our RTF tokenizer and Debian's unrtf read it, and its language section.
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>

#include "devconfig/custom_calib_report_form.h"
#include "platform/qt_text.h"
#include "tests/devconfig/config_form_fixture.h"
#include "tests/devconfig/rtf_reading.h"
#include "ui/language_file.h"

namespace {

using namespace configtest;

const QString kCreated = QStringLiteral("Certificado gerado com sucesso!");

struct ReportWorld : ConfigWorld {
  ReportWorld() : report(user, *form) {
    report.SetWallClock(clock);
    form->SetReportForm(&report);
  }
  ~ReportWorld() { form.reset(); }

  // "Relatório..." with the user acting inside the dialog before it closes.
  void OpenReport(std::function<void(TCustomCalibReportForm&)> act) {
    user.onModal = [act](QDialog* d) {
      if (auto* r = qobject_cast<TCustomCalibReportForm*>(d)) act(*r);
    };
    Click("ReportBitBtn");
    user.onModal = nullptr;
  }
  template <class W = QWidget>
  W* InReport(const char* name) {
    W* w = report.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  // Fills the dialog and presses "Gerar relatório", saving into `file`.
  void Generate(const QString& file) {
    user.files.push_back(file);
    InReport<QPushButton>("CreateReportBitBtn")->click();
  }
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  // A picture of the dialog for a person to look at, when TERVANA_DEVCONFIG_SHOTS names a folder.
  static void ShotOf(QWidget& dialog, const QString& name) {
    const QString folder = qEnvironmentVariable("TERVANA_DEVCONFIG_SHOTS");
    if (folder.isEmpty()) return;
    dialog.show();
    QApplication::processEvents();
    dialog.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    dialog.hide();
  }

  QTemporaryDir dir;
  TCustomCalibReportForm report;
};

// Points of a probe's channel 1 (calibration registers 20..) and channel 2 (40..).
void SetPoints(sim::SimulatedInstrument& probe, uint16_t first, std::vector<std::pair<int16_t, int16_t>> points) {
  for (size_t i = 0; i < points.size(); ++i) {
    probe.SetCalibrationRegister(static_cast<uint16_t>(first + 2 * i), static_cast<uint16_t>(points[i].first));
    probe.SetCalibrationRegister(static_cast<uint16_t>(first + 2 * i + 1), static_cast<uint16_t>(points[i].second));
  }
}

size_t Count(const std::vector<std::string>& lines, const std::string& prefix) {
  return static_cast<size_t>(
      std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

TEST(CertificateForm, AHumidityProbesCertificateOnTwoPages) {
  ReportWorld w;
  sim::SimulatedInstrument& probe = w.Start(7, Probe(0));
  SetPoints(probe, 20, {{300, 310}, {700, 690}});  // humidity
  SetPoints(probe, 40, {{100, 102}});              // temperature
  w.form->FormShow();
  const QString file = w.Path("rht.rtf");
  w.OpenReport([&w, &file](TCustomCalibReportForm& r) {
    EXPECT_EQ(r.findChild<QLineEdit*>("DateEdit")->text(),
              QLocale().toString(QDate(2024, 3, 5), QLocale::ShortFormat));
    auto* rh = w.InReport<QTableWidget>("RHStringGrid");
    auto* temp = w.InReport<QTableWidget>("TempStringGrid");
    EXPECT_EQ(rh->rowCount(), 2);
    EXPECT_EQ(temp->rowCount(), 1);
    EXPECT_EQ(rh->item(1, 1)->text(), QStringLiteral("70.0"));
    EXPECT_EQ(rh->horizontalHeaderItem(3)->text(), QString::fromUtf8("Incerteza da Medição"));
    EXPECT_EQ(w.InReport<QLineEdit>("RHUnitEdit")->text(), QStringLiteral("%"));
    EXPECT_EQ(w.InReport<QLineEdit>("TempUnitEdit")->text(), QString::fromUtf8("°C"));
    EXPECT_TRUE(w.InReport<QTabWidget>("PageControl")->isTabVisible(1));
    rh->item(0, 3)->setText(QStringLiteral("0,5"));
    w.InReport<QPlainTextEdit>("TesterMemo")->setPlainText(QString::fromUtf8("Laboratório Norte\nRua 1"));
    w.InReport<QLineEdit>("CalIDEdit")->setText(QStringLiteral("C-17"));
    w.InReport<QPlainTextEdit>("ObsMemo")->appendPlainText(QString::fromUtf8("{a}\\b<newpage>é"));
    w.ShotOf(r, QStringLiteral("certificate-dialog"));
    w.Generate(file);
  });
  EXPECT_EQ(w.user.log.filter(QStringLiteral("modal|")), QStringList{QStringLiteral("modal|CustomCalibReportForm")});
  EXPECT_EQ(w.user.messages, QStringList{kCreated});
  EXPECT_EQ(w.user.fileRequests.back().defaultSuffix, QStringLiteral("rtf"));

  const std::vector<std::string> lines = devconfigtest::TokenizedParagraphs(file.toStdString());
  EXPECT_EQ(lines, devconfigtest::ParagraphLines(w.report.BuildDocument()));
  // One page break, just before the page 2 header.
  ASSERT_EQ(Count(lines, "r 1 "), 1u);
  const auto second = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l[2] == '1'; });
  EXPECT_EQ(*second, "r 1 8/0/0/0|8/0/0/0:Página 2 de 2");
  EXPECT_EQ(lines.front(), "r 0 8/0/0/0|8/0/0/0:Página 1 de 2");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "c 0 16/1/0/1|16/1/0/1:Certificado de Calibração         ID: C-17"),
            lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "c 0 10/1/0/1|10/1/0/1:UMP\\t\\tUST\\t\\tIM"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "c 0 10/1/0/1|10/1/0/1:UMP\\t\\tUST"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "c 0 10/0/0/0|10/0/0/0:30.0\\t\\t31.0\\t\\t0,5"), lines.end());

  const std::string text = devconfigtest::UnrtfText(file.toStdString());
  for (const char* expected : {"Laboratório Norte", "Kestravon - RHT: Umidade Relativa", "Número de Série", "20002",
                               "{a}\\b<newpage>é", "TEMPERATURA (°C)", "UMIDADE (%)", "IM = Incerteza da medição"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;

  // A copy for a person to look at.
  const QString folder = qEnvironmentVariable("TERVANA_DEVCONFIG_SHOTS");
  if (!folder.isEmpty()) QFile::copy(file, QDir(folder).filePath(QStringLiteral("certificate-rht.rtf")));
}

TEST(CertificateForm, AProbeWithoutPointsGivesOnePage) {
  ReportWorld w;
  w.Start(7, Probe(2));
  w.form->FormShow();
  const QString file = w.Path("empty.rtf");
  w.OpenReport([&w, &file](TCustomCalibReportForm&) {
    EXPECT_FALSE(w.InReport<QTableWidget>("TempStringGrid")->isEnabled());
    EXPECT_FALSE(w.InReport<QTabWidget>("PageControl")->isTabVisible(1));
    w.Generate(file);
  });
  const std::vector<std::string> lines = devconfigtest::TokenizedParagraphs(file.toStdString());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "r 0 8/0/0/0|8/0/0/0:Página 1 de 1");
  EXPECT_EQ(Count(lines, "r 1 "), 0u);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "l 0 10/0/0/0|10/0/0/0:\\tNome:  Kestravon - TEMP: Termopar J"),
            lines.end());
}

TEST(CertificateForm, ATemperatureProbeInFahrenheitHasOneTable) {
  ReportWorld w;
  sim::SimulatedInstrument& probe = w.Start(7, Probe(1));
  probe.SetHoldingRegister(8, static_cast<uint16_t>(probe.HoldingRegister(8) | 0x100));
  SetPoints(probe, 20, {{1000, 998}});
  SetPoints(probe, 40, {{500, 500}});  // channel 2 of a temperature probe is not reported
  w.form->FormShow();
  const QString file = w.Path("temp.rtf");
  w.OpenReport([&w, &file](TCustomCalibReportForm&) { w.Generate(file); });
  const std::vector<std::string> lines = devconfigtest::TokenizedParagraphs(file.toStdString());
  EXPECT_EQ(Count(lines, "c 0 10/1/0/0|10/1/0/0:TEMPERATURA (°F)"), 1u);
  EXPECT_EQ(Count(lines, "c 0 10/1/0/0|10/1/0/0:UMIDADE"), 0u);
  EXPECT_EQ(Count(lines, "c 0 10/0/0/0|10/0/0/0:100.0\\t\\t99.8"), 1u);
  EXPECT_EQ(Count(lines, "c 0 10/0/0/0|10/0/0/0:50.0"), 0u);
}

TEST(CertificateForm, FailuresAndCancels) {
  ReportWorld w;
  w.form->ReportBitBtnClick();  // no instrument: nothing opens
  EXPECT_TRUE(w.user.log.filter(QStringLiteral("modal|")).isEmpty());
  w.Start(7, Probe(2));
  w.form->FormShow();
  w.OpenReport([&w](TCustomCalibReportForm& r) {
    r.CreateReportBitBtnClick();  // the save dialog cancelled
    w.Generate(w.Path("no/such/folder/x.rtf"));
  });
  EXPECT_EQ(w.user.messages, QStringList{QStringLiteral("Erro na geração do Certificado!")});
}

TEST(CertificateForm, TheLanguageSectionLandsOnItsControlsAndTexts) {
  std::string section = std::string(devconfig::kReportFormHeading) + "\r\n";
  for (int n = 1; n <= 35; ++n) section += "R" + std::to_string(n) + " \xE7\r\n";
  ui::ProgramLanguage().LoadFromText(section);
  {
    ReportWorld w;
    auto line = [](int n) { return QString::fromUtf8("R%1 ç").arg(n); };
    auto text = [&w](const char* name) {
      QWidget* widget = w.InReport(name);
      if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
      if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
      return QString();
    };
    EXPECT_EQ(w.report.windowTitle(), line(1));
    const std::pair<const char*, int> controls[] = {
        {"OwnerLabel", 2}, {"TesterLabel", 3}, {"CalIDLabel", 4},        {"StandardLabel", 5},
        {"ObsLabel", 6},   {"AmbientGroupBox", 7}, {"TempLabel", 8},     {"RHLabel", 9},
        {"CreateReportBitBtn", 10}, {"FechaBitBtn", 11}, {"RHUnitLabel", 15}, {"TempUnitLabel", 15},
        {"DateLabel", 16},
    };
    for (const auto& [name, n] : controls) EXPECT_EQ(text(name), line(n)) << name;
    const devconfig::CertificateTexts& texts = w.report.Texts();
    EXPECT_EQ(platform::FromCp1252(texts.Text(18)), line(12));
    EXPECT_EQ(platform::FromCp1252(texts.Text(1)), line(17));
    EXPECT_EQ(platform::FromCp1252(texts.Text(21)), line(34));
    // The remarks start with the informative note, as translated.
    EXPECT_EQ(w.InReport<QPlainTextEdit>("ObsMemo")->toPlainText(), line(35));
  }
  ui::ProgramLanguage().Clear();
  ReportWorld w;
  EXPECT_EQ(w.report.windowTitle(), QString::fromUtf8("Relatório de Calibração Customizada"));
  EXPECT_TRUE(w.InReport<QPlainTextEdit>("ObsMemo")->toPlainText().startsWith(QStringLiteral("As tabelas")));
}

}  // namespace
