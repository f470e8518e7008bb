#include "export/xls/vantrix3_xls.h"

#include "export/xls/compound_file.h"
#include "export/xls/xls_export_run.h"
#include "platform/finally.h"

namespace vantrix {

TVantrix3XLS::TVantrix3XLS() : memoryLimit_(TxlsWorkbookBuffer::kDefaultMemoryLimit) {
  for (int i = 0; i < kExtendedColors; ++i)
    extendedColors_[i] = XLSDefaultPaletteColor(kFirstExtendedPaletteIndex + i);
}

TVantrix3XLS::~TVantrix3XLS() = default;

TxlsExportRun& TVantrix3XLS::Run() const {
  if (run_ == nullptr) throw EVantrixError("No spreadsheet export is running");
  return *run_;
}

void TVantrix3XLS::ReportLeftOut(const std::string& message) {
  leftOut_.push_back(message);
  if (OnItemLeftOut) OnItemLeftOut(*this, message);
}

std::unique_ptr<TVantrixWriter> TVantrix3XLS::CreateWriter(OutputStream&) {
  throw EVantrixError("A workbook is written to its file: set FileName and run Execute");
}

void TVantrix3XLS::CreateLocalVariables() { run_ = std::make_unique<TxlsExportRun>(*this, FileName, memoryLimit_); }

void TVantrix3XLS::FreeLocalVariables() { run_.reset(); }

TVantrixRunResult TVantrix3XLS::Execute() {
  PrepareFolder();
  RefuseFileRead(FileName);
  leftOut_.clear();
  TVantrixRunResult result;
  {
    CreateLocalVariables();
    // Whatever ends the run, its objects go; without the commit the file never appears.
    platform::Finally free([this] { FreeLocalVariables(); });
    result = DoExport();
    if (result != rrAbortedBeforeOutput) run_->Commit();
  }
  ShowResult();
  return result;
}

void TVantrix3XLS::DefineExtendedColor(int index, uint32_t color) {
  if (index < 0 || index >= kExtendedColors) return;
  extendedColors_[index] = color & 0xFFFFFF;
}

uint32_t TVantrix3XLS::ExtendedColor(int index) const {
  return index >= 0 && index < kExtendedColors ? extendedColors_[index] : 0;
}

std::vector<const TxlsImages*> TVantrix3XLS::ComponentSheetImages() const {
  std::vector<const TxlsImages*> images;
  for (const auto& sheet : Sheets) images.push_back(&sheet->Images);
  return images;
}

}  // namespace vantrix
