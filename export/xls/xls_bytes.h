#pragma once
// Little-endian access to record bodies over checked spans: every read and write names the
// buffer it touches, and one that would reach past its end raises ExlsFileError instead of
// touching memory that is not the record's. Records are built field by field through these.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "export/xls/xls_error.h"

namespace vantrix {

using TxlsBytes = std::span<uint8_t>;
using TxlsConstBytes = std::span<const uint8_t>;

// Raises ExlsFileError unless [index, index + width) lies inside a buffer of that size.
void CheckByteRange(size_t size, size_t index, size_t width);

uint8_t GetByte(TxlsConstBytes data, size_t index);
uint16_t GetWord(TxlsConstBytes data, size_t index);
uint32_t GetInteger(TxlsConstBytes data, size_t index);
double GetDouble(TxlsConstBytes data, size_t index);
void SetByte(TxlsBytes data, size_t index, uint8_t value);
void SetWord(TxlsBytes data, size_t index, uint16_t value);
void SetInteger(TxlsBytes data, size_t index, uint32_t value);
void SetDouble(TxlsBytes data, size_t index, double value);

// Appending writers for bodies whose length is found while they are built.
void AppendByte(std::vector<uint8_t>& out, uint8_t value);
void AppendWord(std::vector<uint8_t>& out, uint16_t value);
void AppendInteger(std::vector<uint8_t>& out, uint32_t value);
void AppendDouble(std::vector<uint8_t>& out, double value);

// The 8-byte header of an Office-drawing record: Instance × 16 + Version (16 bits), the
// record type (16 bits), the body length (32 bits).
void WriteMSOHeaderToByteArray(uint16_t recType, uint16_t version, uint16_t instance, uint32_t length,
                               TxlsBytes data, size_t& position);
void AppendMSOHeader(std::vector<uint8_t>& out, uint16_t recType, uint16_t version, uint16_t instance,
                     uint32_t length);

// Where a drawing (a note box, a picture, a chart) sits on the sheet: the cell of its top
// left and bottom right corners with the offsets inside them (columns in 1/1024 of the
// column's width, rows in 1/256 of the row's height). Serialised as 18 bytes, Flags first.
struct TMSO_Anchor {
  uint16_t Flags = 0;
  uint16_t Col1 = 0, Dx1 = 0, Row1 = 0, Dy1 = 0;
  uint16_t Col2 = 0, Dx2 = 0, Row2 = 0, Dy2 = 0;
  bool operator==(const TMSO_Anchor&) const = default;
};

}  // namespace vantrix
