#include "export/text_to_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "export/format_settings.h"
#include "platform/cp1252_case.h"

namespace vantrix {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\xA0'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// ASCII only, whatever the C library's locale.
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

template <typename T>
bool ParseInteger(std::string_view text, T& value) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return false;
  }
  if (text.empty()) return false;
  T parsed{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

// A cursor over the text being read.
struct Scanner {
  std::string_view text;
  size_t at = 0;

  bool AtEnd() const { return at >= text.size(); }
  void SkipBlanks() {
    while (at < text.size() && IsBlank(text[at])) ++at;
  }
  bool Take(char c) {
    if (at < text.size() && text[at] == c) {
      ++at;
      return true;
    }
    return false;
  }
  // Up to maxDigits digits; false when there is none.
  bool Number(int maxDigits, int& value, int* digitsRead = nullptr) {
    int n = 0;
    value = 0;
    while (at < text.size() && IsDigit(text[at]) && n < maxDigits) {
      value = value * 10 + (text[at] - '0');
      ++at;
      ++n;
    }
    if (digitsRead != nullptr) *digitsRead = n;
    return n > 0;
  }
  // The longest of the names that the text continues with, case ignored; its index.
  bool Name(const std::string* names, int count, int& index) {
    size_t best = 0;
    for (int i = 0; i < count; ++i) {
      const std::string& name = names[i];
      if (name.empty() || name.size() <= best || text.size() - at < name.size()) continue;
      if (platform::Cp1252SameText(text.substr(at, name.size()), name)) {
        best = name.size();
        index = i;
      }
    }
    at += best;
    return best > 0;
  }
  bool Text(std::string_view literal) {
    for (char c : literal) {
      if (IsBlank(c)) {
        SkipBlanks();
        continue;
      }
      SkipBlanks();
      if (at >= text.size() || !platform::Cp1252SameText(text.substr(at, 1), std::string_view(&c, 1))) return false;
      ++at;
    }
    return true;
  }
};

int CenturyYear(int year, int digits) {
  if (digits > 2) return year;
  return year < 50 ? 2000 + year : 1900 + year;
}

// Reads a date laid out as the short date picture; leaves the scanner after it.
bool ScanDate(Scanner& in, const FormatSettings& s, TDateTime& value) {
  const std::string_view picture = s.shortDateFormat;
  int day = -1, month = -1, year = -1;
  for (size_t i = 0; i < picture.size();) {
    const char c = picture[i];
    const char u = Upper(c);
    size_t count = 1;
    while (i + count < picture.size() && Upper(picture[i + count]) == u) ++count;
    if (c == '"' || c == '\'') {
      const size_t close = picture.find(c, i + 1);
      if (!in.Text(picture.substr(i + 1, close == picture.npos ? picture.npos : close - i - 1))) return false;
      i = close == picture.npos ? picture.size() : close + 1;
      continue;
    }
    if (u == 'D') {
      int ignored = 0;
      in.SkipBlanks();
      if (count <= 2) {
        if (!in.Number(2, day)) return false;
      } else if (!in.Name(count == 3 ? s.shortDayNames.data() : s.longDayNames.data(), 7, ignored) &&
                 !in.Name(count == 3 ? s.longDayNames.data() : s.shortDayNames.data(), 7, ignored)) {
        return false;
      }
    } else if (u == 'M') {
      in.SkipBlanks();
      int index = 0;
      if (in.Number(2, month)) {
      } else if (count >= 3 &&
                 (in.Name(s.longMonthNames.data(), 12, index) || in.Name(s.shortMonthNames.data(), 12, index))) {
        month = index + 1;
      } else {
        return false;
      }
    } else if (u == 'Y') {
      in.SkipBlanks();
      int digits = 0;
      if (!in.Number(4, year, &digits)) return false;
      year = CenturyYear(year, digits);
    } else if (c == '/') {
      in.SkipBlanks();
      if (!in.Take(s.dateSeparator)) return false;
    } else if (IsLetter(c)) {
      return false;  // a field a date has not
    } else {
      if (!in.Text(picture.substr(i, count))) return false;
    }
    i += count;
  }
  if (day < 0 || month < 0 || year < 0) return false;
  return platform::TryEncodeDate(year, month, day, value);
}

bool ScanAmPm(Scanner& in, const FormatSettings& s, bool& pm) {
  in.SkipBlanks();
  const std::string names[] = {s.timeAMString, s.timePMString, "am", "pm", "a", "p"};
  int index = 0;
  if (!in.Name(names, 6, index)) return false;
  pm = index % 2 == 1;
  return true;
}

bool ScanTime(Scanner& in, const FormatSettings& s, TDateTime& value) {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  in.SkipBlanks();
  if (!in.Number(2, hour)) return false;
  bool pm = false;
  bool hasAmPm = false;
  if (in.Take(s.timeSeparator)) {
    if (!in.Number(2, minute)) return false;
    if (in.Take(s.timeSeparator)) {
      if (!in.Number(2, second)) return false;
      if (in.Take(s.decimalSeparator) || in.Take('.')) {
        int digits = 0;
        if (!in.Number(3, millisecond, &digits)) return false;
        for (; digits < 3; ++digits) millisecond *= 10;
      }
    }
    const size_t before = in.at;
    hasAmPm = ScanAmPm(in, s, pm);
    if (!hasAmPm) in.at = before;
  } else {
    hasAmPm = ScanAmPm(in, s, pm);  // "10 pm"
    if (!hasAmPm) return false;
  }
  if (hasAmPm) {
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (pm ? 12 : 0);
  }
  return platform::TryEncodeTime(hour, minute, second, millisecond, value);
}

}  // namespace

bool TryStrToInt(std::string_view text, int32_t& value) { return ParseInteger(text, value); }
bool TryStrToInt64(std::string_view text, int64_t& value) { return ParseInteger(text, value); }

bool TryStrToFloat(std::string_view text, const FormatSettings& settings, double& value) {
  text = Trim(text);
  // Checked by hand first, so that only the forms above pass; then read with '.'.
  char buf[128];
  size_t n = 0;
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool digits = false, point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      digits = true;
    } else if (c == settings.decimalSeparator && !point) {
      point = true;
    } else {
      break;
    }
    if (n + 1 >= sizeof buf) return false;
    buf[n++] = IsDigit(c) ? c : '.';
  }
  if (!digits) return false;
  if (i < text.size()) {
    if (text[i] != 'e' && text[i] != 'E') return false;
    buf[n++] = 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) buf[n++] = text[i++];
    if (i == text.size()) return false;
    for (; i < text.size(); ++i) {
      if (!IsDigit(text[i]) || n + 1 >= sizeof buf) return false;
      buf[n++] = text[i];
    }
  }
  double parsed = 0;
  const auto [end, ec] = std::from_chars(buf, buf + n, parsed);
  if (end != buf + n || (ec != std::errc() && ec != std::errc::result_out_of_range)) return false;
  if (ec == std::errc::result_out_of_range) {
    // Too large is an error, as the original's; too small reads as zero.
    const std::string_view digitsAndExponent(buf, n);
    const size_t e = digitsAndExponent.find('e');
    int exponent = 0;
    std::from_chars(buf + e + 1 + (buf[e + 1] == '+' ? 1 : 0), buf + n, exponent);
    const std::string_view mantissa = digitsAndExponent.substr(0, e);
    const size_t first = mantissa.find_first_not_of("0.");
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const long magnitude = first == mantissa.npos ? -1000000L
                           : first < point        ? static_cast<long>(point - first) + exponent
                                                  : exponent - static_cast<long>(first - point - 1);
    if (magnitude > 0) return false;
    parsed = 0;
  }
  if (!std::isfinite(parsed)) return false;
  value = negative ? -parsed : parsed;
  return true;
}

bool TryStrToDate(std::string_view text, const FormatSettings& settings, TDateTime& value) {
  Scanner in{Trim(text)};
  TDateTime date = 0;
  if (!ScanDate(in, settings, date)) return false;
  in.SkipBlanks();
  if (!in.AtEnd()) return false;
  value = date;
  return true;
}

bool TryStrToTime(std::string_view text, const FormatSettings& settings, TDateTime& value) {
  Scanner in{Trim(text)};
  TDateTime time = 0;
  if (!ScanTime(in, settings, time)) return false;
  in.SkipBlanks();
  if (!in.AtEnd()) return false;
  value = time;
  return true;
}

bool TryStrToDateTime(std::string_view text, const FormatSettings& settings, TDateTime& value) {
  Scanner in{Trim(text)};
  TDateTime date = 0, time = 0;
  if (ScanDate(in, settings, date)) {
    in.SkipBlanks();
    if (in.AtEnd()) {
      value = date;
      return true;
    }
    if (ScanTime(in, settings, time)) {
      in.SkipBlanks();
      if (in.AtEnd()) {
        value = platform::ComposeDateTime(date, time);
        return true;
      }
    }
  }
  return TryStrToTime(text, settings, value);
}

}  // namespace vantrix
