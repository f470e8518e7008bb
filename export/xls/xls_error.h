#pragma once
// The spreadsheet writer's errors. ExlsFileError is the workbook's own (bad record use, bad
// cell values, a file that cannot be made); a short write of the output is the plain library
// error "Error writing output file". Both are EVantrixError, so a caller of any exporter
// catches them alike.
#include <string>

#include "export/library_strings.h"

namespace vantrix {

class ExlsFileError : public EVantrixError {
 public:
  explicit ExlsFileError(const std::string& message) : EVantrixError(message) {}
};

inline constexpr const char* kErrorWritingOutput = "Error writing output file";

[[noreturn]] inline void RaiseWriteError() { throw EVantrixError(kErrorWritingOutput); }

}  // namespace vantrix
