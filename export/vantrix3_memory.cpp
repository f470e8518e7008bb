#include "export/vantrix3_memory.h"

#include "export/library_strings.h"
#include "export/output_stream.h"
#include "export/shell_service.h"

namespace vantrix {

TVantrixRunResult TVantrix3Memory::Execute() {
  MemoryOutputStream memory;
  const TVantrixRunResult result = ExportToStream(memory);
  if (result != rrAbortedBeforeOutput) {
    const std::string error = ShellService().SetClipboardText(memory.Bytes());
    if (!error.empty()) throw EVantrixError(error);
  }
  return result;
}

}  // namespace vantrix
