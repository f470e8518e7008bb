// The device configuration dialog page by page as a user meets it, with pictures of every page
// for a person to look at when TERVANA_DEVCONFIG_SHOTS names a folder.
#include <QCheckBox>
#include <QTabWidget>

#include "devconfig/config_form.h"
#include "tests/devconfig/config_form_fixture.h"

namespace {

using namespace configtest;

// Every page the selected instrument shows, in order, with the diagnostic values read once.
void ShootPages(ConfigWorld& w, const QString& prefix) {
  for (int i = 0; i < TConfigForm::kPageCount; ++i) {
    if (!w.PageShown(static_cast<TConfigForm::Page>(i))) continue;
    w.Pages()->setCurrentIndex(i);
    if (i == TConfigForm::kDiagPage) w.form->DiagTimerTimer();
    w.Shot(QStringLiteral("%1-%2").arg(prefix).arg(i));
  }
}

TEST(ConfigFormPictures, EveryPageOfBothModels) {
  ConfigWorld w;
  w.Start(4, Model0());
  w.Start(7, Probe(0));
  w.Start(9, Probe(2, 30003));
  w.form->FormShow();
  ASSERT_EQ(w.List()->topLevelItemCount(), 3);
  EXPECT_EQ(w.List()->topLevelItem(0)->text(0), QStringLiteral("Estufa;  00012345  (COM4)"));
  ShootPages(w, QStringLiteral("model0"));
  w.Pages()->setCurrentIndex(TConfigForm::kDigInpPage);
  for (const char* mode : {"CountingCheckBox", "TimingCheckBox", "FrequencyCheckBox"}) {
    w.Click(mode);
    w.Shot(QStringLiteral("model0-digital-%1").arg(QString::fromLatin1(mode)));
  }
  w.Select(1);
  ShootPages(w, QStringLiteral("humidity"));
  w.Select(2);
  ShootPages(w, QStringLiteral("thermocouple"));
  w.form->hide();
  w.form->FormClose();
  EXPECT_TRUE(w.user.messages.isEmpty()) << w.user.messages.join('|').toStdString();
}

}  // namespace
