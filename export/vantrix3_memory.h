#pragma once
// Output to memory, then to the clipboard as text: the base of the clipboard exporter.
#include "export/vantrix3.h"

namespace vantrix {

class TVantrix3Memory : public TVantrix3 {
 public:
  // The whole export on the clipboard (nothing changes there when the run stopped before
  // any output); raises EVantrixError when the clipboard can't be reached.
  TVantrixRunResult Execute() override;
};

}  // namespace vantrix
