#pragma once
// Applying a form's language section to Qt controls. Header-only, so that any window library
// can use it while linking only the language library.
//
//   ui::ApplyLanguageTexts("# Form About", {ui::TitleOf(this), ui::TextOf(label)});
#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <vector>
#include <string_view>

#include "ui/language_file.h"
#include "platform/qt_text.h"

namespace ui {

// Target i receives line i + 1 of the section, converted from code page 1252; a null target
// keeps a position without effect. Returns how many targets received a text.
using QtTextTarget = std::function<void(const QString&)>;

inline std::size_t ApplyLanguageTexts(std::string_view heading,
                                      std::initializer_list<QtTextTarget> targets,
                                      const LanguageList& list = ProgramLanguage()) {
  std::vector<LanguageTextTarget> converted;
  converted.reserve(targets.size());
  for (const QtTextTarget& target : targets) {
    if (target) {
      converted.emplace_back([target](const std::string& text) { target(platform::FromCp1252(text)); });
    } else {
      converted.emplace_back(nullptr);
    }
  }
  return ApplyLanguageSection(list, heading, converted);
}

inline QtTextTarget TextOf(QAction* action) {
  return [action](const QString& t) { action->setText(t); };
}
inline QtTextTarget TextOf(QAbstractButton* button) {
  return [button](const QString& t) { button->setText(t); };
}
inline QtTextTarget TextOf(QLabel* label) {
  return [label](const QString& t) { label->setText(t); };
}
inline QtTextTarget TitleOf(QMenu* menu) {
  return [menu](const QString& t) { menu->setTitle(t); };
}
inline QtTextTarget TitleOf(QWidget* window) {
  return [window](const QString& t) { window->setWindowTitle(t); };
}
inline QtTextTarget ToolTipOf(QWidget* widget) {
  return [widget](const QString& t) { widget->setToolTip(t); };
}
inline QtTextTarget Into(QString& text) {
  return [&text](const QString& t) { text = t; };
}

}  // namespace ui
