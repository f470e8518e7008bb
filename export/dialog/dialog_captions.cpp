#include "export/dialog/dialog_captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include "export/library_strings.h"
#include "platform/qt_text.h"
#include "ui/radio_group.h"

namespace vantrix {

namespace {

QStringList Texts(const std::vector<int>& ids) {
  QStringList texts;
  for (int id : ids) texts << platform::FromCp1252(VantrixLoadStr(id));
  return texts;
}

// The tab widget that shows the page, searched up the parents (a page sits in the tab
// widget's stack).
QTabWidget* TabOf(QWidget* page) {
  for (QWidget* w = page->parentWidget(); w != nullptr; w = w->parentWidget())
    if (auto* tabs = qobject_cast<QTabWidget*>(w); tabs != nullptr && tabs->indexOf(page) >= 0) return tabs;
  return nullptr;
}

void SetCaption(QObject* control, const QString& text) {
  if (auto* action = qobject_cast<QAction*>(control)) return action->setText(text);
  auto* widget = qobject_cast<QWidget*>(control);
  if (widget == nullptr) return;
  if (QTabWidget* tabs = TabOf(widget)) return tabs->setTabText(tabs->indexOf(widget), text);
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->setText(text);
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->setText(text);
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->setTitle(text);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->setText(text);
  widget->setWindowTitle(text);
}

void SetItems(QObject* control, const QStringList& texts, bool replaceAll) {
  if (auto* group = qobject_cast<ui::TRadioGroup*>(control)) {
    if (replaceAll) {
      const int chosen = group->ItemIndex();
      group->SetItems(texts);
      group->SetItemIndex(chosen < texts.size() ? chosen : -1);
      return;
    }
    for (int i = 0; i < texts.size() && i < group->Count(); ++i) group->Button(i)->setText(texts[i]);
    return;
  }
  if (auto* combo = qobject_cast<QComboBox*>(control)) {
    const QSignalBlocker quiet(combo);
    const int chosen = combo->currentIndex();
    if (replaceAll) {
      combo->clear();
      combo->addItems(texts);
    } else {
      for (int i = 0; i < texts.size() && i < combo->count(); ++i) combo->setItemText(i, texts[i]);
    }
    combo->setCurrentIndex(chosen < combo->count() ? chosen : -1);
  }
}

}  // namespace

void ApplyCaptions(QWidget* form, const std::vector<TCaptionEntry>& table) {
  for (const TCaptionEntry& entry : table) {
    const QString name = QString::fromLatin1(entry.name);
    QObject* control = form->objectName() == name ? form : form->findChild<QObject*>(name);
    if (control == nullptr) continue;
    const QStringList texts = Texts(entry.ids);
    switch (entry.kind) {
      case TCaptionKind::Caption: SetCaption(control, texts.value(0)); break;
      case TCaptionKind::Hint:
        if (auto* w = qobject_cast<QWidget*>(control)) w->setToolTip(texts.value(0));
        break;
      case TCaptionKind::Items: SetItems(control, texts, false); break;
      case TCaptionKind::ItemsAdded: SetItems(control, texts, true); break;
    }
  }
}

}  // namespace vantrix
