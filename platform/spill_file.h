#pragma once
// Bytes set aside on the disk while a file is built whose beginning is known only at its end
// (a document whose tables list what its body turned out to use): a temporary file without a
// name in a chosen folder, written from its start and read back at any offset. It has no name
// from the moment it is made, so nothing of it stays behind however the program ends.
#include <cstddef>
#include <string>

namespace platform {

// A file without a name in the folder (empty: the current one), open for reading and writing:
// its descriptor, or -1 with errno set. Where the file system makes no unnamed files, a named
// one is made and removed at once.
int OpenUnnamedFile(const std::string& folder);

class SpillFile {
 public:
  SpillFile() = default;
  SpillFile(const SpillFile&) = delete;
  SpillFile& operator=(const SpillFile&) = delete;
  ~SpillFile() { Close(); }

  // Makes the file in the folder (empty: the current one); false (see Error) when it can't.
  bool Open(const std::string& folder);
  // Appends the bytes; false (see Error) when they can't all be written.
  bool Write(const char* data, size_t size);
  // Reads up to size bytes from the offset into data: how many were read (0 at the end), or
  // -1 (see Error).
  long long ReadAt(size_t offset, char* data, size_t size);
  // Bytes written so far.
  size_t Size() const { return size_; }
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  // What went wrong last, as the system says it.
  const std::string& Error() const { return error_; }

 private:
  bool Fail(const char* what);

  int fd_ = -1;
  size_t size_ = 0;
  std::string error_;
};

}  // namespace platform
