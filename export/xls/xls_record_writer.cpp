#include "export/xls/xls_record_writer.h"

#include <cstdio>
#include <cstring>

#include "export/xls/xls_error.h"
#include "export/xls/xls_stream.h"

namespace vantrix {

void TxlsRecordWriter::WriteRecord(uint16_t id, TxlsConstBytes body) {
  if (body.size() > kMaxBody)
  {
    char text[96];
    std::snprintf(text, sizeof text, "Record 0x%04X of %zu bytes passes the workbook's record limit", id, body.size());
    throw ExlsFileError(text);
  }
  // Small records (every cell) go out in one write with their header.
  uint8_t buffer[64];
  const auto size = static_cast<uint16_t>(body.size());
  buffer[0] = static_cast<uint8_t>(id);
  buffer[1] = static_cast<uint8_t>(id >> 8);
  buffer[2] = static_cast<uint8_t>(size);
  buffer[3] = static_cast<uint8_t>(size >> 8);
  if (body.size() + 4 <= sizeof buffer) {
    if (!body.empty()) std::memcpy(buffer + 4, body.data(), body.size());
    stream_.Write(buffer, body.size() + 4);
    return;
  }
  stream_.Write(buffer, 4);
  stream_.Write(body.data(), body.size());
}

void TxlsRecordWriter::WriteWordRecord(uint16_t id, uint16_t value) {
  WriteRecord(id, {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
}

void TxlsRecordWriter::WriteBOF(uint16_t type) {
  uint8_t body[16] = {};
  SetWord(body, 0, 0x0600);
  SetWord(body, 2, type);
  SetWord(body, 4, 0x0DBB);
  SetWord(body, 6, 0x07CC);
  SetInteger(body, 8, 0);
  SetInteger(body, 12, 0x0206);
  WriteRecord(biffid::kBOF, body);
}

}  // namespace vantrix
