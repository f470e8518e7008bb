#pragma once
// A dBase III table: a 32-byte header, one 32-byte descriptor per field, 0x0D, fixed-length
// records (a deletion byte, then the fields) and 0x1A; beside it, for large-object fields, a
// memo file of 512-byte blocks. Little-endian throughout. The header declares code page 1252
// (language driver 0x03), so readers decode the text without being told.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "export/writer.h"
#include "platform/datetime.h"

namespace vantrix {

class FileOutputStream;

struct TDBFField {
  std::string name;  // at most 10 characters
  char type = 'C';   // C, N, D, L or M
  int length = 1;    // 1..255, a text (C) 1..254
  int decimals = 0;  // below the length
  int offset = 0;    // in the record, the deletion byte not counted
};

class TVantrixDBFWriter : public TVantrixWriter {
 public:
  static constexpr size_t kHeaderSize = 32;
  static constexpr size_t kMemoBlock = 512;
  static constexpr size_t kMaxMemo = 65536;
  // The header's 16-bit size holds a descriptor of 32 bytes a field and 33 bytes more.
  static constexpr size_t kMaxFields = (0xFFFF - kHeaderSize - 1) / kHeaderSize;
  static constexpr int kMaxFieldLength = 255;
  static constexpr int kMaxTextLength = 254;
  // Raises unless a table can hold that many fields.
  static void CheckFieldCount(size_t fields);

  TVantrixDBFWriter(TVantrix3& exporter, OutputStream& stream);
  ~TVantrixDBFWriter() override;

  // The length is kept to 1..255 (a text field's to 1..254, the most dBase readers take)
  // and the decimals below it; the offset follows the fields before it.
  void AddField(std::string name, char type, int length, int decimals);
  const std::vector<TDBFField>& Fields() const { return fields_; }
  // The deletion byte and every field.
  size_t RecordSize() const;

  // Writes the header and the descriptors. With a memo path, the memo file is made there
  // (written beside it and put in place by Finish) and the header says so. Raises
  // EVantrixError for a table whose header or records would not fit their 16-bit sizes.
  void WriteHeader(TDateTime exportDate, const std::string& memoPath);
  bool HasMemoFile() const { return memo_ != nullptr; }
  // A whole record, deletion byte first, RecordSize() bytes.
  void WriteRecord(std::string_view record);
  // Stores the bytes in the memo file and returns the number of their first block.
  uint32_t WriteMemo(std::string_view bytes);
  uint32_t RecordCount() const { return records_; }
  // The end mark, the record count in the header and the memo file's next free block;
  // `complete` puts the memo file in its place (otherwise it is dropped).
  void Finish(bool complete);

 private:
  std::string header_;
  std::vector<TDBFField> fields_;
  std::unique_ptr<FileOutputStream> memo_;
  uint32_t nextBlock_ = 0;
  uint32_t records_ = 0;
};

}  // namespace vantrix
