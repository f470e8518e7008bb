#include "export/dbf_writer.h"

#include <algorithm>

#include "export/library_strings.h"
#include "export/output_stream.h"

namespace vantrix {
namespace {

constexpr uint8_t kCodePage1252 = 0x03;

void PutU16(std::string& bytes, size_t at, uint32_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

std::string U32(uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

}  // namespace

TVantrixDBFWriter::TVantrixDBFWriter(TVantrix3& exporter, OutputStream& stream) : TVantrixWriter(exporter, stream) {}

TVantrixDBFWriter::~TVantrixDBFWriter() = default;

void TVantrixDBFWriter::AddField(std::string name, char type, int length, int decimals) {
  TDBFField field;
  field.name = std::move(name);
  field.type = type;
  field.length = std::clamp(length, 1, type == 'C' ? kMaxTextLength : kMaxFieldLength);
  field.decimals = std::clamp(decimals, 0, field.length - 1);
  field.offset = fields_.empty() ? 0 : fields_.back().offset + fields_.back().length;
  fields_.push_back(std::move(field));
}

size_t TVantrixDBFWriter::RecordSize() const {
  size_t size = 1;
  for (const TDBFField& field : fields_) size += static_cast<size_t>(field.length);
  return size;
}

void TVantrixDBFWriter::CheckFieldCount(size_t fields) {
  if (fields > kMaxFields)
    throw EVantrixError("A dBase table holds at most " + std::to_string(kMaxFields) + " fields");
}

void TVantrixDBFWriter::WriteHeader(TDateTime exportDate, const std::string& memoPath) {
  CheckFieldCount(fields_.size());
  const size_t headerSize = (fields_.size() + 1) * kHeaderSize + 1;
  const size_t recordSize = RecordSize();
  if (recordSize > 0xFFFF) throw EVantrixError("A dBase table's records hold at most 65535 bytes");

  platform::DateParts date;
  platform::DecodeDate(exportDate, date);
  header_.assign(kHeaderSize, '\0');
  header_[0] = static_cast<char>(memoPath.empty() ? 0x03 : 0x83);
  header_[1] = static_cast<char>((date.year + 48) & 0xFF);  // the year less 2000, in one byte
  header_[2] = static_cast<char>(date.month);
  header_[3] = static_cast<char>(date.day);
  PutU16(header_, 8, static_cast<uint32_t>(headerSize));
  PutU16(header_, 10, static_cast<uint32_t>(recordSize));
  header_[29] = static_cast<char>(kCodePage1252);
  std::string out = header_;
  for (const TDBFField& field : fields_) {
    std::string descriptor(kHeaderSize, '\0');
    descriptor.replace(0, std::min<size_t>(field.name.size(), 10), field.name, 0, 10);
    descriptor[11] = field.type;
    descriptor.replace(12, 4, U32(static_cast<uint32_t>(field.offset)));
    descriptor[16] = static_cast<char>(field.length);
    descriptor[17] = static_cast<char>(field.decimals);
    out += descriptor;
  }
  out.push_back('\x0D');
  Write(out);

  if (!memoPath.empty()) {
    memo_ = std::make_unique<FileOutputStream>(memoPath);
    memo_->Write(std::string(kMemoBlock, '\0'));
    nextBlock_ = 1;
  }
}

void TVantrixDBFWriter::WriteRecord(std::string_view record) {
  Write(record);
  ++records_;
}

uint32_t TVantrixDBFWriter::WriteMemo(std::string_view bytes) {
  const uint32_t first = nextBlock_;
  std::string block(bytes);
  block.append("\x1A\x1A");
  block.append((kMemoBlock - block.size() % kMemoBlock) % kMemoBlock, '\0');
  memo_->Write(block);
  nextBlock_ += static_cast<uint32_t>(block.size() / kMemoBlock);
  return first;
}

void TVantrixDBFWriter::Finish(bool complete) {
  Write("\x1A");
  if (!complete) {
    memo_.reset();
    return;
  }
  if (!Stream().Patch(4, U32(records_)))
    throw EVantrixError("The dBase table's record count cannot be written: its output cannot go back");
  if (memo_) {
    memo_->Patch(0, U32(nextBlock_));
    memo_->Commit();
    memo_.reset();
  }
}

}  // namespace vantrix
