#pragma once
// A wizard for tests: an empty port folder (no instruments unless a test starts some), a user
// who answers from a script, a colour dialog that answers from a queue, a fixed random
// sequence and a fixed clock.
#include <QAbstractButton>
#include <QLineEdit>
#include <deque>
#include <memory>

#include "display/wizard/config_view_form.h"
#include "display/wizard/up_down.h"
#include "tests/instrument/pty_pair.h"
#include "tests/support/fake_user_interaction.h"
#include "ui/color_chooser.h"

namespace wizardtest {

class FakeColorChooser : public ui::ColorChooser {
 public:
  std::optional<QColor> Choose(QWidget*, const QColor& initial) override {
    offered.push_back(initial);
    if (answers.empty()) return std::nullopt;
    QColor c = answers.front();
    answers.pop_front();
    return c;
  }
  std::deque<QColor> answers;
  std::vector<QColor> offered;
};

class FixedClock : public platform::WallClock {
 public:
  TDateTime Now() const override { return now; }
  TDateTime now = 45000.5;
};

struct WizardWorld {
  WizardWorld() {
    services.ui = &user;
    services.colors = &colors;
    services.clock = &clock;
    services.random = [this] {
      if (randoms.empty()) return 4u;  // a zero step on 0..100
      const uint32_t r = randoms.front();
      randoms.pop_front();
      return r;
    };
    form = std::make_unique<TConfigViewForm>(services);
  }

  template <class W = QWidget>
  W* Find(const char* name) const {
    return form->findChild<W*>(QString::fromLatin1(name));
  }
  wizard::TUpDown* UpDown(const char* name) const { return Find<wizard::TUpDown>(name); }
  // Types into an edit and leaves it.
  void Type(const char* editName, const QString& text) const {
    auto* edit = Find<QLineEdit>(editName);
    edit->setText(text);
    emit edit->editingFinished();
  }
  void Click(const char* buttonName) const { Find<QAbstractButton>(buttonName)->click(); }

  testing_support::TempPortFolder ports;  // empty unless a test starts instruments
  testsupport::FakeUserInteraction user;
  FakeColorChooser colors;
  FixedClock clock;
  std::deque<uint32_t> randoms;
  WizardServices services;
  std::unique_ptr<TConfigViewForm> form;
};

}  // namespace wizardtest
