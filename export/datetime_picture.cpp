#include "export/datetime_picture.h"

#include "export/common_text.h"
#include "export/format_settings.h"
#include "platform/cp1252_case.h"

namespace vantrix {
namespace {

constexpr int kMaxNesting = 3;  // c, t and ddddd name pictures; no deeper, whatever they hold

// ASCII only: pictures are read the same whatever the C library's locale.
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool StartsWithText(std::string_view s, size_t at, std::string_view what) {
  return s.size() - at >= what.size() && platform::Cp1252SameText(s.substr(at, what.size()), what);
}

// 0 = Sunday.
int DayOfWeek(int year, int month, int day) {
  static const int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  const int w = (year + year / 4 - year / 100 + year / 400 + kOffsets[(month + 11) % 12] + day) % 7;
  return w < 0 ? w + 7 : w;
}

// Whether an am/pm field follows in the rest of the picture (outside quotes): the hour is
// then on the 12-hour clock.
bool TwelveHourClock(std::string_view picture, size_t from) {
  char quote = 0;
  for (size_t i = from; i < picture.size(); ++i) {
    const char c = picture[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if ((c == 'a' || c == 'A') &&
               (StartsWithText(picture, i, "am/pm") || StartsWithText(picture, i, "a/p") ||
                StartsWithText(picture, i, "ampm"))) {
      return true;
    }
  }
  return false;
}

struct Parts {
  platform::DateParts date;
  platform::TimeParts time;
  bool midnight;
};

void Lay(std::string& out, std::string_view picture, const Parts& p, const FormatSettings& s, int depth) {
  if (depth > kMaxNesting) return;
  char lastField = 0;
  for (size_t i = 0; i < picture.size();) {
    const char c = picture[i];
    const char u = Upper(c);
    size_t count = 1;
    while (i + count < picture.size() && Upper(picture[i + count]) == u) ++count;
    switch (u) {
      case '"':
      case '\'': {
        const size_t close = picture.find(c, i + 1);
        out.append(picture.substr(i + 1, close == picture.npos ? picture.npos : close - i - 1));
        i = close == picture.npos ? picture.size() : close + 1;
        continue;
      }
      case 'C':
        Lay(out, s.shortDateFormat, p, s, depth + 1);
        if (!p.midnight) {
          out.push_back(' ');
          Lay(out, s.longTimeFormat, p, s, depth + 1);
        }
        i += 1;
        lastField = u;
        continue;
      case 'D':
        if (count == 1 || count == 2) AppendZeroPadded(out, p.date.day, static_cast<int>(count));
        else if (count == 3) out += s.shortDayNames[DayOfWeek(p.date.year, p.date.month, p.date.day)];
        else if (count == 4) out += s.longDayNames[DayOfWeek(p.date.year, p.date.month, p.date.day)];
        else if (count == 5) Lay(out, s.shortDateFormat, p, s, depth + 1);
        else Lay(out, s.longDateFormat, p, s, depth + 1);
        break;
      case 'M':
        if (lastField == 'H' && count <= 2) AppendZeroPadded(out, p.time.minute, static_cast<int>(count));
        else if (count <= 2) AppendZeroPadded(out, p.date.month, static_cast<int>(count));
        else if (p.date.month >= 1 && p.date.month <= 12)
          out += count == 3 ? s.shortMonthNames[p.date.month - 1] : s.longMonthNames[p.date.month - 1];
        break;
      case 'Y':
        if (count <= 2) AppendZeroPadded(out, p.date.year % 100, 2);
        else AppendZeroPadded(out, p.date.year, 4);
        break;
      case 'H': {
        int hour = p.time.hour;
        if (TwelveHourClock(picture, i + count)) {
          hour %= 12;
          if (hour == 0) hour = 12;
        }
        AppendZeroPadded(out, hour, count >= 2 ? 2 : 1);
        break;
      }
      case 'N':
        AppendZeroPadded(out, p.time.minute, count >= 2 ? 2 : 1);
        break;
      case 'S':
        AppendZeroPadded(out, p.time.second, count >= 2 ? 2 : 1);
        break;
      case 'Z':
        AppendZeroPadded(out, p.time.millisecond, count >= 3 ? 3 : 1);
        break;
      case 'T':
        Lay(out, count == 1 ? s.shortTimeFormat : s.longTimeFormat, p, s, depth + 1);
        break;
      case 'A': {
        const bool pm = p.time.hour >= 12;
        if (StartsWithText(picture, i, "am/pm")) {
          out.append(picture.substr(i + (pm ? 3 : 0), 2));
          i += 5;
        } else if (StartsWithText(picture, i, "a/p")) {
          out.push_back(picture[i + (pm ? 2 : 0)]);
          i += 3;
        } else if (StartsWithText(picture, i, "ampm")) {
          out += pm ? s.timePMString : s.timeAMString;
          i += 4;
        } else {
          out.push_back(c);
          i += 1;
        }
        continue;
      }
      case '/':
        out.push_back(s.dateSeparator);
        i += 1;
        continue;
      case ':':
        out.push_back(s.timeSeparator);
        i += 1;
        continue;
      default:
        out.push_back(c);
        i += 1;
        continue;
    }
    lastField = u;
    i += count;
  }
}

Parts Decode(TDateTime value) {
  Parts p;
  platform::DecodeDateTime(value, p.date, p.time);
  p.midnight = p.time.hour == 0 && p.time.minute == 0 && p.time.second == 0 && p.time.millisecond == 0;
  return p;
}

}  // namespace

void FormatDateTimeTo(std::string& out, std::string_view picture, TDateTime value, const FormatSettings& settings) {
  // An empty picture writes what "c" writes.
  Lay(out, picture.empty() ? std::string_view("c") : picture, Decode(value), settings, 0);
}

std::string FormatDateTime(std::string_view picture, TDateTime value, const FormatSettings& settings) {
  std::string out;
  FormatDateTimeTo(out, picture, value, settings);
  return out;
}

std::string DateTimeToStr(TDateTime value, const FormatSettings& settings) {
  return FormatDateTime("c", value, settings);
}

const std::vector<TDateTime>& DateTimeWidthSamples() {
  static const std::vector<TDateTime> samples = [] {
    std::vector<TDateTime> moments;
    // The 22nd to the 28th of a month fall on every day of the week.
    for (int month = 1; month <= 12; ++month)
      for (int day = 22; day <= 28; ++day)
        for (const int hour : {10, 22}) {
          TDateTime moment = 0;
          if (platform::TryEncodeDateTime(2000, month, day, hour, 58, 58, 888, moment)) moments.push_back(moment);
        }
    return moments;
  }();
  return samples;
}

}  // namespace vantrix
