#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTableView>
#include <cerrno>
#include <cstring>

#include "hist_form_fixture.h"
#include "history/column_lines.h"
#include "history_text.h"
#include "qcustomplot.h"

using history::THistForm;
using history_test::Header;
using history_test::kNewStart;
using history_test::Line;

TEST_F(HistFormTest, TheTableShowsRunsApartBelowTheHeaderRows) {
  ASSERT_TRUE(Open(Header() + Line(5, 8, 0, 0, 0, {"1", "2"}) + Line(5, 8, 0, 1, 0, {"3", "4"}) + kNewStart +
                   Line(6, 9, 0, 0, 0, {"5", "6"})));
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
  EXPECT_EQ(form_.LegendText(1), QStringLiteral("Canal 2: 2.000"));
}

// Column 1 lacks its value at 08:00:02: its read-out comes from its own previous point,
// while column 2 reads the point of that very line.
TEST_F(HistFormTest, ReadoutFindsEachSeriesPointByItsOwnTime) {
  ASSERT_TRUE(Open(Header() + Line(5, 8, 0, 0, 0, {"1.5", "10"}) + Line(5, 8, 0, 1, 0, {"2.5", "20"}) +
                   Line(5, 8, 0, 2, 0, {"bad", "30"}) + Line(5, 8, 0, 3, 0, {"4.5", "40"}) + kNewStart +
                   Line(5, 9, 0, 0, 0, {"7", "70"}) + Line(5, 9, 0, 10, 0, {"8", "80"})));
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
    EXPECT_EQ(form_.LegendText(0), QString::fromUtf8(c.first)) << c.label;
    EXPECT_EQ(form_.LegendText(1), QString::fromUtf8(c.second)) << c.label;
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
  EXPECT_TRUE(form_.LegendText(1).startsWith(QStringLiteral("Canal 2: 30.0")));
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
  EXPECT_EQ(form_.LegendText(0), QStringLiteral("Canal 1: 12,500"));
}

// Damaged lines are reported once, with the first one's number and fault, and the rest of
// the file is shown.
TEST_F(HistFormTest, DamagedLinesAreLeftOutAndReportedWithWhere) {
  const QString name = Write(Header() + Line(5, 8, 0, 0, 0, {"1", "2"}) + "32/13/2015, 10:00:00.000, 1, 2\n" +
                             "05/12/2026, 08:00:01.000, 1, 2, 3\n" + Line(5, 8, 0, 2, 0, {"3", "4"}));
  ASSERT_TRUE(form_.OpenFile(name));
  EXPECT_EQ(ui_.messages, QStringList{QStringLiteral("Erro na leitura do arquivo! Linhas danificadas foram deixadas "
                                                     "de fora.\n%1\nLinha 5: a data \"32/13/2015\" não existe.\n"
                                                     "2 linhas deixadas de fora ao todo.")
                                          .arg(name)});
  EXPECT_EQ(form_.Lines()->Lanes(0).at(0)->size(), 2);
  // A line with more values than columns first: the language file's message for it.
  ui_.messages.clear();
  ASSERT_TRUE(Open(Header() + "05/12/2026, 08:00:01.000, 1, 2, 3\n" + Line(5, 8, 0, 2, 0, {"3", "4"})));
  ASSERT_EQ(ui_.messages.size(), 1);
  EXPECT_TRUE(ui_.messages[0].startsWith(form_.Messages()[THistForm::kMsgTooManyColumns] + QStringLiteral("\n")));
  EXPECT_TRUE(ui_.messages[0].endsWith(QStringLiteral("\nLinha 4: mais valores que colunas.")));
}

// A file that is no history file opens nothing: OpenFile says false, nothing of it stays,
// and OpenProblem says what is wrong and on which line. A file of nothing but its header
// (a recording that has just begun) opens, with an empty chart and no time on its axis.
TEST_F(HistFormTest, FilesThatAreNoHistoryFilesOpenNothingAndSayWhy) {
  const QString notHistory = QStringLiteral("Este não é um arquivo de histórico. ");
  const struct { std::string text; QString problem; } cases[] = {
      {Header() + "31/02/2026, 08:00:00.000, 1, 2\n31/02/2026, 08:00:01.000, 1, 2\n",
       notHistory + QStringLiteral("Nenhuma linha de dados pôde ser lida.\nLinha 4: a data \"31/02/2026\" não existe.")},
      {Header() + "1/3/2026, 08:00:00.000, 1, 2\n",
       notHistory +
           QStringLiteral("Nenhuma linha de dados pôde ser lida.\nLinha 4: \"1/3/2026\" não é uma data dd/mm/aaaa.")},
      {" , \n , \n , \n05/12/2026, 08:00:00.000\n",
       QStringLiteral("Este não é um arquivo de histórico.\nLinha 2: a linha dos nomes dos valores não tem nenhuma "
                      "coluna além da data e da hora.")},
      {"", QStringLiteral("O arquivo está vazio.")},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(Open(c.text)) << c.text;
    EXPECT_EQ(form_.OpenProblem(), c.problem) << c.text;
  }
  // Random bytes, with line feeds and commas among them.
  std::string bytes;
  unsigned seed = 7;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 1103515245u + 12345u;
    const char b = static_cast<char>(seed >> 16);
    bytes += b == 0x0B ? '\n' : b == 0x2A ? ',' : b;
  }
  EXPECT_FALSE(Open(bytes));
  EXPECT_TRUE(form_.OpenProblem().contains(QStringLiteral("Linha "))) << form_.OpenProblem().toStdString();
  EXPECT_FALSE(form_.OpenFile(dir_.filePath(QStringLiteral("missing.mpc"))));
  // The caller names the file; the viewer says why it can't be opened.
  EXPECT_EQ(form_.OpenProblem(), QString::fromLocal8Bit(std::strerror(ENOENT)));
  EXPECT_TRUE(ui_.messages.isEmpty());
  EXPECT_EQ(form_.Lines()->ColumnCount(), 0u);
  EXPECT_EQ(form_.Grid()->model(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  ASSERT_TRUE(Open(Header() + kNewStart));
  EXPECT_EQ(form_.OpenProblem(), QString());
  EXPECT_FALSE(form_.Chart()->xAxis->tickLabels());  // no 1970 on an axis without time
  form_.resize(600, 400);
  form_.show();
  const QPointF pos = QRectF(form_.Chart()->axisRect()->rect()).center();
  QMouseEvent move(QEvent::MouseMove, pos, form_.Chart()->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(form_.Chart(), &move);
  EXPECT_EQ(form_.DateTimeLabel()->text(), QStringLiteral("Data:"));
  EXPECT_EQ(form_.LegendText(0), QStringLiteral("Canal 1"));
  ASSERT_TRUE(Open(Header() + Line(5, 8, 0, 0, 0, {"1", "2"})));
  EXPECT_TRUE(form_.Chart()->xAxis->tickLabels());
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
