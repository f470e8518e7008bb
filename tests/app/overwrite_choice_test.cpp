#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "app/language_file.h"
#include "app/overwrite_choice_form.h"
#include "test_language.h"

namespace {

using app::TOverwriteChoiceForm;

class OverwriteChoiceTest : public testing::Test {
 protected:
  void SetUp() override { app::ProgramLanguage().Clear(); }
  void TearDown() override { app::ProgramLanguage().Clear(); }
  TOverwriteChoiceForm form_;
};

TEST_F(OverwriteChoiceTest, LeftAloneItCountsDownAndAppends) {
  EXPECT_EQ(form_.windowTitle(), QStringLiteral("Arquivo já existente!"));
  form_.open();
  EXPECT_TRUE(form_.Timer()->isActive());
  EXPECT_EQ(form_.Timer()->interval(), 1000);
  QStringList captions{form_.AppendButton()->text()};
  for (int tick = 0; tick < 15; ++tick) {
    ASSERT_TRUE(form_.isVisible()) << "closed early at tick " << tick;
    form_.TimerTimer();
    captions << form_.AppendButton()->text();
  }
  EXPECT_EQ(captions.front(), QStringLiteral("&Adicionar   [15]"));
  EXPECT_EQ(captions[8], QStringLiteral("&Adicionar   [7]"));
  EXPECT_EQ(captions.back(), QStringLiteral("&Adicionar   [0]"));
  EXPECT_FALSE(form_.isVisible());
  EXPECT_EQ(form_.GetResult(), TOverwriteChoiceForm::kAppend);
  EXPECT_FALSE(form_.Timer()->isActive());
}

TEST_F(OverwriteChoiceTest, OverwriteAtSevenStopsTheCountDown) {
  form_.open();
  for (int tick = 0; tick < 8; ++tick) form_.TimerTimer();
  EXPECT_EQ(form_.AppendButton()->text(), QStringLiteral("&Adicionar   [7]"));
  form_.OverwriteButton()->click();
  EXPECT_EQ(form_.GetResult(), TOverwriteChoiceForm::kOverwrite);
  EXPECT_FALSE(form_.isVisible());
  EXPECT_FALSE(form_.Timer()->isActive());
}

TEST_F(OverwriteChoiceTest, EachShowingStartsOverAtAppendAndFifteen) {
  form_.open();
  form_.TimerTimer();
  form_.OverwriteButton()->click();
  ASSERT_EQ(form_.GetResult(), TOverwriteChoiceForm::kOverwrite);

  // A stale "overwrite" must not survive into the next showing closed without a button.
  form_.open();
  EXPECT_EQ(form_.GetResult(), TOverwriteChoiceForm::kAppend);
  EXPECT_EQ(form_.AppendButton()->text(), QStringLiteral("&Adicionar   [15]"));
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(&form_, &escape);
  EXPECT_FALSE(form_.isVisible());
  EXPECT_EQ(form_.GetResult(), TOverwriteChoiceForm::kAppend);
  EXPECT_FALSE(form_.Timer()->isActive());

  form_.open();
  form_.CancelButton()->click();
  EXPECT_EQ(form_.GetResult(), TOverwriteChoiceForm::kCancel);
  form_.open();
  form_.close();  // the window manager's close
  EXPECT_EQ(form_.GetResult(), TOverwriteChoiceForm::kAppend);
}

TEST_F(OverwriteChoiceTest, ExecuteReturnsTheChoiceMadeWhileShown) {
  QTimer::singleShot(0, &form_, [this] { form_.OverwriteButton()->click(); });
  EXPECT_EQ(form_.Execute(), TOverwriteChoiceForm::kOverwrite);
}

TEST(OverwriteChoiceTranslationTest, TranslatedAppendCaptionKeepsTheCountDown) {
  app::ProgramLanguage().LoadFromText(apptest::MakeTestLanguageFile());
  TOverwriteChoiceForm form;
  app::ProgramLanguage().Clear();
  EXPECT_EQ(form.windowTitle(), apptest::TestText("ESCOLHA", 1));
  EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("Label1"))->text(), apptest::TestText("ESCOLHA", 2));
  EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("Label2"))->text(), apptest::TestText("ESCOLHA", 3));
  EXPECT_EQ(form.OverwriteButton()->text(), apptest::TestText("ESCOLHA", 5));
  EXPECT_EQ(form.CancelButton()->text(), apptest::TestText("ESCOLHA", 6));
  form.open();
  form.TimerTimer();
  EXPECT_EQ(form.AppendButton()->text(), apptest::TestText("ESCOLHA", 4) + QStringLiteral("   [14]"));
  form.close();
}

}  // namespace
