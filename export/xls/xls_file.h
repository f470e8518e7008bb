#pragma once
// A workbook file opened for reading: the "Workbook" stream of its compound file (the name
// found whatever its case) copied into memory and read into a TxlsWorkbook, which can be
// saved back into a new compound file.
#include <memory>
#include <string>
#include <vector>

#include "export/xls/workbook_reader.h"

namespace vantrix {

class TxlsFile {
 public:
  TxlsFile() : workbook_(std::make_unique<TxlsWorkbook>(this)) {}

  std::string FileName;
  TxlsWorkbook& Workbook() { return *workbook_; }
  const TxlsWorkbook& Workbook() const { return *workbook_; }
  bool Loading() const { return loading_; }
  bool Loaded() const { return loaded_; }
  // The stream as read by the last Load.
  const std::vector<uint8_t>& Stream() const { return stream_; }

  // Raises ExlsFileError "File name is not defined", "File %s does not exist", "File %s cannot
  // be read: <why>" (a named pipe or a device is never read), "File %s is not an Excel
  // Workbook" (no compound file, or none with a "Workbook" stream) or what the workbook's
  // records have wrong; nothing stays loaded then.
  void Load();
  // Reads a "Workbook" stream already in memory.
  void LoadStream(std::vector<uint8_t> stream);
  // Writes the workbook into a new compound file named FileName.
  void Save();
  void Clear();

 private:
  std::unique_ptr<TxlsWorkbook> workbook_;
  std::vector<uint8_t> stream_;
  bool loading_ = false, loaded_ = false;
};

// The bytes of the compound file's "Workbook" stream (the name in any case); raises
// ExlsFileError "File %s is not an Excel Workbook" when the file is no compound file or has
// no such stream, and the errors of a file Load cannot read.
std::vector<uint8_t> ReadWorkbookStream(const std::string& fileName);

}  // namespace vantrix
