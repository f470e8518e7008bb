// The append-or-overwrite dialog: its count-down and its result at every showing.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include "app/overwrite_choice_form.h"
#include "ui/language_file.h"

namespace {

using app::TOverwriteChoiceForm;

class OverwriteChoiceTest : public testing::Test {
 protected:
  void SetUp() override { ui::ProgramLanguage().Clear(); }
  void TearDown() override { ui::ProgramLanguage().Clear(); }
  QString Append() { return form_.AppendButton()->text(); }
  TOverwriteChoiceForm form_;
};

TEST_F(OverwriteChoiceTest, LeftAloneItCountsDownAndAppends) {
  form_.open();
  EXPECT_EQ(form_.Timer()->interval(), 1000);
  EXPECT_EQ(Append(), QStringLiteral("&Adicionar   [15]"));
  for (int tick = 1; tick <= 15; ++tick) {
    ASSERT_TRUE(form_.isVisible()) << "closed early at tick " << tick;
    form_.TimerTimer();
    if (tick == 8) {
      EXPECT_EQ(Append(), QStringLiteral("&Adicionar   [7]"));
    }
  }
  EXPECT_EQ(Append(), QStringLiteral("&Adicionar   [0]"));
  EXPECT_FALSE(form_.isVisible());
  EXPECT_EQ(form_.GetResult(), TOverwriteChoiceForm::kAppend);
  EXPECT_FALSE(form_.Timer()->isActive());
}

TEST_F(OverwriteChoiceTest, EachShowingStartsOverAtAppendAndFifteen) {
  form_.open();
  for (int tick = 0; tick < 8; ++tick) form_.TimerTimer();
  form_.OverwriteButton()->click();
  ASSERT_EQ(form_.GetResult(), TOverwriteChoiceForm::kOverwrite);
  EXPECT_FALSE(form_.isVisible() || form_.Timer()->isActive());

  // A stale "overwrite" must not survive into the next showing closed without a button.
  form_.open();
  EXPECT_EQ(form_.GetResult(), TOverwriteChoiceForm::kAppend);
  EXPECT_EQ(Append(), QStringLiteral("&Adicionar   [15]"));
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(&form_, &escape);
  EXPECT_FALSE(form_.isVisible() || form_.Timer()->isActive());
  EXPECT_EQ(form_.GetResult(), TOverwriteChoiceForm::kAppend);

  form_.open();
  form_.CancelButton()->click();
  EXPECT_EQ(form_.GetResult(), TOverwriteChoiceForm::kCancel);
  form_.open();
  form_.close();  // the window manager's close
  EXPECT_EQ(form_.GetResult(), TOverwriteChoiceForm::kAppend);

  QTimer::singleShot(0, &form_, [this] { form_.OverwriteButton()->click(); });
  EXPECT_EQ(form_.Execute(), TOverwriteChoiceForm::kOverwrite);
}

// Enter presses the focused button, as Space does: the append button has the focus when
// the dialog shows, and another button takes over when the focus moves to it.
TEST_F(OverwriteChoiceTest, EnterPressesTheFocusedButton) {
  struct Case { QPushButton* (TOverwriteChoiceForm::*button)() const; int result; };
  const Case cases[] = {{&TOverwriteChoiceForm::AppendButton, TOverwriteChoiceForm::kAppend},
                        {&TOverwriteChoiceForm::OverwriteButton, TOverwriteChoiceForm::kOverwrite},
                        {&TOverwriteChoiceForm::CancelButton, TOverwriteChoiceForm::kCancel}};
  for (const Case& c : cases) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
      form_.open();
      ASSERT_EQ(form_.focusWidget(), form_.AppendButton());
      QPushButton* button = (form_.*c.button)();
      button->setFocus();
      ASSERT_EQ(form_.focusWidget(), button);
      form_.TimerTimer();  // a tick on the way changes nothing of it
      QKeyEvent press(QEvent::KeyPress, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
      QCoreApplication::sendEvent(button, &press);
      EXPECT_FALSE(form_.isVisible()) << button->objectName().toStdString();
      EXPECT_EQ(form_.GetResult(), c.result) << button->objectName().toStdString();
    }
  }
}

}  // namespace
