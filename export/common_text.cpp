#include "export/common_text.h"

#include <charconv>
#include <cmath>

#include "export/format_settings.h"
#include "platform/cp1252_case.h"

namespace vantrix {

std::string Char2Str(char c) {
  const unsigned char code = static_cast<unsigned char>(c);
  if (code < 33 || code > 127) return "#" + std::to_string(code);
  return std::string(1, c);
}

char Str2Char(std::string_view text) {
  if (text.empty()) return '\0';
  if (text.size() == 1) return text[0];
  if (text[0] != '#') return '\0';
  unsigned code = 0;
  const auto [end, ec] = std::from_chars(text.data() + 1, text.data() + text.size(), code);
  if (ec != std::errc() || end != text.data() + text.size() || code > 255) return '\0';
  return static_cast<char>(code);
}

double StrToDblDef(std::string_view text, double def) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Digits or a point first: from_chars would also take "inf", "nan" and a second sign.
  if (i >= text.size() || !((text[i] >= '0' && text[i] <= '9') || text[i] == '.')) return def;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return def;
  return negative ? -value : value;
}

std::string Replace(std::string_view text, std::string_view oldText, std::string_view newText) {
  if (oldText.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text.size() - i >= oldText.size() && platform::Cp1252SameText(text.substr(i, oldText.size()), oldText)) {
      out.append(newText);
      i += oldText.size();
    } else {
      out.push_back(text[i++]);
    }
  }
  return out;
}

std::string AddNumberToFileName(std::string_view fileName, int number, int digits) {
  const size_t nameStart = fileName.find_last_of('/') == fileName.npos ? 0 : fileName.find_last_of('/') + 1;
  const size_t dot = fileName.find_last_of('.');
  const bool hasExtension = dot != fileName.npos && dot >= nameStart;
  const std::string_view stem = hasExtension ? fileName.substr(0, dot) : fileName;
  const std::string_view extension = hasExtension ? fileName.substr(dot) : std::string_view();
  std::string numberText = std::to_string(number < 0 ? -static_cast<long long>(number) : number);
  if (digits > 0 && static_cast<int>(numberText.size()) < digits)
    numberText.insert(0, static_cast<size_t>(digits) - numberText.size(), '0');
  if (number < 0) numberText.insert(0, 1, '-');
  std::string out(stem);
  out += numberText;
  out += extension;
  return out;
}

void AppendSeparatedField(std::string_view text, char separator, char quote, bool always, std::string& out) {
  const auto splits = [&] {
    for (const char c : text)
      if (c == separator || c == quote || c == '\r' || c == '\n') return true;
    return false;
  };
  if (quote == '\0' || !(always || splits())) {
    out.append(text);
    return;
  }
  out.push_back(quote);
  // The text in pieces between its quote characters, each of those doubled.
  size_t from = 0;
  for (size_t at; (at = text.find(quote, from)) != std::string_view::npos; from = at + 1) {
    out.append(text, from, at + 1 - from);
    out.push_back(quote);
  }
  out.append(text.substr(from));
  out.push_back(quote);
}

void AppendZeroPadded(std::string& out, long long value, int minDigits) {
  // The magnitude as unsigned: the most negative value has no positive counterpart.
  const unsigned long long magnitude =
      value < 0 ? 0 - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, magnitude);
  if (value < 0) out.push_back('-');
  const long long length = result.ptr - digits;
  if (minDigits > length) out.append(static_cast<size_t>(minDigits - length), '0');
  out.append(digits, result.ptr);
}

char GetListSeparator() { return DefaultFormatSettings().listSeparator; }

int MinimumInt(int a, int b) { return a < b ? a : b; }
int MaximumInt(int a, int b) { return a > b ? a : b; }

}  // namespace vantrix
