#include "export/xls/xls_stream.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "export/xls/xls_error.h"
#include "platform/spill_file.h"

namespace vantrix {
namespace {

constexpr size_t kPendingLimit = 1u << 20;
constexpr size_t kShiftChunk = 1u << 20;

[[noreturn]] void RaiseSeekError(uint64_t position, uint64_t size) {
  throw ExlsFileError("Stream position " + std::to_string(position) + " is past its end (" +
                      std::to_string(size) + " bytes)");
}

// An unnamed file in the temporary folder: it has no name to leave behind.
int OpenAnonymousFile() {
  const char* dir = std::getenv("TMPDIR");
  return platform::OpenUnnamedFile(dir != nullptr && *dir != '\0' ? dir : "/tmp");
}

}  // namespace

void TxlsStream::WriteWord(uint16_t value) {
  const uint8_t b[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  Write(b, 2);
}

void TxlsStream::WriteInteger(uint32_t value) {
  const uint8_t b[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                        static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  Write(b, 4);
}

// --- TxlsMemoryStream ------------------------------------------------------------------------

void TxlsMemoryStream::Write(const void* data, size_t size) {
  if (size == 0) return;
  const size_t end = position_ + size;
  if (end > bytes_.size()) bytes_.resize(end);
  std::memcpy(bytes_.data() + position_, data, size);
  position_ = end;
}

size_t TxlsMemoryStream::Read(void* data, size_t size) {
  const size_t count = std::min(size, bytes_.size() - position_);
  if (count > 0) std::memcpy(data, bytes_.data() + position_, count);
  position_ += count;
  return count;
}

void TxlsMemoryStream::Seek(uint64_t position) {
  if (position > bytes_.size()) RaiseSeekError(position, bytes_.size());
  position_ = static_cast<size_t>(position);
}

void TxlsMemoryStream::Insert(uint64_t position, const void* data, size_t size) {
  if (position > bytes_.size()) RaiseSeekError(position, bytes_.size());
  const auto* bytes = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.begin() + static_cast<ptrdiff_t>(position), bytes, bytes + size);
  position_ = static_cast<size_t>(position) + size;
}

// --- TxlsWorkbookBuffer ----------------------------------------------------------------------

TxlsWorkbookBuffer::TxlsWorkbookBuffer(size_t memoryLimit) : memoryLimit_(memoryLimit) {}

TxlsWorkbookBuffer::~TxlsWorkbookBuffer() {
  if (fd_ >= 0) ::close(fd_);
}

void TxlsWorkbookBuffer::MoveToFile() {
  fd_ = OpenAnonymousFile();
  if (fd_ < 0) RaiseWriteError();
  std::vector<uint8_t> memory;
  memory.swap(memory_);
  WriteAt(0, memory.data(), memory.size());
}

void TxlsWorkbookBuffer::Flush() {
  if (pending_.empty()) return;
  std::vector<uint8_t> pending;
  pending.swap(pending_);
  WriteAt(pendingStart_, pending.data(), pending.size());
  pending.clear();
  pending_.swap(pending);  // keeps the capacity for the next run of writes
}

void TxlsWorkbookBuffer::WriteAt(uint64_t at, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = ::pwrite(fd_, bytes, size, static_cast<off_t>(at));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) RaiseWriteError();
    bytes += n;
    size -= static_cast<size_t>(n);
    at += static_cast<uint64_t>(n);
  }
}

void TxlsWorkbookBuffer::ReadAt(uint64_t at, void* data, size_t size) {
  auto* bytes = static_cast<uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = ::pread(fd_, bytes, size, static_cast<off_t>(at));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw ExlsFileError("Error reading the workbook's temporary file");
    bytes += n;
    size -= static_cast<size_t>(n);
    at += static_cast<uint64_t>(n);
  }
}

void TxlsWorkbookBuffer::Write(const void* data, size_t size) {
  if (size == 0) return;
  const uint64_t end = position_ + size;
  if (fd_ < 0 && end > memoryLimit_) MoveToFile();
  if (fd_ < 0) {
    if (end > memory_.size()) memory_.resize(static_cast<size_t>(end));
    std::memcpy(memory_.data() + position_, data, size);
  } else if (!pending_.empty() && position_ == pendingStart_ + pending_.size() &&
             pending_.size() + size <= kPendingLimit) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    pending_.insert(pending_.end(), bytes, bytes + size);
  } else {
    Flush();
    if (size >= kPendingLimit) {
      WriteAt(position_, data, size);
    } else {
      const auto* bytes = static_cast<const uint8_t*>(data);
      pendingStart_ = position_;
      pending_.assign(bytes, bytes + size);
    }
  }
  position_ = end;
  size_ = std::max(size_, end);
}

size_t TxlsWorkbookBuffer::Read(void* data, size_t size) {
  const size_t count = static_cast<size_t>(std::min<uint64_t>(size, size_ - position_));
  if (count == 0) return 0;
  if (fd_ < 0) {
    std::memcpy(data, memory_.data() + position_, count);
  } else {
    Flush();
    ReadAt(position_, data, count);
  }
  position_ += count;
  return count;
}

void TxlsWorkbookBuffer::Seek(uint64_t position) {
  if (position > size_) RaiseSeekError(position, size_);
  position_ = position;
}

void TxlsWorkbookBuffer::Insert(uint64_t position, const void* data, size_t size) {
  if (position > size_) RaiseSeekError(position, size_);
  if (size == 0) {
    position_ = position;
    return;
  }
  if (fd_ < 0 && size_ + size > memoryLimit_) MoveToFile();
  if (fd_ < 0) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    memory_.insert(memory_.begin() + static_cast<ptrdiff_t>(position), bytes, bytes + size);
  } else {
    Flush();
    // Moves the tail back by size bytes, from its end towards the insertion point, so no
    // byte is overwritten before it has been moved.
    std::vector<uint8_t> chunk(std::min<uint64_t>(kShiftChunk, std::max<uint64_t>(size_ - position, 1)));
    uint64_t end = size_;
    while (end > position) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(chunk.size(), end - position));
      ReadAt(end - n, chunk.data(), n);
      WriteAt(end - n + size, chunk.data(), n);
      end -= n;
    }
    WriteAt(position, data, size);
  }
  size_ += size;
  position_ = position + size;
}

}  // namespace vantrix
