#pragma once
// History files of unusual shape opened and closed in the viewer (history_shapes_bench.cpp).
#include <string>

namespace history_bench {

// Writes each case to path in turn; smoke makes every case small.
void MeasureFileShapes(const std::string& path, bool smoke);

}  // namespace history_bench
