#pragma once
// A one-sheet workbook assembled from the writer's pieces the way the exporter lays it out:
// the first globals, the sheet, then the globals' second half (fonts, formats, XFs, styles,
// palette, sheet list, country, shared strings) spliced in before the globals' end, the
// sheet's used range and offset patched, and the whole stream put into the compound file.
// Independent readers then read it back.
#include <string>

namespace xlstest {

// The 12,000-character text: digits and letters with a few accented and wide characters, so
// a reader that splits it at the wrong place, or mixes its halves up, shows.
std::u16string LongText();
inline const std::u16string kLabel = u"Temperatura \u00B0C \u20AC";
inline constexpr double kNumber = 1234.5;

// Writes the workbook; raises what the writer raises.
void WriteSampleWorkbook(const std::string& path);

}  // namespace xlstest
