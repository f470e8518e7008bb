#include "history/history_parser.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace history {

namespace {

constexpr std::string_view kNewStartMarker = "##_New_Start_##";
constexpr int kPlaceholderLinesAfterMarker = 3;
// Texts with more digits than this are kept as written: a double reprints up to 15 exactly.
constexpr int kMaxReprintDigits = 15;
// Enough of a damaged field to recognise it in a message.
constexpr size_t kMaxShownFieldBytes = 40;

constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Blanks and control characters; code page 1252 letters above 0x7F are text.
inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
inline bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }
inline int TwoDigits(const char* p) { return (p[0] - '0') * 10 + (p[1] - '0'); }

inline std::string_view Trim(const char* b, const char* e) {
  while (b < e && IsBlank(*b)) ++b;
  while (e > b && IsBlank(e[-1])) --e;
  return {b, static_cast<size_t>(e - b)};
}

inline const char* FindComma(const char* b, const char* e) {
  const void* c = std::memchr(b, ',', static_cast<size_t>(e - b));
  return c ? static_cast<const char*>(c) : e;
}

bool IsBlankLine(const char* b, const char* e) {
  for (; b < e; ++b)
    if (!IsBlank(*b)) return false;
  return true;
}

// The line ends with the new-start marker (blanks after it aside).
bool EndsWithMarker(const char* b, const char* e) {
  while (e > b && IsBlank(e[-1])) --e;
  const auto length = static_cast<ptrdiff_t>(kNewStartMarker.size());
  return e - b >= length && e[-1] == kNewStartMarker.back() &&
         std::string_view(e - length, kNewStartMarker.size()) == kNewStartMarker;
}

// dd/mm/yyyy with any non-digit separators; digits are checked, the calendar is not.
bool HasDateShape(std::string_view f) {
  if (f.size() != 10) return false;
  const char* p = f.data();
  return IsDigit(p[0]) && IsDigit(p[1]) && !IsDigit(p[2]) && IsDigit(p[3]) && IsDigit(p[4]) &&
         !IsDigit(p[5]) && IsDigit(p[6]) && IsDigit(p[7]) && IsDigit(p[8]) && IsDigit(p[9]);
}

enum class TimeCheck { Ok, Shape, Impossible };

// hh:mm:ss.mmm as a fraction of a day.
TimeCheck ParseTimeOfDay(std::string_view f, double& dayFraction) {
  if (f.size() != 12) return TimeCheck::Shape;
  const char* p = f.data();
  if (!(IsDigit(p[0]) && IsDigit(p[1]) && !IsDigit(p[2]) && IsDigit(p[3]) && IsDigit(p[4]) &&
        !IsDigit(p[5]) && IsDigit(p[6]) && IsDigit(p[7]) && !IsDigit(p[8]) && IsDigit(p[9]) &&
        IsDigit(p[10]) && IsDigit(p[11])))
    return TimeCheck::Shape;
  return platform::TryEncodeTime(TwoDigits(p), TwoDigits(p + 3), TwoDigits(p + 6),
                                 (p[9] - '0') * 100 + TwoDigits(p + 10), dayFraction)
             ? TimeCheck::Ok
             : TimeCheck::Impossible;
}

// The common field " [-]digits[.digits]" of at most 15 digits without superfluous leading
// zeros, read from b up to its comma or the line end in one pass. It converts exactly (both
// operands are exact doubles, so the quotient is the double nearest to the text) and reprints
// from its decimal count. fieldEnd is left at the comma or the line end; false for any other
// field.
inline bool ReadPlainDecimal(const char* b, const char* e, double& value, int& decimals, const char*& fieldEnd) {
  const char* p = b;
  while (p < e && *p == ' ') ++p;
  const bool negative = p < e && *p == '-';
  if (negative) ++p;
  const char* intBegin = p;
  uint64_t mantissa = 0;
  while (p < e && IsDigit(*p)) mantissa = mantissa * 10 + static_cast<uint64_t>(*p++ - '0');
  const long intDigits = p - intBegin;
  if (intDigits == 0 || (intDigits > 1 && *intBegin == '0')) return false;
  long fracDigits = 0;
  if (p < e && *p == '.') {
    const char* fracBegin = ++p;
    while (p < e && IsDigit(*p)) mantissa = mantissa * 10 + static_cast<uint64_t>(*p++ - '0');
    fracDigits = p - fracBegin;
    if (fracDigits == 0) return false;
  }
  while (p < e && IsBlank(*p)) ++p;
  if ((p < e && *p != ',') || intDigits + fracDigits > kMaxReprintDigits) return false;
  value = static_cast<double>(mantissa) / kPow10[fracDigits];
  if (negative) value = -value;
  decimals = static_cast<int>(fracDigits);
  fieldEnd = p;
  return true;
}

// Any other number a user's tools may have written ("+5", ".5", "1.5E3", long texts); the
// text is kept as written. Names such as "nan" or "inf" are no numbers here, nor is a value
// beyond the 32-bit float range the chart plots in.
bool ParseOtherNumber(std::string_view f, double& value) {
  const char* p = f.data();
  const char* e = p + f.size();
  if (p < e && *p == '+') ++p;
  const char* first = (p < e && *p == '-') ? p + 1 : p;
  if (first >= e || !(IsDigit(*first) || *first == '.')) return false;
  const auto result = std::from_chars(p, e, value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != e) return false;
  return std::isfinite(value) && std::fabs(value) <= FLT_MAX;
}

}  // namespace

ReadStatus HistoryParser::Parse(std::string_view text, HistoryData& data) {
  data = HistoryData{};
  if (text.empty()) return ReadStatus::NothingRead;
  try {
    const char* p = text.data();
    const char* const end = p + text.size();

    // Header lines, split once the value-name line has given the column count: fields past
    // it are never stored, however many a damaged line holds.
    std::string_view headerText[HistoryData::kHeaderRows];
    size_t headerLineNumber[HistoryData::kHeaderRows] = {};
    int headerLines = 0;
    bool headerDone = false;
    size_t valueColumns = 0;

    char cachedDate[10] = {};
    bool haveCachedDate = false;
    TDateTime cachedDays = 0;

    int placeholdersToSkip = 0;
    size_t lineNumber = 0;
    // Values kept as written, added once their line is taken whole.
    std::vector<std::pair<size_t, std::string_view>> rawTexts;

    auto finishHeader = [&]() -> bool {
      headerDone = true;
      const size_t columns =
          headerLines < 2 ? 0 : static_cast<size_t>(std::count(headerText[1].begin(), headerText[1].end(), ',')) + 1;
      if (columns <= HistoryData::kFirstValueColumn) {
        data = HistoryData{};
        data.firstDamage_ = {LineProblem::NoValueColumns, headerLines < 2 ? lineNumber : headerLineNumber[1], {}};
        return false;
      }
      data.columnCount_ = columns;
      for (int r = 0; r < headerLines; ++r) {
        HistoryData::HeaderRow& row = data.header_[r];
        const char* b = headerText[r].data();
        const char* const e = b + headerText[r].size();
        const size_t commas = static_cast<size_t>(std::count(b, e, ','));
        row.ends.reserve(std::min(columns, commas + 1));
        for (size_t k = 0; k < columns; ++k) {
          const char* c = FindComma(b, e);
          row.text += Trim(b, c);
          row.ends.push_back(row.text.size());
          if (c == e) break;
          b = c + 1;
        }
      }
      valueColumns = columns - HistoryData::kFirstValueColumn;
      data.runs_.push_back({0, 0});
      return true;
    };

    auto skipLine = [&](LineProblem problem, std::string_view field) {
      if (data.skippedLines_++ > 0) return;
      std::string shown(field.substr(0, kMaxShownFieldBytes));
      for (char& c : shown)
        if (static_cast<unsigned char>(c) < ' ') c = '?';
      data.firstDamage_ = {problem, lineNumber, std::move(shown)};
    };

    while (p < end) {
      const char* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
      const char* lineBegin = p;
      const char* lineEnd = newline ? newline : end;
      p = newline ? newline + 1 : end;
      ++lineNumber;
      if (IsBlankLine(lineBegin, lineEnd)) continue;

      if (!headerDone) {
        headerLineNumber[headerLines] = lineNumber;
        headerText[headerLines] = {lineBegin, static_cast<size_t>(lineEnd - lineBegin)};
        if (++headerLines == HistoryData::kHeaderRows && !finishHeader()) return ReadStatus::NoValueColumns;
        continue;
      }

      // A last line without its line feed is the half line of a recording that was stopped
      // while writing it (or one still being written): its last value may be cut to other
      // digits, so it is no data.
      if (newline == nullptr) break;

      const char* comma = FindComma(lineBegin, lineEnd);
      const std::string_view first = Trim(lineBegin, comma);
      // Writers before this one appended a new start right after a line cut short, so the
      // marker may end a line: what comes before it is that cut line, no row.
      if ((!first.empty() && first[0] == '#' && first == kNewStartMarker) || EndsWithMarker(lineBegin, lineEnd)) {
        data.runs_.push_back({data.times_.size(), 0});
        placeholdersToSkip = kPlaceholderLinesAfterMarker;
        continue;
      }
      if (placeholdersToSkip > 0) {
        // A data line is never taken for a placeholder, should one be missing.
        if (!HasDateShape(first)) {
          --placeholdersToSkip;
          continue;
        }
        placeholdersToSkip = 0;
      }

      if (!HasDateShape(first)) {
        skipLine(LineProblem::DateShape, first);
        continue;
      }
      if (comma == lineEnd) {
        skipLine(LineProblem::NoTime, first);
        continue;
      }
      if (!haveCachedDate || std::memcmp(cachedDate, first.data(), sizeof cachedDate) != 0) {
        const char* d = first.data();
        TDateTime days;
        if (!platform::TryEncodeDate((d[6] - '0') * 1000 + (d[7] - '0') * 100 + TwoDigits(d + 8),
                                     TwoDigits(d + 3), TwoDigits(d), days)) {
          skipLine(LineProblem::ImpossibleDate, first);
          continue;
        }
        std::memcpy(cachedDate, d, sizeof cachedDate);
        cachedDays = days;
        haveCachedDate = true;
      }

      const char* b = comma + 1;
      comma = FindComma(b, lineEnd);
      const std::string_view timeField = Trim(b, comma);
      double timeOfDay;
      const TimeCheck time = ParseTimeOfDay(timeField, timeOfDay);
      if (time != TimeCheck::Ok) {
        skipLine(time == TimeCheck::Shape ? LineProblem::TimeShape : LineProblem::ImpossibleTime, timeField);
        continue;
      }

      // The values go straight to the end of the table and are taken back should the line
      // turn out to hold more of them than there are columns.
      const size_t rowBegin = data.values_.size();
      rawTexts.clear();
      size_t k = 0;
      bool tooManyFields = false;
      while (comma != lineEnd) {
        b = comma + 1;
        if (k == valueColumns) {
          tooManyFields = true;
          break;
        }
        ++k;
        double value;
        int decimals;
        if (ReadPlainDecimal(b, lineEnd, value, decimals, comma)) {
          data.values_.push_back(value);
          data.decimals_.push_back(static_cast<int8_t>(decimals));
          continue;
        }
        comma = FindComma(b, lineEnd);
        const std::string_view field = Trim(b, comma);
        if (ParseOtherNumber(field, value)) {
          rawTexts.emplace_back(data.values_.size(), field);
          data.values_.push_back(value);
          data.decimals_.push_back(HistoryData::kRawText);
        } else {
          data.values_.push_back(std::numeric_limits<double>::quiet_NaN());
          data.decimals_.push_back(0);
        }
      }
      if (tooManyFields) {
        data.values_.resize(rowBegin);
        data.decimals_.resize(rowBegin);
        skipLine(LineProblem::TooManyFields, {});
        continue;
      }
      for (const auto& [at, raw] : rawTexts) data.rawTexts_.emplace(at, std::string(raw));
      data.times_.push_back(platform::ComposeDateTime(cachedDays, timeOfDay));
      data.rowStart_.push_back(data.values_.size());
    }

    if (!headerDone && !finishHeader()) return ReadStatus::NoValueColumns;
    if (data.times_.empty() && data.skippedLines_ > 0) {
      // Lines were there and none of them was a data line: this is no history file.
      const LineDamage damage = data.firstDamage_;
      data = HistoryData{};
      data.firstDamage_ = damage;
      return ReadStatus::NoDataLines;
    }
    for (size_t r = 0; r < data.runs_.size(); ++r) {
      const size_t next = r + 1 < data.runs_.size() ? data.runs_[r + 1].firstRow : data.times_.size();
      data.runs_[r].rowCount = next - data.runs_[r].firstRow;
    }
    return ReadStatus::Ok;
  } catch (const std::bad_alloc&) {
    data = HistoryData{};
    return ReadStatus::OutOfMemory;
  }
}

}  // namespace history
