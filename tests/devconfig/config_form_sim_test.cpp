// The device configuration dialog against simulated instruments, as a user drives it.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "devconfig/config_form.h"
#include "instrument/device_interface.h"
#include "tests/devconfig/config_form_fixture.h"

namespace {

using namespace configtest;

TEST(ConfigFormSim, Smoke) {
  ConfigWorld w;
  w.Start(4, Model0());
  w.Start(7, Probe(0));
  w.form->FormShow();
  ASSERT_EQ(w.List()->topLevelItemCount(), 2);
  EXPECT_EQ(w.List()->topLevelItem(0)->text(0), QStringLiteral("Estufa;  00012345  (COM4)"));
  const char* names[] = {"geral", "canal1", "canal2", "canal3", "ambiente", "diag"};
  for (int i = 0; i < 6; ++i) {
    w.Pages()->setCurrentIndex(i);
    w.form->DiagTimerTimer();
    w.Shot(QString::fromLatin1(names[i]));
  }
  w.Select(1);
  for (int i = 0; i < 8; ++i) {
    if (!w.PageShown(static_cast<TConfigForm::Page>(i))) continue;
    w.Pages()->setCurrentIndex(i);
    w.form->DiagTimerTimer();
    w.Shot(QStringLiteral("sonda_%1").arg(i));
  }
  w.form->FormClose();
  EXPECT_EQ(w.user.messages, QStringList());
}

}  // namespace
