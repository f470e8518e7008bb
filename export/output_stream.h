#pragma once
// Where an exporter's writer puts its bytes. A file is written beside its target and only
// takes the target's place when the export ends well (see platform/atomic_file.h).
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "export/string_list.h"
#include "platform/atomic_file.h"

namespace vantrix {

// Raises EVantrixError, naming both, when the path names one of the files read (the same file,
// by whatever name): a run never puts what it writes in the place of a file it reads.
void RefuseFileRead(const std::string& path, const TStrings& filesRead);
// What an export says when the file cannot be made in place of what the path names, and why
// (an atomic file's error or platform::ReplaceRefusal): code page 1252, the path converted.
std::string CannotCreateFileText(const std::string& path, const std::string& reason);

class OutputStream {
 public:
  virtual ~OutputStream() = default;
  // Raises EVantrixError when the bytes can't be written.
  virtual void Write(const char* data, size_t size) = 0;
  void Write(std::string_view text) { Write(text.data(), text.size()); }
  // Overwrites bytes written earlier (a header whose counts are known only at the end);
  // false when this output can't go back.
  virtual bool Patch(size_t /*offset*/, std::string_view /*bytes*/) { return false; }
};

// Keeps everything in memory (the clipboard exporter, tests).
class MemoryOutputStream : public OutputStream {
 public:
  using OutputStream::Write;
  void Write(const char* data, size_t size) override { bytes_.append(data, size); }
  bool Patch(size_t offset, std::string_view bytes) override {
    if (offset + bytes.size() > bytes_.size()) return false;
    bytes_.replace(offset, bytes.size(), bytes);
    return true;
  }
  const std::string& Bytes() const { return bytes_; }
  void Clear() { bytes_.clear(); }

 private:
  std::string bytes_;
};

// Counts and forgets (benchmarks).
class DiscardOutputStream : public OutputStream {
 public:
  using OutputStream::Write;
  void Write(const char*, size_t size) override { count_ += size; }
  bool Patch(size_t offset, std::string_view bytes) override { return offset + bytes.size() <= count_; }
  unsigned long long Count() const { return count_; }

 private:
  unsigned long long count_ = 0;
};

// Buffered writes into a new file beside the target; Commit puts it in the target's place,
// destruction without Commit leaves the target as it was and no partial file.
class FileOutputStream : public OutputStream {
 public:
  // Raises EVantrixError when the file can't be created.
  explicit FileOutputStream(const std::string& path);
  ~FileOutputStream() override;
  using OutputStream::Write;
  void Write(const char* data, size_t size) override;
  bool Patch(size_t offset, std::string_view bytes) override;
  // Flushes, syncs and renames over the target; raises EVantrixError on failure (the
  // target then stays as it was).
  void Commit();
  const std::string& Path() const { return path_; }

 private:
  void Flush();

  std::string path_;
  platform::AtomicFile file_;
  std::string buffer_;
};

}  // namespace vantrix
