#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include "app/language_file.h"
#include "app/main_window_services.h"
#include "fake_user_interaction.h"
#include "history/chart_keys.h"
#include "history/hist_form.h"
#include "history_text.h"
#include "qcustomplot.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

using history::THistForm;
using history_test::DataLine;
using history_test::Header;
using history_test::NewStart;

namespace {

class HistFormTest : public testing::Test {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
  void TearDown() override {
    QLocale::setDefault(QLocale::system());
    app::ProgramLanguage().Clear();
  }

  QString Write(const std::string& text, const QString& name = QStringLiteral("h.mpc")) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path;
  }

  // Moves the mouse over the chart to the time of a chart key, halfway up the plot.
  static void MouseAt(THistForm& form, double key) {
    QCustomPlot* chart = form.Chart();
    const QPointF pos(chart->xAxis->coordToPixel(key), chart->axisRect()->rect().center().y());
    QMouseEvent move(QEvent::MouseMove, pos, chart->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(chart, &move);
  }

  static double Key(int day, int h, int m, int s) {
    TDateTime date;
    platform::TryEncodeDate(2026, 12, day, date);
    return history::ChartKey(date + (h * 3600 + m * 60 + s) / 86400.0);
  }

  QTemporaryDir dir_;
  history_test::FakeUserInteraction ui_;
};

}  // namespace

TEST_F(HistFormTest, TwoRunsGiveUnjoinedSeriesInTheSameColoursAndOneLegendEntryPerColumn) {
  const QString path =
      Write(Header() + DataLine(5, 12, 2026, 8, 0, 0, 0, {"1", "2"}) + DataLine(5, 12, 2026, 8, 0, 1, 0, {"3", "4"}) +
            NewStart() + DataLine(6, 12, 2026, 9, 0, 0, 0, {"5", "6"}));
  THistForm form(ui_);
  ASSERT_TRUE(form.OpenFile(path));
  EXPECT_EQ(form.windowTitle(), path);
  ASSERT_EQ(form.Series().size(), 4u);
  EXPECT_EQ(form.RunCount(), 2u);
  EXPECT_EQ(form.Chart()->legend->itemCount(), 2);
  for (size_t c = 0; c < 2; ++c) {
    EXPECT_TRUE(form.Chart()->legend->hasItemWithPlottable(form.SeriesOf(0, c)));
    EXPECT_FALSE(form.Chart()->legend->hasItemWithPlottable(form.SeriesOf(1, c)));
    EXPECT_EQ(form.SeriesOf(1, c)->pen().color(), form.SeriesOf(0, c)->pen().color());
    EXPECT_EQ(form.SeriesOf(0, c)->dataCount(), 2);
    EXPECT_EQ(form.SeriesOf(1, c)->dataCount(), 1);
  }
  EXPECT_NE(form.SeriesOf(0, 0)->pen().color(), form.SeriesOf(0, 1)->pen().color());
  EXPECT_EQ(form.SeriesOf(0, 1)->name(), QStringLiteral("Canal 2"));
  EXPECT_EQ(form.PageControl()->currentWidget()->objectName(), QStringLiteral("ChartTabSheet"));
  EXPECT_TRUE(ui_.messages.isEmpty());

  // The table: data rows below the three header rows, an empty row between the runs.
  QAbstractItemModel* model = form.Grid()->model();
  ASSERT_EQ(model->rowCount(), 4);
  ASSERT_EQ(model->columnCount(), 4);
  EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Sonda A\nCanal 1\n°C"));
  EXPECT_EQ(model->index(2, 0).data().toString(), QString());
  EXPECT_EQ(model->index(3, 3).data().toString(), QStringLiteral("6"));
}

TEST_F(HistFormTest, ConstantValuesGetTheAxisSevenToThirteen) {
  const QString path = Write(Header() + DataLine(5, 12, 2026, 8, 0, 0, 0, {"10", "10"}) +
                             DataLine(5, 12, 2026, 8, 0, 1, 0, {"10", "10"}));
  THistForm form(ui_);
  ASSERT_TRUE(form.OpenFile(path));
  EXPECT_EQ(form.Chart()->yAxis->range().lower, 7.0);
  EXPECT_EQ(form.Chart()->yAxis->range().upper, 13.0);
}

TEST_F(HistFormTest, AFileWithoutValuesStillGetsAnAxis) {
  const QString path = Write(Header() + DataLine(5, 12, 2026, 8, 0, 0, 0, {"x", ""}));
  THistForm form(ui_);
  ASSERT_TRUE(form.OpenFile(path));
  EXPECT_LT(form.Chart()->yAxis->range().lower, form.Chart()->yAxis->range().upper);
}

// Column 1 lacks its value at 08:00:02: its read-out comes from its own previous point,
// while column 2 reads the point of that very line.
TEST_F(HistFormTest, ReadoutFindsEachSeriesPointByItsOwnTime) {
  const QString path = Write(Header() + DataLine(5, 12, 2026, 8, 0, 0, 0, {"1.5", "10"}) +
                             DataLine(5, 12, 2026, 8, 0, 1, 0, {"2.5", "20"}) +
                             DataLine(5, 12, 2026, 8, 0, 2, 0, {"bad", "30"}) +
                             DataLine(5, 12, 2026, 8, 0, 3, 0, {"4.5", "40"}) + NewStart() +
                             DataLine(5, 12, 2026, 9, 0, 0, 0, {"7", "70"}) + DataLine(5, 12, 2026, 9, 0, 10, 0, {"8", "80"}));
  THistForm form(ui_);
  ASSERT_TRUE(form.OpenFile(path));
  form.resize(800, 600);
  form.show();
  QApplication::processEvents();
  ASSERT_EQ(form.SeriesOf(0, 0)->dataCount(), 3);

  struct Case {
    double key;
    const char* label;
    const char* first;
    const char* second;
  };
  const Case cases[] = {
      {Key(5, 8, 0, 2) + 0.5, "Instante: 05/12/2026 08:00:02.500", "Canal 1: 2.500", "Canal 2: 30.000"},
      {Key(5, 8, 0, 0) + 0.2, "Instante: 05/12/2026 08:00:00.200", "Canal 1: 1.500", "Canal 2: 10.000"},
      {Key(5, 9, 0, 5), "Instante: 05/12/2026 09:00:05.000", "Canal 1: 7.000", "Canal 2: 70.000"},
      // Between the runs and before the first point: no values.
      {Key(5, 8, 30, 0), "Instante: 05/12/2026 08:30:00.000", "Canal 1", "Canal 2"},
      {Key(5, 7, 0, 0), "Instante: 05/12/2026 07:00:00.000", "Canal 1", "Canal 2"},
  };
  for (const Case& c : cases) {
    form.ShowReadout(c.key);
    EXPECT_EQ(form.DateTimeLabel()->text(), QString::fromUtf8(c.label));
    EXPECT_EQ(form.SeriesOf(0, 0)->name(), QString::fromUtf8(c.first)) << c.label;
    EXPECT_EQ(form.SeriesOf(0, 1)->name(), QString::fromUtf8(c.second)) << c.label;
  }

  // The same through the mouse, with the cross-hair, in a locale with a decimal comma.
  form.CrossCheckBox()->setChecked(true);
  form.Chart()->xAxis->setRange(Key(5, 8, 0, 0), Key(5, 8, 0, 4));
  form.Chart()->replot();
  MouseAt(form, Key(5, 8, 0, 2) + 0.5);
  EXPECT_TRUE(form.SeriesOf(0, 1)->name().startsWith(QStringLiteral("Canal 2: 30.0")));
  int crossLines = 0;
  for (int i = 0; i < form.Chart()->itemCount(); ++i) {
    auto* line = qobject_cast<QCPItemLine*>(form.Chart()->item(i));
    if (line && line->visible()) {
      ++crossLines;
      EXPECT_TRUE(line->start->coords().x() == line->end->coords().x() ||
                  line->start->coords().y() == line->end->coords().y());
    }
  }
  EXPECT_EQ(crossLines, 2);
  form.CrossCheckBox()->setChecked(false);
  for (int i = 0; i < form.Chart()->itemCount(); ++i) EXPECT_FALSE(form.Chart()->item(i)->visible());
}

TEST_F(HistFormTest, TableShowsLocalTextsWithoutTimeZone) {
  QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
  const QString path = Write(Header() + DataLine(5, 12, 2026, 14, 34, 51, 123, {"12.5", "-0.25"}) +
                             DataLine(5, 12, 2026, 14, 34, 52, 123, {"13", "1"}));
  THistForm form(ui_);
  ASSERT_TRUE(form.OpenFile(path));
  EXPECT_EQ(form.CellText(3, 0), QStringLiteral("05/12/2026"));
  EXPECT_EQ(form.CellText(3, 1), QStringLiteral("14:34:51.123"));
  EXPECT_EQ(form.CellText(3, 2), QStringLiteral("12,5"));
  EXPECT_EQ(form.CellText(3, 3), QStringLiteral("-0,25"));
  EXPECT_EQ(form.CellText(1, 2), QStringLiteral("Canal 1"));
  form.ShowReadout(Key(5, 14, 34, 51) + 0.5);
  EXPECT_EQ(form.SeriesOf(0, 0)->name(), QStringLiteral("Canal 1: 12,500"));
}

TEST_F(HistFormTest, DamagedLinesAreReportedOnceAndTheRestIsShown) {
  const QString path = Write(Header() + DataLine(5, 12, 2026, 8, 0, 0, 0, {"1", "2"}) +
                             "32/13/2015, 10:00:00.000, 1, 2\n" + "05/12/2026, 08:00:01.000, 1, 2, 3\n" +
                             DataLine(5, 12, 2026, 8, 0, 2, 0, {"3", "4"}));
  THistForm form(ui_);
  ASSERT_TRUE(form.OpenFile(path));
  ASSERT_EQ(ui_.messages.size(), 1);
  EXPECT_EQ(ui_.messages[0], QStringLiteral("Erro na leitura do arquivo! Número de colunas maior que o esperado!"));
  EXPECT_EQ(form.SeriesOf(0, 0)->dataCount(), 2);
}

TEST_F(HistFormTest, FilesThatCannotBeShownReturnFalseQuietly) {
  THistForm form(ui_);
  EXPECT_FALSE(form.OpenFile(dir_.filePath(QStringLiteral("missing.mpc"))));
  EXPECT_FALSE(form.OpenFile(Write(" , \n , \n , \n05/12/2026, 08:00:00.000\n")));
  EXPECT_FALSE(form.OpenFile(Write("")));
  EXPECT_TRUE(ui_.messages.isEmpty());
  EXPECT_TRUE(form.Series().empty());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // the wait cursor is gone again
}

namespace {

class FakeMainWindow : public app::MainWindowServices {
 public:
  float GetErrorValue() const override { return 0; }
  QString GetExportSuccessMessage() const override { return {}; }
  QString MenuItemCaption(const QString& name) const override { return QStringLiteral("main ") + name; }
  void OpenHistoryFile(const QString&) override {}
};

}  // namespace

TEST_F(HistFormTest, LanguageSectionAndMainMenuCaptions) {
  app::ProgramLanguage().LoadFromText(
      "# Form Principal\nx\n"
      "# Form de Visualiza\xE7\xE3o de Hist\xF3rico\nChart\nTable\nCross\nAt\nBroken file\nPens...\n");
  FakeMainWindow main;
  app::MainWindow() = &main;
  THistForm form(ui_);
  app::MainWindow() = nullptr;
  EXPECT_EQ(form.PageControl()->tabText(0), QStringLiteral("Chart"));
  EXPECT_EQ(form.PageControl()->tabText(1), QStringLiteral("Table"));
  EXPECT_EQ(form.CrossCheckBox()->text(), QStringLiteral("Cross"));
  EXPECT_FALSE(form.CrossCheckBox()->isChecked());
  const QList<QAction*> items = form.PopupMenu()->actions();
  ASSERT_EQ(items.size(), 4);
  const char* names[] = {"ConfigurarGrafico", "Imprimir", "Exportar", "Fechar"};
  const char* texts[] = {"Pens...", "main Imprimir", "main ExportarHistorico", "main FecharJanela"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(items[i]->objectName(), QString::fromLatin1(names[i]));
    EXPECT_EQ(items[i]->text(), QString::fromLatin1(texts[i]));
  }
  ASSERT_TRUE(form.OpenFile(Write(Header() + DataLine(5, 12, 2026, 8, 0, 0, 0, {"1", "2"}) +
                                  "05/12/2026, 08:00:01.000, 1, 2, 3\n")));
  EXPECT_EQ(ui_.messages.value(0), QStringLiteral("Broken file"));
  form.ShowReadout(Key(5, 8, 0, 0));
  EXPECT_TRUE(form.DateTimeLabel()->text().startsWith(QStringLiteral("At: ")));
}

TEST_F(HistFormTest, BuiltInTexts) {
  THistForm form(ui_);
  EXPECT_EQ(form.PageControl()->tabText(0), QStringLiteral("Gráfico"));
  EXPECT_EQ(form.PageControl()->tabText(1), QStringLiteral("Tabela"));
  EXPECT_EQ(form.PageControl()->currentWidget()->objectName(), QStringLiteral("TableTabSheet"));
  EXPECT_EQ(form.DateTimeLabel()->text(), QStringLiteral("Data:"));
  EXPECT_EQ(form.CrossCheckBox()->text(), QStringLiteral("Cruz"));
  EXPECT_EQ(form.PopupMenu()->actions().value(0)->text(), QStringLiteral("Configurar gráfico..."));
}
