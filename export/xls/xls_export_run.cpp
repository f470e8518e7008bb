#include "export/xls/xls_export_run.h"

#include "export/xls/vantrix3_xls.h"

namespace vantrix {

TxlsExportRun::TxlsExportRun(TVantrix3XLS& component, const std::string& fileName, size_t memoryLimit)
    : file_(std::make_unique<TxlsCompoundFile>(fileName, memoryLimit)),
      Component(component),
      Records(file_->Stream()),
      Widths(component.Measure()),
      Metrics(component.Metrics()),
      Cells(*this),
      SheetRecords(*this),
      Globals(*this) {}

}  // namespace vantrix
