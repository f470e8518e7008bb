#include "platform/color_text.h"

#include <cstdio>

#include "platform/cp1252_case.h"

namespace platform {
namespace {

struct ColorName {
  uint32_t value;
  const char* name;
};

// In the framework's own order, so a value with two names is written with the first.
constexpr ColorName kColorNames[] = {
    {0x000000, "clBlack"},          {0x000080, "clMaroon"},
    {0x008000, "clGreen"},          {0x008080, "clOlive"},
    {0x800000, "clNavy"},           {0x800080, "clPurple"},
    {0x808000, "clTeal"},           {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"},         {0x0000FF, "clRed"},
    {0x00FF00, "clLime"},           {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},           {0xFF00FF, "clFuchsia"},
    {0xFFFF00, "clAqua"},           {0xFFFFFF, "clWhite"},
    {0xC0DCC0, "clMoneyGreen"},     {0xF0CAA6, "clSkyBlue"},
    {0xF0FBFF, "clCream"},          {0xA4A0A0, "clMedGray"},
    {0x8000000A, "clActiveBorder"}, {0x80000002, "clActiveCaption"},
    {0x8000000C, "clAppWorkSpace"}, {0x80000001, "clBackground"},
    {0x8000000F, "clBtnFace"},      {0x80000014, "clBtnHighlight"},
    {0x80000010, "clBtnShadow"},    {0x80000012, "clBtnText"},
    {0x80000009, "clCaptionText"},  {0x20000000, "clDefault"},
    {0x8000001B, "clGradientActiveCaption"}, {0x8000001C, "clGradientInactiveCaption"},
    {0x80000011, "clGrayText"},     {0x8000000D, "clHighlight"},
    {0x8000000E, "clHighlightText"}, {0x8000001A, "clHotLight"},
    {0x8000000B, "clInactiveBorder"}, {0x80000003, "clInactiveCaption"},
    {0x80000013, "clInactiveCaptionText"}, {0x80000018, "clInfoBk"},
    {0x80000017, "clInfoText"},     {0x80000004, "clMenu"},
    {0x8000001E, "clMenuBar"},      {0x8000001D, "clMenuHighlight"},
    {0x80000007, "clMenuText"},     {0x1FFFFFFF, "clNone"},
    {0x80000000, "clScrollBar"},    {0x80000015, "cl3DDkShadow"},
    {0x80000016, "cl3DLight"},      {0x80000005, "clWindow"},
    {0x80000006, "clWindowFrame"},  {0x80000008, "clWindowText"},
    // Read only: the framework's aliases, written under their first names above.
    {0xC0C0C0, "clLtGray"},         {0x808080, "clDkGray"},
};

bool ParseNumber(std::string_view s, uint32_t& out) {
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  unsigned base = 10;
  if (!s.empty() && s.front() == '$') {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return false;
  uint64_t value = 0;
  for (char c : s) {
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
    else return false;
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) return false;
  }
  // Decimal text is a signed 32-bit number, as the framework wrote it.
  if (base == 10 && value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
  out = negative ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  return true;
}

}  // namespace

std::string ColorToString(uint32_t color) {
  for (const ColorName& entry : kColorNames)
    if (entry.value == color) return entry.name;
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", color);
  return text;
}

bool TryStringToColor(std::string_view text, uint32_t& color) {
  for (const ColorName& entry : kColorNames) {
    if (Cp1252SameText(text, entry.name)) {
      color = entry.value;
      return true;
    }
  }
  return ParseNumber(text, color);
}

}  // namespace platform
