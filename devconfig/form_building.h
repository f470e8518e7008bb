#pragma once
// Small helpers the dialog's page files share to fill their controls (making them is ui's).
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <algorithm>
#include <string>
#include <string_view>

#include "platform/qt_text.h"
#include "ui/form_building.h"
#include "ui/wait_cursor.h"

namespace devconfig {

using ui::Named;
using ui::NameOf;
using ui::U;

// How many characters the user may type into an edit. A limit on the edit itself would cut
// text set by code too (a tag from a file, a value with seven decimals), so the limit grows
// to any longer text the dialog puts there and the user may only shorten that.
inline constexpr char kTypedLimitProperty[] = "typedLimit";

inline void LimitTyped(QLineEdit* edit, int limit) {
  edit->setProperty(kTypedLimitProperty, limit);
  edit->setMaxLength(limit);
}

// Code page 1252 text into an edit, as the dialog fills it (not as the user types).
inline void SetFieldText(QLineEdit* edit, std::string_view cp1252) {
  const QString text = platform::FromCp1252(cp1252);
  const QVariant limit = edit->property(kTypedLimitProperty);
  if (limit.isValid()) edit->setMaxLength(std::max(limit.toInt(), static_cast<int>(text.size())));
  edit->setText(text);
}

inline std::string FieldText(const QLineEdit* edit) { return platform::ToCp1252(edit->text()); }

// Rewrites a field by code without forgetting that the user had changed it (its exit check
// is still to run).
inline void RewriteField(QLineEdit* edit, std::string_view cp1252) {
  const bool typed = edit->isModified();
  SetFieldText(edit, cp1252);
  edit->setModified(typed);
}

// Holds the dialog's hourglass so that its messages show the ordinary cursor.
class HourglassScope {
 public:
  explicit HourglassScope(ui::WaitCursor*& slot) : slot_(slot), previous_(slot) { slot_ = &wait_; }
  ~HourglassScope() { slot_ = previous_; }
  HourglassScope(const HourglassScope&) = delete;
  HourglassScope& operator=(const HourglassScope&) = delete;

 private:
  ui::WaitCursor wait_;
  ui::WaitCursor*& slot_;
  ui::WaitCursor* previous_;
};

}  // namespace devconfig
