#include "export/format_settings.h"

#include <QLocale>
#include <QString>
#include <algorithm>

#include "platform/cp1252.h"

namespace vantrix {
namespace {

std::string ToCp1252(const QString& text) { return platform::Utf8ToCp1252(text.toStdString()); }

bool IsBlank(QChar c) { return c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F); }

// A separator of one character in code page 1252: a blank of any kind becomes the no-break
// space, a character the code page lacks the fallback.
char SeparatorChar(const QString& text, char fallback) {
  if (text.isEmpty()) return fallback;
  if (IsBlank(text.front())) return text.front() == QChar(' ') ? ' ' : '\xA0';
  const std::string bytes = ToCp1252(text.left(1));
  return bytes.size() == 1 && bytes[0] != '?' ? bytes[0] : fallback;
}

bool IsQtFieldLetter(QChar c) {
  switch (c.unicode()) {
    case 'd': case 'M': case 'y': case 'h': case 'H': case 'm': case 's': case 'z': case 'a': case 'A': case 't':
      return true;
    default:
      return false;
  }
}

// The first separator that follows a field of the given letters in a Qt format, skipping
// blanks and quoted text; '\0' when there is none.
char FirstSeparatorAfter(const QString& format, const QString& fieldLetters) {
  bool afterField = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c == '\'') {
      const qsizetype close = format.indexOf('\'', i + 1);
      if (close < 0) break;
      i = close;
      afterField = false;
      continue;
    }
    if (fieldLetters.contains(c)) {
      afterField = true;
      continue;
    }
    if (c.isLetter() || IsBlank(c)) {
      afterField = false;
      continue;
    }
    if (afterField) return SeparatorChar(QString(c), '\0');
  }
  return '\0';
}

void AppendQuoted(std::string& out, const std::string& literal) {
  if (literal.empty()) return;
  const char quote = literal.find('"') == std::string::npos ? '"' : '\'';
  out.push_back(quote);
  out += literal;
  out.push_back(quote);
}

// Currency position from how the locale writes an amount: symbol before or after, with or
// without a blank between.
int CurrencyPosition(const QLocale& locale, const QString& symbol) {
  if (symbol.isEmpty()) return 0;
  const QString sample = locale.toCurrencyString(1.0, symbol);
  const qsizetype at = sample.indexOf(symbol);
  if (at < 0) return 0;
  if (at == 0) return sample.size() > symbol.size() && IsBlank(sample[symbol.size()]) ? 2 : 0;
  return at > 0 && IsBlank(sample[at - 1]) ? 3 : 1;
}

// A literal text safe inside a float picture: quoted when it holds a character the picture
// language reads.
std::string FloatPictureLiteral(const std::string& text) {
  if (text.find_first_of("0#.,;eE\"'") == std::string::npos) return text;
  std::string out;
  AppendQuoted(out, text);
  return out;
}

}  // namespace

std::string QtFormatToPicture(const std::string& qtFormatUtf8, char dateSeparator, char timeSeparator) {
  const QString format = QString::fromStdString(qtFormatUtf8);
  std::string out;
  std::string literal;  // pending literal text, written quoted when it needs quotes
  auto flushLiteral = [&] {
    // Blanks and punctuation the picture language doesn't read stand as they are.
    bool needsQuotes = false;
    for (char c : literal) {
      const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
      if (letter || c == '/' || c == ':' || c == '"' || c == '\'') needsQuotes = true;
    }
    if (needsQuotes) AppendQuoted(out, literal);
    else out += literal;
    literal.clear();
  };
  for (qsizetype i = 0; i < format.size();) {
    const QChar c = format[i];
    if (c == '\'') {
      if (i + 1 < format.size() && format[i + 1] == '\'') {  // '' is one quote
        literal += '\'';
        i += 2;
        continue;
      }
      const qsizetype close = format.indexOf('\'', i + 1);
      const QString text = format.mid(i + 1, close < 0 ? -1 : close - i - 1);
      literal += ToCp1252(text);
      i = close < 0 ? format.size() : close + 1;
      continue;
    }
    if (!IsQtFieldLetter(c)) {
      if (c == QChar(dateSeparator) && dateSeparator != '\0') {
        flushLiteral();
        out += '/';
      } else if (c == QChar(timeSeparator) && timeSeparator != '\0') {
        flushLiteral();
        out += ':';
      } else {
        literal += ToCp1252(QString(c));
      }
      ++i;
      continue;
    }
    qsizetype run = 1;
    while (i + run < format.size() && format[i + run] == c) ++run;
    // "AP" and "ap" are one field.
    if ((c == 'A' || c == 'a') && i + 1 < format.size() && (format[i + 1] == 'P' || format[i + 1] == 'p')) run = 2;
    if (c == 't') {  // the time zone: left out, with the blank before it
      while (!literal.empty() && literal.back() == ' ') literal.pop_back();
      while (!out.empty() && out.back() == ' ' && literal.empty()) out.pop_back();
      i += run;
      continue;
    }
    flushLiteral();
    const int n = static_cast<int>(run);
    switch (c.unicode()) {
      case 'd': out += std::string(std::min(n, 4), 'd'); break;
      case 'M': out += std::string(std::min(n, 4), 'm'); break;
      case 'y': out += n <= 2 ? "yy" : "yyyy"; break;
      case 'h': case 'H': out += std::string(std::min(n, 2), 'h'); break;
      case 'm': out += std::string(std::min(n, 2), 'n'); break;
      case 's': out += std::string(std::min(n, 2), 's'); break;
      case 'z': out += n >= 3 ? "zzz" : "z"; break;
      default: out += "ampm"; break;  // A, a, AP, ap: the locale's own texts
    }
    i += run;
  }
  flushLiteral();
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

FormatSettings FormatSettings::FromLocale(const QLocale& locale) {
  FormatSettings s;
  s.decimalSeparator = SeparatorChar(locale.decimalPoint(), '.');
  s.thousandSeparator = SeparatorChar(locale.groupSeparator(), '\0');
  if (s.thousandSeparator == s.decimalSeparator) s.thousandSeparator = '\0';
  // There is no list separator on Linux: the one that keeps numbers intact.
  s.listSeparator = s.decimalSeparator == ',' ? ';' : ',';

  const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
  const QString longTime = locale.timeFormat(QLocale::LongFormat);
  const QString shortTime = locale.timeFormat(QLocale::ShortFormat);
  const char dateSep = FirstSeparatorAfter(shortDate, "dMy");
  char timeSep = FirstSeparatorAfter(longTime, "hHms");
  if (timeSep == '\0') timeSep = FirstSeparatorAfter(shortTime, "hHms");
  s.dateSeparator = dateSep != '\0' ? dateSep : '/';
  s.timeSeparator = timeSep != '\0' ? timeSep : ':';
  s.shortDateFormat = QtFormatToPicture(shortDate.toStdString(), dateSep, timeSep);
  s.longDateFormat = QtFormatToPicture(locale.dateFormat(QLocale::LongFormat).toStdString(), dateSep, timeSep);
  s.shortTimeFormat = QtFormatToPicture(shortTime.toStdString(), dateSep, timeSep);
  s.longTimeFormat = QtFormatToPicture(longTime.toStdString(), dateSep, timeSep);
  s.timeAMString = ToCp1252(locale.amText());
  s.timePMString = ToCp1252(locale.pmText());

  const QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
  s.currencyString = ToCp1252(symbol);
  s.currencyFormat = CurrencyPosition(locale, symbol);
  for (int m = 1; m <= 12; ++m) {
    s.shortMonthNames[m - 1] = ToCp1252(locale.monthName(m, QLocale::ShortFormat));
    s.longMonthNames[m - 1] = ToCp1252(locale.monthName(m, QLocale::LongFormat));
  }
  for (int d = 0; d < 7; ++d) {
    const int qtDay = d == 0 ? 7 : d;  // Qt counts Monday 1 .. Sunday 7
    s.shortDayNames[d] = ToCp1252(locale.dayName(qtDay, QLocale::ShortFormat));
    s.longDayNames[d] = ToCp1252(locale.dayName(qtDay, QLocale::LongFormat));
  }
  return s;
}

const FormatSettings& DefaultFormatSettings() {
  static const FormatSettings settings = FormatSettings::FromLocale(QLocale::system());
  return settings;
}

std::string DefaultCurrencyPicture(const FormatSettings& s) {
  static const std::string kAmount = "#,###,##0.00";
  const std::string symbol = FloatPictureLiteral(s.currencyString);
  switch (s.currencyFormat) {
    case 0: return symbol + kAmount;
    case 1: return kAmount + symbol;
    case 2: return symbol + " " + kAmount;
    case 3: return kAmount + " " + symbol;
    default: return std::string();
  }
}

}  // namespace vantrix
