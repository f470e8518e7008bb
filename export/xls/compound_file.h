#pragma once
// The workbook file: a compound file (512-byte sectors) whose one stream "Workbook" holds the
// BIFF8 records. The writer patches and splices that stream while it builds it, which a
// compound file's child stream cannot do, so the stream is assembled in a random-access
// buffer first and copied into the compound file at the end.
//
// The file appears only when it is complete, and is replaced as every other export's file is
// (platform/atomic_file.h): the output is a temporary file beside the target from the start
// (so a path that cannot be written fails at once), readable by its owner alone until it takes
// the target's place when Commit wrote it whole. A workbook dropped without Commit, or a Commit
// that fails at any step (the rename too), leaves the target as it was and no temporary file.
#include <memory>
#include <string>

#include "export/xls/xls_error.h"
#include "export/xls/xls_stream.h"
#include "platform/atomic_file.h"

namespace vantrix {

class TxlsCompoundFile {
 public:
  // Raises ExlsFileError, with the system's reason, when the file cannot be created there.
  explicit TxlsCompoundFile(const std::string& fileName,
                            size_t memoryLimit = TxlsWorkbookBuffer::kDefaultMemoryLimit);
  ~TxlsCompoundFile();
  TxlsCompoundFile(const TxlsCompoundFile&) = delete;
  TxlsCompoundFile& operator=(const TxlsCompoundFile&) = delete;

  const std::string& FileName() const { return fileName_; }
  // The "Workbook" stream being assembled.
  TxlsStream& Stream() { return buffer_; }
  const TxlsWorkbookBuffer& Buffer() const { return buffer_; }

  // Copies the stream into the compound file's "Workbook" child, closes the file and puts
  // it in the target's place. Raises ExlsFileError when any step fails (nothing is left
  // then); a second call raises too.
  void Commit();
  bool Committed() const { return committed_; }

 private:
  std::string fileName_;
  TxlsWorkbookBuffer buffer_;
  platform::AtomicFile file_;
  bool committed_ = false;
};

// Creates the workbook file named fileName; the caller writes the stream and commits it.
std::unique_ptr<TxlsCompoundFile> CreateXLSStream(const std::string& fileName);

}  // namespace vantrix
