#pragma once
// Numbers for programs rather than people (dBase, DIF, SYLK, SQL): a cell's text, in the
// export's locale forms, turned into the plain form every reader takes, "-1234.5", with "."
// as decimal mark, no grouping and no sign before a positive number. Never through the C
// library's locale.
#include <string>
#include <string_view>

namespace vantrix {

struct FormatSettings;

// The text as a number in its plain form: first as written in the settings' forms, then
// with their grouping taken out, then with "." as decimal mark. False (out untouched) when
// the text is no number in any of these forms (an empty text included).
bool MachineNumberText(std::string_view text, const FormatSettings& settings, std::string& out);

// The value with `decimals` digits after the point (none when 0), right-aligned in `width`
// characters; asterisks filling the width when it doesn't fit (dBase's overflow mark).
std::string FixedWidthNumber(double value, int width, int decimals);

}  // namespace vantrix
