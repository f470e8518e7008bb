#include "controls/decimal_mark.h"

#include <QLocale>

namespace draw {

QString LocaleDecimalMark() { return QLocale().decimalPoint(); }

QString WithDecimalMark(std::string_view text, const QString& mark) {
  QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  const qsizetype at = shown.indexOf(QLatin1Char('.'));
  if (at >= 0) shown.replace(at, 1, mark);
  return shown;
}

}  // namespace draw
