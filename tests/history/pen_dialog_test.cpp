// The pen dialog on a viewer: one row per value column of the first recording run whose colour
// goes to the column's line in every run, the chart's two colour rows, and nothing changed
// before "Aplica".
#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QSpinBox>
#include <deque>
#include <optional>

#include "controls/tcolor.h"
#include "hist_form_fixture.h"
#include "history/column_lines.h"
#include "history/hist_config_form.h"
#include "history/history_text.h"
#include "qcustomplot.h"
#include "ui/color_chooser.h"
#include "ui/color_circle.h"

namespace {

using history::THistConfigForm;
using history_test::Header;
using history_test::kNewStart;
using history_test::Line;

// Answers the colour dialog from a queue: a colour, or cancel when the queue is empty.
class ScriptedColors : public ui::ColorChooser {
 public:
  std::optional<QColor> Choose(QWidget*, const QColor& initial) override {
    offered.push_back(initial);
    if (answers.empty()) return std::nullopt;
    const QColor answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<QColor> answers;
  std::vector<QColor> offered;
};

class PenDialogTest : public HistFormTest {
 protected:
  void SetUp() override {
    HistFormTest::SetUp();
    form_.SetPenDialog(&dialog_);
  }
  // Runs the viewer's command with `steps` as what the user does in the dialog.
  void Configure(const std::function<void()>& steps) {
    ui_.onModal = [&](QDialog* dialog) {
      ASSERT_EQ(dialog, &dialog_);
      steps();
    };
    form_.ConfigurePens();
    ui_.onModal = nullptr;
  }
  QString Captions() {
    QStringList texts;
    for (QPushButton* button : dialog_.RowButtons()) texts << button->text();
    return texts.join(QLatin1Char('|'));
  }

  ScriptedColors colors_;
  THistConfigForm dialog_{ui_, &colors_};
};

const QColor kChosen(0, 200, 255);

// Pixels of exactly that colour left and right of a chart x.
std::pair<int, int> PixelsEitherSide(const QImage& image, int x, const QColor& color) {
  int left = 0, right = 0;
  for (int py = 0; py < image.height(); ++py)
    for (int px = 0; px < image.width(); ++px)
      if (image.pixelColor(px, py) == color) ++(px < x ? left : right);
  return {left, right};
}

TEST_F(PenDialogTest, OneRowRecoloursItsColumnInBothRunsAndTheWidthGoesToEveryColumn) {
  std::string text = Header();
  for (int m = 0; m < 30; ++m) text += Line(5, 10, m, 0, 0, {std::to_string(10 + m % 7), "50"});
  text += kNewStart;
  for (int m = 0; m < 30; ++m) text += Line(6, 10, m, 0, 0, {std::to_string(20 - m % 5), "40"});
  ASSERT_TRUE(Open(text));
  ASSERT_EQ(form_.RunCount(), 2u);
  const QColor second = form_.ColumnPen(1).color();

  Configure([&] {
    // The chart's two rows, then one per value column of the first run, by its series title.
    EXPECT_EQ(Captions(), QStringLiteral("Gráfico|Fundo|") + form_.SeriesTitle(0) + "|" + form_.SeriesTitle(1));
    EXPECT_EQ(dialog_.RowMarks()[2]->Color(), draw::FromQColor(form_.ColumnPen(0).color()));
    colors_.answers = {kChosen};
    dialog_.RowButtons()[2]->click();
    EXPECT_EQ(colors_.offered.back(), form_.ColumnPen(0).color());
    // No zero, negative or huge pens.
    dialog_.LineThicknessUpDown()->setValue(0);
    EXPECT_EQ(dialog_.LineThicknessUpDown()->value(), 1);
    dialog_.LineThicknessUpDown()->setValue(500);
    EXPECT_EQ(dialog_.LineThicknessUpDown()->value(), 20);
    dialog_.LineThicknessUpDown()->setValue(3);
    dialog_.ApplyBitBtn()->click();
    dialog_.CloseBitBtn()->click();
  });
  // Closing freed the rows and let go of the viewer.
  EXPECT_TRUE(dialog_.RowButtons().empty());
  EXPECT_TRUE(dialog_.RowMarks().empty());
  EXPECT_EQ(form_.ColumnPen(0).color(), kChosen);
  EXPECT_EQ(form_.ColumnPen(0).width(), 3);
  EXPECT_EQ(form_.ColumnPen(1).color(), second);
  EXPECT_EQ(form_.ColumnPen(1).width(), 3);

  // Both runs' lines are drawn in the new colour.
  form_.resize(900, 600);
  form_.PageControl()->setCurrentIndex(0);
  form_.show();
  QCustomPlot* chart = form_.Chart();
  chart->replot();
  const int between = static_cast<int>(chart->xAxis->coordToPixel(Key(6, 0, 0, 0)));
  const auto [firstRun, secondRun] = PixelsEitherSide(chart->grab().toImage(), between, kChosen);
  EXPECT_GT(firstRun, 50);
  EXPECT_GT(secondRun, 50);

  // Shown again, the dialog starts from the lines as they are now.
  Configure([&] {
    EXPECT_EQ(draw::ToQColor(dialog_.RowMarks()[2]->Color()), kChosen);
    EXPECT_EQ(dialog_.LineThicknessUpDown()->value(), 3);
  });
}

TEST_F(PenDialogTest, WithoutValueSeriesTheChartRowsStillSetBothColours) {
  dialog_.SetCaptions({QString(), QString(), QStringLiteral("Cor"), QStringLiteral("Cor do fundo"), QString(), QString()});
  Configure([&] {
    EXPECT_EQ(Captions(), QStringLiteral("Cor|Cor do fundo"));
    colors_.answers = {QColor(10, 20, 30), QColor(40, 50, 60)};
    dialog_.RowButtons()[0]->click();
    dialog_.RowButtons()[1]->click();
    dialog_.ApplyBitBtn()->click();
  });
  EXPECT_EQ(form_.ChartColor(), QColor(10, 20, 30));
  EXPECT_EQ(form_.ChartBackColor(), QColor(40, 50, 60));
}

TEST_F(PenDialogTest, ClosingWithoutApplyOrCancellingTheColourChangesNothing) {
  ASSERT_TRUE(Open(Header() + Line(5, 10, 0, 0, 0, {"1", "2"}) + Line(5, 10, 1, 0, 0, {"3", "4"})));
  const QPen before = form_.ColumnPen(0);
  const QColor chart = form_.ChartColor();
  Configure([&] {
    // Cancelled: the mark stays as it was.
    const uint32_t mark = dialog_.RowMarks()[2]->Color();
    dialog_.RowButtons()[2]->click();
    EXPECT_EQ(dialog_.RowMarks()[2]->Color(), mark);
    colors_.answers = {kChosen, kChosen};
    dialog_.RowButtons()[2]->click();
    dialog_.RowButtons()[0]->click();
    dialog_.LineThicknessUpDown()->setValue(7);
    dialog_.CloseBitBtn()->click();
  });
  EXPECT_EQ(form_.ColumnPen(0), before);
  EXPECT_EQ(form_.ChartColor(), chart);
}

TEST_F(PenDialogTest, TheCaptionComesFromItsLanguageSection) {
  ui::ProgramLanguage().LoadFromText("# Outro\r\nx\r\n# Form de Configura\xE7\xE3o das Penas do Hist\xF3rico\r\nPenas \xE7\r\n");
  THistConfigForm translated(ui_, &colors_);
  EXPECT_EQ(translated.windowTitle(), QStringLiteral("Penas ç"));
}

}  // namespace
