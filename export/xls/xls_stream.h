#pragma once
// The byte streams the spreadsheet writer assembles records in. The workbook stream is not
// written front to back: the writer patches records it wrote earlier (a sheet's used range,
// the sheets' offsets) and splices the globals' second half in before the sheets once every
// sheet is known. So the streams here are random access: a position that can move back, an
// overwrite in place, and an insertion that moves what follows.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vantrix {

class TxlsStream {
 public:
  virtual ~TxlsStream() = default;
  // Writes every byte at the position (overwriting, then growing the stream) and moves the
  // position past them; raises "Error writing output file" when they cannot all be written.
  virtual void Write(const void* data, size_t size) = 0;
  // Reads up to size bytes at the position; returns how many were read.
  virtual size_t Read(void* data, size_t size) = 0;
  // Moves the position; a position past the end raises ExlsFileError.
  virtual void Seek(uint64_t position) = 0;
  virtual uint64_t Position() const = 0;
  virtual uint64_t Size() const = 0;
  // Puts the bytes in at the position, moving everything from there on behind them; the
  // position ends after the inserted bytes.
  virtual void Insert(uint64_t position, const void* data, size_t size) = 0;

  void WriteByte(uint8_t value) { Write(&value, 1); }
  void WriteWord(uint16_t value);
  void WriteInteger(uint32_t value);
  void Write(const std::vector<uint8_t>& bytes) { Write(bytes.data(), bytes.size()); }
};

// All in memory (the globals' inset, tests).
class TxlsMemoryStream : public TxlsStream {
 public:
  using TxlsStream::Write;
  void Write(const void* data, size_t size) override;
  size_t Read(void* data, size_t size) override;
  void Seek(uint64_t position) override;
  uint64_t Position() const override { return position_; }
  uint64_t Size() const override { return bytes_.size(); }
  void Insert(uint64_t position, const void* data, size_t size) override;
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  void Clear() {
    bytes_.clear();
    position_ = 0;
  }

 private:
  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
};

// The workbook stream while it is assembled: in memory up to a limit, then in an anonymous
// temporary file (gone with the process, whatever happens), so a long history export does
// not hold the whole workbook in memory. Writes in a row are gathered before they reach the
// file.
class TxlsWorkbookBuffer : public TxlsStream {
 public:
  static constexpr size_t kDefaultMemoryLimit = 64u << 20;

  explicit TxlsWorkbookBuffer(size_t memoryLimit = kDefaultMemoryLimit);
  ~TxlsWorkbookBuffer() override;
  TxlsWorkbookBuffer(const TxlsWorkbookBuffer&) = delete;
  TxlsWorkbookBuffer& operator=(const TxlsWorkbookBuffer&) = delete;

  using TxlsStream::Write;
  void Write(const void* data, size_t size) override;
  size_t Read(void* data, size_t size) override;
  void Seek(uint64_t position) override;
  uint64_t Position() const override { return position_; }
  uint64_t Size() const override { return size_; }
  void Insert(uint64_t position, const void* data, size_t size) override;
  // Whether the bytes have moved to the temporary file.
  bool InFile() const { return fd_ >= 0; }

 private:
  void MoveToFile();
  void Flush();
  void WriteAt(uint64_t at, const void* data, size_t size);
  void ReadAt(uint64_t at, void* data, size_t size);

  size_t memoryLimit_;
  std::vector<uint8_t> memory_;
  int fd_ = -1;
  // Writes gathered for the file: bytes that belong at pendingStart_ on.
  std::vector<uint8_t> pending_;
  uint64_t pendingStart_ = 0;
  uint64_t size_ = 0;
  uint64_t position_ = 0;
};

}  // namespace vantrix
