#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include "ui/language_file.h"
#include "platform/chart_time.h"
#include "history/hist_form.h"
#include "history_text.h"
#include "qcustomplot.h"
#include "support/fake_user_interaction.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

using history::THistForm;
using history_test::Header;
using history_test::kNewStart;
using history_test::Line;

namespace {

class HistFormTest : public testing::Test {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
  void TearDown() override {
    QLocale::setDefault(QLocale::system());
    ui::ProgramLanguage().Clear();
  }

  // Writes the text to a file and opens it in the form.
  bool Open(const std::string& text) {
    QFile file(dir_.filePath(QStringLiteral("h%1.mpc").arg(++files_)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    file.close();
    return form_.OpenFile(file.fileName());
  }
  // The chart key of a time on a day of December 2026.
  static double Key(int day, int h, int m, int s) {
    return chart_time::KeyFromDateTime(46356 + day + (h * 3600 + m * 60 + s) / 86400.0);  // 46357: 2026-12-01
  }
  QCPGraph* Series(size_t run, size_t column) { return form_.SeriesOf(run, column); }

  QTemporaryDir dir_;
  int files_ = 0;
  testsupport::FakeUserInteraction ui_;
  THistForm form_{ui_};
};

}  // namespace

TEST_F(HistFormTest, TwoRunsGiveUnjoinedSeriesInTheSameColoursAndOneLegendEntryPerColumn) {
  ASSERT_TRUE(Open(Header() + Line(5, 8, 0, 0, 0, {"1", "2"}) + Line(5, 8, 0, 1, 0, {"3", "4"}) + kNewStart +
                   Line(6, 9, 0, 0, 0, {"5", "6"})));
  ASSERT_EQ(form_.Series().size(), 4u);
  EXPECT_EQ(form_.Chart()->legend->itemCount(), 2);
  for (size_t c = 0; c < 2; ++c) {
    EXPECT_TRUE(form_.Chart()->legend->hasItemWithPlottable(Series(0, c)));
    EXPECT_EQ(Series(1, c)->pen().color(), Series(0, c)->pen().color());
    EXPECT_EQ(Series(0, c)->dataCount(), 2);
    EXPECT_EQ(Series(1, c)->dataCount(), 1);
  }
  EXPECT_NE(Series(0, 0)->pen().color(), Series(0, 1)->pen().color());
  EXPECT_TRUE(ui_.messages.isEmpty());
  // The table: data rows below the three header rows, an empty row between the runs.
  QAbstractItemModel* model = form_.Grid()->model();
  ASSERT_EQ(model->rowCount(), 4);
  ASSERT_EQ(model->columnCount(), 4);
  EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Sonda A\nCanal 1\n°C"));
  EXPECT_EQ(model->index(2, 0).data().toString(), QString());
  EXPECT_EQ(model->index(3, 3).data().toString(), QStringLiteral("6"));
}

// Constant values get the axis 7..13; a file without a single value still gets an axis that
// is not inverted; the time axis and the read-out reach the points whatever their order.
TEST_F(HistFormTest, AxesOfConstantMissingAndUnorderedValues) {
  ASSERT_TRUE(Open(Header() + Line(5, 8, 0, 0, 0, {"10", "10"}) + Line(5, 8, 0, 1, 0, {"10", "10"})));
  EXPECT_EQ(form_.Chart()->yAxis->range(), QCPRange(7, 13));
  ASSERT_TRUE(Open(Header() + Line(5, 8, 0, 0, 0, {"x", ""})));
  EXPECT_LT(form_.Chart()->yAxis->range().lower, form_.Chart()->yAxis->range().upper);
  // A clock set back during the recording: the time axis still spans every point.
  ASSERT_TRUE(Open(Header() + Line(5, 10, 0, 0, 0, {"1", "2"}) + Line(5, 9, 0, 0, 0, {"1", "2"}) +
                   Line(5, 10, 30, 0, 0, {"1", "2"})));
  EXPECT_EQ(form_.Chart()->xAxis->range(), QCPRange(Key(5, 9, 0, 0), Key(5, 10, 30, 0)));
  form_.ShowReadout(Key(5, 9, 30, 0));  // and the read-out finds them there
  EXPECT_EQ(Series(0, 1)->name(), QStringLiteral("Canal 2: 2.000"));
}

// Column 1 lacks its value at 08:00:02: its read-out comes from its own previous point,
// while column 2 reads the point of that very line.
TEST_F(HistFormTest, ReadoutFindsEachSeriesPointByItsOwnTime) {
  ASSERT_TRUE(Open(Header() + Line(5, 8, 0, 0, 0, {"1.5", "10"}) + Line(5, 8, 0, 1, 0, {"2.5", "20"}) +
                   Line(5, 8, 0, 2, 0, {"bad", "30"}) + Line(5, 8, 0, 3, 0, {"4.5", "40"}) + kNewStart +
                   Line(5, 9, 0, 0, 0, {"7", "70"}) + Line(5, 9, 0, 10, 0, {"8", "80"})));
  ASSERT_EQ(Series(0, 0)->dataCount(), 3);
  const struct { double key; const char *label, *first, *second; } cases[] = {
      {Key(5, 8, 0, 2) + 0.5, "Instante: 05/12/2026 08:00:02.500", "Canal 1: 2.500", "Canal 2: 30.000"},
      {Key(5, 8, 0, 0) + 0.2, "Instante: 05/12/2026 08:00:00.200", "Canal 1: 1.500", "Canal 2: 10.000"},
      {Key(5, 9, 0, 5), "Instante: 05/12/2026 09:00:05.000", "Canal 1: 7.000", "Canal 2: 70.000"},
      // Between the runs and before the first point: no values.
      {Key(5, 8, 30, 0), "Instante: 05/12/2026 08:30:00.000", "Canal 1", "Canal 2"},
      {Key(5, 7, 0, 0), "Instante: 05/12/2026 07:00:00.000", "Canal 1", "Canal 2"},
  };
  for (const auto& c : cases) {
    form_.ShowReadout(c.key);
    EXPECT_EQ(form_.DateTimeLabel()->text(), QString::fromUtf8(c.label));
    EXPECT_EQ(Series(0, 0)->name(), QString::fromUtf8(c.first)) << c.label;
    EXPECT_EQ(Series(0, 1)->name(), QString::fromUtf8(c.second)) << c.label;
  }

  // The same through the mouse, with the cross-hair while "Cruz" is checked.
  form_.resize(800, 600);
  form_.show();
  form_.CrossCheckBox()->setChecked(true);
  form_.Chart()->xAxis->setRange(Key(5, 8, 0, 0), Key(5, 8, 0, 4));
  form_.Chart()->replot();
  QCustomPlot* chart = form_.Chart();
  const QPointF pos(chart->xAxis->coordToPixel(Key(5, 8, 0, 2) + 0.5), chart->axisRect()->rect().center().y());
  QMouseEvent move(QEvent::MouseMove, pos, chart->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(chart, &move);
  EXPECT_TRUE(Series(0, 1)->name().startsWith(QStringLiteral("Canal 2: 30.0")));
  int crossLines = 0;
  for (int i = 0; i < chart->itemCount(); ++i) crossLines += chart->item(i)->visible();
  EXPECT_EQ(crossLines, 2);
  form_.CrossCheckBox()->setChecked(false);
  for (int i = 0; i < chart->itemCount(); ++i) EXPECT_FALSE(chart->item(i)->visible());
}

TEST_F(HistFormTest, TableAndReadoutShowLocalTextsWithoutTimeZone) {
  QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
  ASSERT_TRUE(Open(Header() + Line(5, 14, 34, 51, 123, {"12.5", "-0.25"}) + Line(5, 14, 34, 52, 123, {"13", "1"})));
  const char* row[] = {"05/12/2026", "14:34:51.123", "12,5", "-0,25"};
  for (size_t c = 0; c < 4; ++c) EXPECT_EQ(form_.CellText(3, c), QString::fromUtf8(row[c]));
  form_.ShowReadout(Key(5, 14, 34, 51) + 0.5);
  EXPECT_EQ(Series(0, 0)->name(), QStringLiteral("Canal 1: 12,500"));
}

// Damaged lines are reported once and the rest of the file is shown; a file that cannot be
// shown makes OpenFile return false quietly, with nothing of it left and no wait cursor.
TEST_F(HistFormTest, DamagedFilesAndFilesThatCannotBeShown) {
  ASSERT_TRUE(Open(Header() + Line(5, 8, 0, 0, 0, {"1", "2"}) + "32/13/2015, 10:00:00.000, 1, 2\n" +
                   "05/12/2026, 08:00:01.000, 1, 2, 3\n" + Line(5, 8, 0, 2, 0, {"3", "4"})));
  EXPECT_EQ(ui_.messages,
            QStringList{QStringLiteral("Erro na leitura do arquivo! Número de colunas maior que o esperado!")});
  EXPECT_EQ(Series(0, 0)->dataCount(), 2);
  ui_.messages.clear();
  EXPECT_FALSE(form_.OpenFile(dir_.filePath(QStringLiteral("missing.mpc"))));
  EXPECT_FALSE(Open(" , \n , \n , \n05/12/2026, 08:00:00.000\n"));
  EXPECT_FALSE(Open(""));
  EXPECT_TRUE(ui_.messages.isEmpty());
  EXPECT_TRUE(form_.Series().empty());
  EXPECT_EQ(form_.Grid()->model(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(HistFormTest, TextsFromTheLanguageSection) {
  ui::ProgramLanguage().LoadFromText(
      "# Form Principal\nx\n"
      "# Form de Visualiza\xE7\xE3o de Hist\xF3rico\nChart\nTable\nCross\nAt\nBroken file\nPens...\n");
  THistForm form(ui_);
  EXPECT_EQ(form.PageControl()->tabText(0) + form.PageControl()->tabText(1), QStringLiteral("ChartTable"));
  EXPECT_EQ(form.CrossCheckBox()->text(), QStringLiteral("Cross"));
  EXPECT_EQ(form.Messages(), (QStringList{"At", "Broken file"}));
  EXPECT_EQ(form.PopupMenu()->actions().value(0)->text(), QStringLiteral("Pens..."));
}
