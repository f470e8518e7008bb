#pragma once
// The cells of a workbook read back, as text a test compares with another reader's: one line
// per worksheet ("sheet", its name) and one per cell in row and column order ("cell", row,
// column, kind, value), tab-separated. Kinds: text, number, date, bool, error, blank; a
// formula shows its result. Numbers are written with 17 significant digits, texts as JSON
// strings with every character past ASCII escaped.
#include <string>

namespace vantrix {

class TxlsWorkbook;

std::string DumpCells(const TxlsWorkbook& workbook);

}  // namespace vantrix
