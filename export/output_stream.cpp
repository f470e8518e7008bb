#include "export/output_stream.h"

#include "export/library_strings.h"
#include "platform/cp1252.h"
#include "platform/same_file.h"

namespace vantrix {
namespace {

constexpr size_t kBufferSize = 1 << 16;

[[noreturn]] void RaiseFileError(const std::string& what, const std::string& path, const std::string& reason) {
  const std::string shown = platform::ExternalTextToCp1252(path);
  throw EVantrixError(what + " \"" + shown + "\": " + reason);
}

}  // namespace

void RefuseFileRead(const std::string& path, const TStrings& filesRead) {
  for (const std::string& read : filesRead)
    if (platform::SameFile(path, read))
      RaiseFileError("Cannot write the file", path,
                     "it is \"" + platform::ExternalTextToCp1252(read) + "\", a file this export reads");
}

std::string CannotCreateFileText(const std::string& path, const std::string& reason) {
  return "Cannot create the file \"" + platform::ExternalTextToCp1252(path) + "\": " + reason;
}

FileOutputStream::FileOutputStream(const std::string& path) : path_(path) {
  if (!file_.Open(path)) throw EVantrixError(CannotCreateFileText(path, file_.Error()));
  buffer_.reserve(kBufferSize);
}

FileOutputStream::~FileOutputStream() = default;

void FileOutputStream::Flush() {
  if (buffer_.empty()) return;
  if (!file_.Write(buffer_.data(), buffer_.size())) RaiseFileError("Cannot write the file", path_, file_.Error());
  buffer_.clear();
}

void FileOutputStream::Write(const char* data, size_t size) {
  if (buffer_.size() + size > kBufferSize) {
    Flush();
    if (size >= kBufferSize) {
      if (!file_.Write(data, size)) RaiseFileError("Cannot write the file", path_, file_.Error());
      return;
    }
  }
  buffer_.append(data, size);
}

bool FileOutputStream::Patch(size_t offset, std::string_view bytes) {
  Flush();
  if (!file_.WriteAt(offset, bytes.data(), bytes.size())) RaiseFileError("Cannot write the file", path_, file_.Error());
  return true;
}

void FileOutputStream::Commit() {
  Flush();
  if (!file_.Commit()) RaiseFileError("Cannot write the file", path_, file_.Error());
}

}  // namespace vantrix
