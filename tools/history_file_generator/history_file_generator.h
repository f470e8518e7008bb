#pragma once
// History files of the recorder's layout, generated: two devices with four values each, one
// line a second; for the export tests also in several recording runs and with names longer
// than a table cell shows. The history benchmarks measure the viewer on them, and
// export_table --write-history writes them for the tests.
#include <cstddef>
#include <string>

namespace historygen {

// The three header lines (device names, value names, units), code page 1252.
std::string HeaderText(bool longNames = false);

// Line i, written into buffer (at least 256 bytes); returns its length.
int DataLineText(size_t i, char* buffer, size_t size);

// Writes the file line by line (no copy of it in memory); returns its size in bytes, 0 when
// it cannot be written. The data lines are shared out over the recording runs, each later
// run opened as the recorder appends one.
size_t WriteHistoryFile(const std::string& path, size_t lines, size_t runs = 1, bool longNames = false);

// One device recording two values, with runs recordings of linesPerRun lines each: a trigger
// near its level appends a recording at almost every reading.
std::string ManyShortRunsText(size_t runs, size_t linesPerRun);

// Two devices and valueColumns value columns named by nothing but commas, as damaged or
// hostile files have them, and one short data line: small files with many columns.
std::string TwoDevicesManyColumnsText(size_t valueColumns);

}  // namespace historygen
