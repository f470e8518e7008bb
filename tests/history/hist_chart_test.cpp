// The viewer's chart: recording runs as lines, the legend, the time axis and the mouse.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSet>
#include <QTimeZone>
#include <limits>
#include <utility>

#include "hist_form_fixture.h"
#include "history/column_lines.h"
#include "history/time_axis_ticker.h"
#include "history_text.h"
#include "qcustomplot.h"
#include "support/legend_checks.h"
#include "support/scoped_locale.h"
#include "support/tick_label_checks.h"
#include "ui/chart_legend.h"
#include "ui/readable_ticks.h"

using history::THistForm;
using history_test::Header;
using history_test::kNewStart;
using history_test::Line;

namespace {

// Whether a pixel near (x, y) (two above or below, for antialiasing) has about the colour.
bool ColourNear(const QImage& image, double x, double y, const QColor& colour) {
  for (int dy = -2; dy <= 2; ++dy) {
    const QColor c = image.pixelColor(static_cast<int>(x), static_cast<int>(y) + dy);
    if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) + std::abs(c.blue() - colour.blue()) < 90)
      return true;
  }
  return false;
}

void Send(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent event(type, at, to->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
  QApplication::sendEvent(to, &event);
}

void Drag(QWidget* on, QPoint from, QPoint to, Qt::MouseButton button) {
  Send(on, QEvent::MouseButtonPress, from, button, button);
  Send(on, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, button);
  Send(on, QEvent::MouseMove, to, Qt::NoButton, button);
  Send(on, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

}  // namespace

// Each run is its own line, broken between runs, in its column's colour; the chart holds
// one plottable however many runs and columns there are, and the legend one entry per
// column; a column's pen changes all its runs at once.
TEST_F(HistFormTest, RunsAreUnjoinedLinesOfTheirColumnsColour) {
  std::string text = Header();
  for (int s = 0; s <= 10; s += 2) text += Line(5, 8, 0, s, 0, {"10", "20"});
  text += kNewStart;
  for (int s = 20; s <= 30; s += 2) text += Line(5, 8, 0, s, 0, {"10", "20"});
  text += kNewStart + kNewStart + Line(5, 8, 0, 40, 0, {"10"});  // an empty run, then a short one
  ASSERT_TRUE(Open(text));
  EXPECT_EQ(form_.RunCount(), 4u);
  QCustomPlot* chart = form_.Chart();
  EXPECT_EQ(chart->plottableCount(), 1);
  EXPECT_EQ(form_.Legend()->model()->rowCount(), 2);
  ASSERT_EQ(form_.Lines()->Lanes(0).size(), 1u);
  EXPECT_EQ(form_.Lines()->Lanes(0)[0]->size(), 6 + 1 + 6 + 1 + 1);  // two breaks between three runs
  EXPECT_EQ(form_.Lines()->Lanes(1)[0]->size(), 6 + 1 + 6);

  form_.resize(900, 600);
  form_.show();
  QApplication::processEvents();
  chart->xAxis->setRange(Key(5, 8, 0, 0), Key(5, 8, 0, 30));
  chart->replot();
  const auto pixels = [&](double s, double value, const QColor& colour) {
    const QImage image = chart->toPixmap().toImage();
    return ColourNear(image, chart->xAxis->coordToPixel(Key(5, 8, 0, s)), chart->yAxis->coordToPixel(value), colour);
  };
  EXPECT_NE(form_.ColumnPen(0).color(), form_.ColumnPen(1).color());
  // Lines wide enough to find without antialiasing in the way.
  const QColor first(220, 0, 0), second(0, 140, 0);
  form_.SetColumnPen(0, QPen(first, 3));
  form_.SetColumnPen(1, QPen(second, 3));
  EXPECT_TRUE(pixels(5, 10, first));
  EXPECT_TRUE(pixels(25, 10, first));
  EXPECT_FALSE(pixels(15, 10, first));  // no line from one run to the next
  EXPECT_TRUE(pixels(25, 20, second));
  EXPECT_FALSE(pixels(15, 20, second));

  form_.SetColumnPen(0, QPen(QColor(0, 160, 255), 3));
  EXPECT_TRUE(pixels(5, 10, QColor(0, 160, 255)));
  EXPECT_TRUE(pixels(25, 10, QColor(0, 160, 255)));
  EXPECT_EQ(form_.ColumnPen(0).width(), 3);
}

// A recording appended with a clock set back overlaps the one before: its points never join
// the other run's line, and the read-out takes the first run that holds the cursor.
TEST_F(HistFormTest, OverlappingRunsKeepTheirOwnLines) {
  std::string text = Header();
  for (int m = 0; m <= 10; ++m) text += Line(5, 10, m, 0, 0, {"1", "2"});
  text += kNewStart;
  for (int m = 55; m <= 65; ++m) text += Line(5, 9 + m / 60, m % 60, 0, 0, {"5", "6"});
  ASSERT_TRUE(Open(text));
  EXPECT_EQ(form_.Lines()->Lanes(0).size(), 2u);
  form_.resize(900, 600);
  form_.show();
  QApplication::processEvents();
  QCustomPlot* chart = form_.Chart();
  const QColor colour(220, 0, 0);
  form_.SetColumnPen(0, QPen(colour, 3));
  const QImage image = chart->toPixmap().toImage();
  const auto at = [&](int h, int m, double value) {
    return ColourNear(image, chart->xAxis->coordToPixel(Key(5, h, m, 0)), chart->yAxis->coordToPixel(value), colour);
  };
  EXPECT_TRUE(at(10, 5, 1));
  EXPECT_TRUE(at(9, 57, 5));
  EXPECT_FALSE(at(9, 57, 1));
  EXPECT_FALSE(at(10, 8, 5));
  form_.ShowReadout(Key(5, 10, 2, 0));
  EXPECT_EQ(form_.LegendText(0), QStringLiteral("Canal 1: 1.000"));
  form_.ShowReadout(Key(5, 9, 57, 30));
  EXPECT_EQ(form_.LegendText(0), QStringLiteral("Canal 1: 5.000"));
}

// From years down to milliseconds, two ticks never carry the same label; ticks less than a
// second apart show their milliseconds.
TEST_F(HistFormTest, TimeAxisLabelsNeverRepeat) {
  history::TimeAxisTicker ticker;
  const double start = Key(5, 8, 0, 1);
  const double spans[] = {3 * 365 * 86400.0, 40 * 86400.0, 3 * 86400.0, 5 * 3600.0, 600, 90, 12, 2, 1, 0.3, 0.05,
                          0.004, 0.0004};
  for (const double span : spans) {
    QVector<double> ticks;
    QVector<QString> labels;
    ticker.generate(QCPRange(start, start + span), QLocale(), QLatin1Char('g'), 6, ticks, nullptr, &labels);
    EXPECT_EQ(QSet<QString>(labels.begin(), labels.end()).size(), labels.size()) << span << labels.join(' ').toStdString();
    if (span >= 0.004) {
      EXPECT_GE(labels.size(), 2) << span;
    }
  }
  QVector<double> ticks;
  QVector<QString> labels;
  ticker.generate(QCPRange(start, start + 2), QLocale(), QLatin1Char('g'), 6, ticks, nullptr, &labels);
  EXPECT_TRUE(labels.contains(QStringLiteral("05/12/2026\n08:00:01.500"))) << labels.join(' ').toStdString();
  EXPECT_EQ(ticker.LabelFor(Key(5, 8, 0, 1) + 0.2, 1), QStringLiteral("05/12/2026\n08:00:01"));
}

// The steps the time axis takes: the smallest that reads well and is as long as asked, never
// finer than a millisecond and never 2.5 s (whole seconds label without milliseconds).
TEST(TimeAxisTicker, StepsReadWell) {
  constexpr double kDay = 86400, kMonth = 30.4375 * kDay;
  const std::pair<double, double> cases[] = {  // at least, step
      {0, 0.001},           {-1, 0.001},           {std::numeric_limits<double>::quiet_NaN(), 0.001},
      {0.0004, 0.001},      {0.0015, 0.002},       {0.3, 0.5},
      {0.6, 1},             {2, 2},                {2.1, 5},
      {100, 150},           {1.5 * kDay, 2 * kDay}, {8 * kDay, 14 * kDay},
      {20 * kDay, kMonth},  {400 * kDay, 24 * kMonth}};
  for (const auto& [least, step] : cases)
    EXPECT_DOUBLE_EQ(history::TimeAxisTicker::StepOfAtLeast(least), step) << least;
}

// The time axis's labels (a date over a time) never run into one another, at any window width,
// over a file of milliseconds or of years, in the user's date and time formats; a window
// shrunk from wide to narrow spaces them at once, and a zoom for its new range. A window 400
// pixels wide ran "05/12/2026 08:00:05" into its neighbours. However narrow, the axis shows a
// label wherever one fits: below about 320 pixels its one step was longer than the range, and
// no tick fell inside it.
TEST_F(HistFormTest, TimeAxisLabelsNeverRunIntoOneAnother) {
  constexpr qint64 kSecond = 1000, kDay = 86400 * kSecond;
  const std::pair<int, qint64> spans[] = {  // lines, and the time between them (ms)
      {31, 10}, {21, 100}, {61, kSecond}, {601, kSecond}, {301, 60 * kSecond}, {73, 3600 * kSecond},
      {81, kDay / 2}, {110, 10 * kDay}};
  const QDateTime start(QDate(2026, 12, 5), QTime(8, 0), QTimeZone::utc());
  for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedKingdom), testsupport::Brazil(),
                                testsupport::UnitedStates()}) {
    SCOPED_TRACE(locale.name().toStdString());
    testsupport::ScopedDefaultLocale user(locale);
    THistForm form(ui_);  // takes the user's formats when made
    form.show();
    QCPAxis* axis = form.Chart()->xAxis;
    const auto expectApart = [&](int width, int atLeast) {
      EXPECT_EQ(testsupport::TickLabelsRunTogether(*axis), std::vector<std::string>{}) << width;
      EXPECT_GE(testsupport::TickLabelsShown(*axis), atLeast) << width;
    };
    // The widest label the axis may take (with milliseconds) fits along it.
    const auto oneFits = [&] {
      const auto* ticker = dynamic_cast<const history::TimeAxisTicker*>(axis->ticker().data());
      return ui::TickLabelRect(axis, ticker->LabelFor(axis->range().lower, 0.001)).width() < axis->axisRect()->width();
    };
    for (const auto& [lines, stepMs] : spans) {
      SCOPED_TRACE(stepMs);
      std::string text = Header();
      for (int i = 0; i < lines; ++i)
        text += start.addMSecs(i * stepMs).toString(QStringLiteral("dd/MM/yyyy, hh:mm:ss.zzz")).toStdString() +
                ", 20, 50\n";
      ASSERT_TRUE(form.OpenFile(Write(text)));
      for (const int width : {340, 400, 600, 1000, 400, 320, 280, 240, 200, 150, 400}) {
        form.resize(width, 500);
        QApplication::processEvents();
        if (width >= 200) {
          ASSERT_TRUE(oneFits()) << width;
        }
        expectApart(width, width >= 600 ? 2 : oneFits() ? 1 : 0);
      }
      axis->setRange(axis->range().center(), axis->range().center() + axis->range().size() / 7);
      form.Chart()->replot();
      expectApart(400, 1);
    }
  }
}

// A window with room for one time label over two months: the label falls on the longest step a
// lone label takes, a whole day (midnight of 29 January, a multiple of two weeks), never on a
// month's step, whose multiples fall at any hour (10:30 of 31 January here).
TEST_F(HistFormTest, TheLoneTimeLabelOfALongRecordingFallsOnAWholeDay) {
  testsupport::ScopedDefaultLocale user(QLocale(QLocale::English, QLocale::UnitedKingdom));
  THistForm form(ui_);
  form.show();
  const QDateTime start(QDate(2025, 12, 31), QTime(8, 0), QTimeZone::utc());
  std::string text = Header();
  for (int day = 0; day <= 60; ++day)
    text += start.addDays(day).toString(QStringLiteral("dd/MM/yyyy, hh:mm:ss.zzz")).toStdString() + ", 20, 50\n";
  ASSERT_TRUE(form.OpenFile(Write(text)));
  form.resize(150, 500);
  QApplication::processEvents();
  EXPECT_EQ(testsupport::TickLabelsShownText(*form.Chart()->xAxis), std::vector<std::string>{"29/01/2026 00:00:00"});
}

// Dragging right and down zooms both axes to the rectangle; dragging up or left brings the
// whole file back (so error values of -999 don't flatten the readings for good); the right
// button drags the view along, and a right click opens the popup menu.
TEST_F(HistFormTest, DraggedRectangleZoomsAndUpLeftRestoresTheWholeFile) {
  ASSERT_TRUE(Open(Header() + Line(5, 8, 0, 0, 0, {"20", "21"}) + Line(5, 8, 0, 10, 0, {"-999", "22"}) +
                   Line(5, 8, 0, 20, 0, {"23", "24"})));
  form_.resize(900, 600);
  form_.show();
  QApplication::processEvents();
  QCustomPlot* chart = form_.Chart();
  const QCPRange wholeX = chart->xAxis->range(), wholeY = chart->yAxis->range();
  EXPECT_LT(wholeY.lower, -999);
  const QRect plot = chart->axisRect()->rect();
  const QPoint from(plot.left() + plot.width() / 4, plot.top() + 5), to(plot.center().x(), plot.top() + 25);
  const QCPRange expectX(chart->xAxis->pixelToCoord(from.x()), chart->xAxis->pixelToCoord(to.x()));
  const QCPRange expectY(chart->yAxis->pixelToCoord(to.y()), chart->yAxis->pixelToCoord(from.y()));
  Drag(chart, from, to, Qt::LeftButton);
  EXPECT_NEAR(chart->xAxis->range().lower, expectX.lower, 1e-3);
  EXPECT_NEAR(chart->xAxis->range().upper, expectX.upper, 1e-3);
  EXPECT_NEAR(chart->yAxis->range().lower, expectY.lower, 1e-6);
  EXPECT_NEAR(chart->yAxis->range().upper, expectY.upper, 1e-6);
  EXPECT_GT(chart->yAxis->range().lower, 0);

  // A click is no drag; the right button moves the view by what the mouse moved.
  Drag(chart, to, to + QPoint(1, 1), Qt::LeftButton);
  EXPECT_NEAR(chart->yAxis->range().lower, expectY.lower, 1e-6);
  const double pixelSeconds = chart->xAxis->pixelToCoord(1) - chart->xAxis->pixelToCoord(0);
  Drag(chart, plot.center(), plot.center() + QPoint(40, 0), Qt::RightButton);
  EXPECT_NEAR(chart->xAxis->range().lower, expectX.lower - 40 * pixelSeconds, 1e-3);
  EXPECT_FALSE(form_.PopupMenu()->isVisible());
  Drag(chart, plot.center(), plot.center(), Qt::RightButton);
  EXPECT_TRUE(form_.PopupMenu()->isVisible());
  form_.PopupMenu()->hide();

  Drag(chart, to, from, Qt::LeftButton);  // up and to the left
  EXPECT_EQ(chart->xAxis->range(), wholeX);
  EXPECT_EQ(chart->yAxis->range(), wholeY);
  Drag(chart, plot.center(), plot.center() + QPoint(-30, 30), Qt::LeftButton);  // down-left too
  EXPECT_EQ(chart->yAxis->range(), wholeY);
}

// However many value columns, the legend takes at most a quarter of the chart page; in a
// roomy window its entries sit side by side and all show.
TEST_F(HistFormTest, LegendLeavesTheChartReadableInASmallWindow) {
  std::string header = " , , Forno do laboratório central, , , , , , Sonda A, , , , , \n , ";
  for (int c = 0; c < 12; ++c) header += ", Temperatura da câmara " + std::to_string(c);
  std::vector<std::string> values(12, "1");
  ASSERT_TRUE(Open(header + "\n , \n" + Line(5, 8, 0, 0, 0, values) + Line(5, 8, 0, 1, 0, values)));
  ASSERT_EQ(form_.Legend()->model()->rowCount(), 12);
  form_.show();
  for (const QSize size : {QSize(320, 240), QSize(200, 500), QSize(1400, 900)}) {
    form_.resize(size);
    QApplication::processEvents();
    const int page = form_.Chart()->parentWidget()->height();
    EXPECT_LE(form_.Legend()->height(), page / 4) << size.width();
    EXPECT_GE(form_.Chart()->height(), 2 * form_.Legend()->height()) << size.width();
  }
  EXPECT_EQ(form_.Legend()->verticalScrollBar()->maximum(), 0);  // all twelve in view
  form_.resize(320, 240);
  QApplication::processEvents();
  EXPECT_GT(form_.Legend()->verticalScrollBar()->maximum(), 0);  // the rest a scroll away
}

// A few columns show every name and its read-out whole in a small window, as the cursor
// moves and after the window is resized; none is cut or a scroll away.
TEST_F(HistFormTest, AFewColumnsShowEveryNameAndReadoutWhole) {
  ASSERT_TRUE(Open(" , , Sim3, Sim4, , Estufa 2\n , , Temp, Temp, Umidade, Ambiente\n , \n" +
                   Line(5, 8, 0, 0, 0, {"21.5", "-4.25", "55", "-1234.5"}) +
                   Line(5, 8, 0, 2, 0, {"22.5", "-3.25", "56", "-1230.5"})));
  form_.resize(400, 300);
  form_.show();
  QApplication::processEvents();
  for (double second : {0.0, 1.0, 2.0}) {
    form_.ShowReadout(Key(5, 8, 0, second));
    EXPECT_EQ(form_.LegendText(3), QStringLiteral("Estufa 2 / Ambiente: ") + (second < 2 ? "-1234.500" : "-1230.500"));
    EXPECT_EQ(testsupport::EntriesNotShownWhole(*form_.Legend()), std::vector<std::string>{}) << second;
  }
  form_.resize(420, 320);
  QApplication::processEvents();
  EXPECT_EQ(testsupport::EntriesNotShownWhole(*form_.Legend()), std::vector<std::string>{});
  EXPECT_LE(form_.Legend()->height(), form_.Chart()->parentWidget()->height() / 4);
}

// A long name shows whole in the legend, never cut at its edge: in the window's own font
// wherever that fits it, and as the window narrows a pixel at a time, in the largest smaller
// font that does: a size is passed over only where it measures the name as wide as the size
// before it.
TEST_F(HistFormTest, ALongNameTakesTheLargestLegendFontThatShowsItWhole) {
  ASSERT_TRUE(Open(" , , Forno do laborat\xF3rio central\n , , Temperatura da c\xE2mara de ensaio\n , , \xB0" "C\n" +
                   Line(5, 8, 0, 0, 0, {"21.5"}) + Line(5, 8, 0, 1, 0, {"22.5"})));
  ui::ChartLegendView* legend = form_.Legend();
  const QString title = legend->model()->index(0, 0).data(ui::ChartLegendModel::kTitleRole).toString();
  const auto fontOf = [](const QWidget* widget) { return widget->font().toString().toStdString(); };
  const auto titleWidth = [&](double points) {
    QFont font = form_.font();
    font.setPointSizeF(points);
    return QFontMetrics(font).horizontalAdvance(title);
  };
  form_.show();
  form_.resize(900, 500);
  QApplication::processEvents();
  EXPECT_TRUE(legend->EntriesMeasured());
  EXPECT_EQ(fontOf(legend), fontOf(&form_));
  EXPECT_EQ(testsupport::EntriesNotShownWhole(*legend), std::vector<std::string>{});
  double points = legend->font().pointSizeF();
  int steps = 0;
  for (int width = 899; width >= 200; --width) {
    form_.resize(width, 500);
    QApplication::processEvents();
    if (!legend->EntriesMeasured()) break;  // equal cells: even the smallest font is too large
    EXPECT_EQ(testsupport::EntriesNotShownWhole(*legend), std::vector<std::string>{}) << width;
    const double now = legend->font().pointSizeF();
    if (now == points) continue;
    for (double passed = points - 0.5; passed > now; passed -= 0.5)
      EXPECT_EQ(titleWidth(passed), titleWidth(points)) << width << " passed over " << passed;
    points = now;
    ++steps;
  }
  EXPECT_GE(steps, 2);
  form_.resize(900, 500);
  QApplication::processEvents();
  EXPECT_EQ(fontOf(legend), fontOf(&form_));
}

// A small file of two devices and 200,000 value columns opens whole, every column named and
// in the legend; the open grows with the columns, not with their square.
TEST_F(HistFormTest, TwoHundredThousandColumnsOpenWhole) {
  const size_t columns = 200000;
  ASSERT_TRUE(Open(" , , Sonda A, Forno\n , , Canal 1" + std::string(columns - 1, ',') + "\n , \n" +
                   Line(5, 8, 0, 0, 0, {"1", "2", "3"}) + Line(5, 8, 0, 1, 0, {"4", "5"})));
  ASSERT_EQ(form_.SeriesPerRun(), columns);
  EXPECT_EQ(form_.SeriesTitle(0), QStringLiteral("Sonda A / Canal 1"));
  EXPECT_EQ(form_.SeriesTitle(columns - 1), QStringLiteral("Forno / "));
  EXPECT_EQ(form_.Legend()->model()->rowCount(), static_cast<int>(columns));
  form_.resize(800, 600);
  form_.show();
  QApplication::processEvents();
  form_.ShowReadout(Key(5, 8, 0, 0) + 0.5);
  EXPECT_EQ(form_.LegendText(1), QStringLiteral("Forno / : 2.000"));
  EXPECT_EQ(form_.LegendText(2), QStringLiteral("Forno / "));  // a single point: the cursor is past it
  EXPECT_LE(form_.Legend()->height(), form_.Chart()->parentWidget()->height() / 4);
}

// A device name too long to read in a legend is cut there, in every column under it and in
// the chart's title; the table shows it whole.
TEST_F(HistFormTest, LongHeaderNamesAreCutInTheLegendAndWholeInTheTable) {
  const std::string longName(500, 'A');
  ASSERT_TRUE(Open(" , , Sonda B, " + longName + "\n , , Canal 1, Canal 2, Canal 3\n , \n" +
                   Line(5, 8, 0, 0, 0, {"1", "2", "3"})));
  const QString cut = QString(39, QLatin1Char('A')) + QChar(0x2026);
  EXPECT_EQ(form_.SeriesTitle(0), QStringLiteral("Sonda B / Canal 1"));
  EXPECT_EQ(form_.SeriesTitle(1), cut + QStringLiteral(" / Canal 2"));
  EXPECT_EQ(form_.SeriesTitle(2), cut + QStringLiteral(" / Canal 3"));
  EXPECT_EQ(form_.Legend()->model()->index(2, 0).data(Qt::ToolTipRole).toString(), cut + QStringLiteral(" / Canal 3"));
  form_.ShowReadout(Key(5, 8, 0, 0));
  EXPECT_EQ(form_.LegendText(1), cut + QStringLiteral(" / Canal 2: 2.000"));
  EXPECT_EQ(form_.CellText(0, 3), QString::fromLatin1(longName));
}
