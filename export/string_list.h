#pragma once
// The string lists of the export library's properties (exported fields, header and footer
// lines, and the "name=value" lists of captions, formats, widths, alignments and lengths), with
// the framework's lookups: names and texts compare without regard to case, a line's name is
// its text before the first "=" and its value the text after it.
#include <string>
#include <string_view>
#include <vector>

namespace vantrix {

using TStrings = std::vector<std::string>;

std::string_view LineName(std::string_view line);
std::string_view LineValue(std::string_view line);
// The first line whose name is the given one; -1 when none.
int IndexOfName(const TStrings& lines, std::string_view name);
// The value of the first line of that name; false when there is none.
bool FindValue(const TStrings& lines, std::string_view name, std::string& value);
// The first line equal to the text; -1 when none.
int IndexOfText(const TStrings& lines, std::string_view text);

}  // namespace vantrix
