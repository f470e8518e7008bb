#include "export/xls/xls_file.h"

#include <gsf/gsf.h>

#include <cstdio>
#include <mutex>

#include "export/xls/compound_file.h"
#include "platform/regular_file.h"

namespace vantrix {

namespace {

void InitGsf() {
  static std::once_flag once;
  std::call_once(once, [] { gsf_init(); });
}

// Drops a GObject reference when it goes out of scope.
struct Unref {
  void operator()(void* object) const {
    if (object != nullptr) g_object_unref(object);
  }
};
template <class T>
using GsfPtr = std::unique_ptr<T, Unref>;

[[noreturn]] void RaiseNotWorkbook(const std::string& fileName) {
  throw ExlsFileError("File " + fileName + " is not an Excel Workbook");
}

}  // namespace

std::vector<uint8_t> ReadWorkbookStream(const std::string& fileName) {
  InitGsf();
  // Opened here, not by the library by name: it would wait in a named pipe's open.
  std::string reason;
  platform::FileFailure failure = platform::FileFailure::kNone;
  std::FILE* file = platform::OpenRegularFileStream(fileName, &reason, &failure);
  if (file == nullptr && failure == platform::FileFailure::kMissing)
    throw ExlsFileError("File " + fileName + " does not exist");
  if (file == nullptr) throw ExlsFileError("File " + fileName + " cannot be read: " + reason);
  GsfPtr<GsfInput> input(gsf_input_stdio_new_FILE(fileName.c_str(), file, FALSE));
  if (!input) {
    std::fclose(file);
    throw ExlsFileError("File " + fileName + " cannot be read: cannot be opened");
  }
  GError* error = nullptr;
  GsfPtr<GsfInfile> ole(gsf_infile_msole_new(input.get(), &error));
  if (error != nullptr) g_error_free(error);
  if (!ole) RaiseNotWorkbook(fileName);
  const int children = gsf_infile_num_children(ole.get());
  GsfPtr<GsfInput> stream;
  for (int i = 0; i < children && !stream; ++i) {
    const char* name = gsf_infile_name_by_index(ole.get(), i);
    if (name != nullptr && g_ascii_strcasecmp(name, "Workbook") == 0) stream.reset(gsf_infile_child_by_index(ole.get(), i));
  }
  if (!stream) RaiseNotWorkbook(fileName);
  // A stream never holds more than the file it is in.
  const gsf_off_t size = gsf_input_size(stream.get());
  if (size < 0 || static_cast<uint64_t>(size) > static_cast<uint64_t>(gsf_input_size(input.get())))
    RaiseNotWorkbook(fileName);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (size > 0 && gsf_input_read(stream.get(), static_cast<size_t>(size), bytes.data()) == nullptr)
    throw ExlsFileError("File " + fileName + " cannot be read whole");
  return bytes;
}

void TxlsFile::Load() {
  if (FileName.empty()) throw ExlsFileError("File name is not defined");
  Clear();
  LoadStream(ReadWorkbookStream(FileName));
}

void TxlsFile::LoadStream(std::vector<uint8_t> stream) {
  Clear();
  stream_ = std::move(stream);
  loading_ = true;
  try {
    TxlsReadStream reader(stream_);
    workbook_->Load(reader);
  } catch (...) {
    loading_ = false;
    stream_.clear();
    throw;
  }
  loading_ = false;
  loaded_ = true;
}

void TxlsFile::Save() {
  if (FileName.empty()) throw ExlsFileError("File name is not defined");
  TxlsCompoundFile file(FileName);
  workbook_->Save(file.Stream());
  file.Commit();
  loaded_ = true;
}

void TxlsFile::Clear() {
  workbook_->Clear();
  stream_.clear();
  loaded_ = false;
}

}  // namespace vantrix
