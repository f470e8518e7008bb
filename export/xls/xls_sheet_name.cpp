#include "export/xls/xls_sheet_name.h"

#include <algorithm>
#include <string>

namespace vantrix {
namespace {

bool Forbidden(char16_t c) {
  return c == u':' || c == u'\\' || c == u'/' || c == u'?' || c == u'*' || c == u'[' || c == u']';
}

// At most n code units, never ending inside a surrogate pair.
WideString Cut(std::u16string_view text, size_t n) {
  if (text.size() <= n) return WideString(text);
  if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
  return WideString(text.substr(0, n));
}

bool Taken(std::u16string_view name, const std::vector<WideString>& taken) {
  return std::any_of(taken.begin(), taken.end(), [&](const WideString& t) { return SameWideText(t, name); });
}

WideString Numbered(std::u16string_view base, int k) {
  const std::string suffix = " (" + std::to_string(k) + ")";
  WideString name = Cut(base, kMaxSheetNameLength - suffix.size());
  // The cut may have left blanks or an apostrophe at the end of the base.
  while (!name.empty() && (name.back() == u' ' || name.back() == u'\'')) name.pop_back();
  for (const char c : suffix) name.push_back(static_cast<char16_t>(c));
  return name;
}

}  // namespace

WideString MakeSheetName(std::u16string_view title, const std::vector<WideString>& taken, int number) {
  WideString name(title);
  for (char16_t& c : name)
    if (Forbidden(c) || c < 0x20) c = u'_';
  name = Cut(name, kMaxSheetNameLength);
  while (!name.empty() && name.front() == u'\'') name.erase(0, 1);
  while (!name.empty() && name.back() == u'\'') name.pop_back();
  if (name.find_first_not_of(u' ') == WideString::npos) {
    const std::string fallback = "Sheet" + std::to_string(number);
    name.assign(fallback.begin(), fallback.end());
  }
  if (!Taken(name, taken)) return name;
  for (int k = 2;; ++k) {
    WideString candidate = Numbered(name, k);
    if (!Taken(candidate, taken)) return candidate;
  }
}

WideString ContinuationTitle(std::u16string_view title, int part) { return Numbered(title, part); }

}  // namespace vantrix
