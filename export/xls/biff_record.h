#pragma once
// BIFF8 record objects: a record id and a body held in a buffer, with typed access to the
// body's fields (every access checked against the body), saved as the id, the length and
// the body, a long body split into CONTINUE records. The workbook writer builds the globals'
// FONT, FORMAT, XF, STYLE, BOUNDSHEET, COUNTRY, SUPBOOK and EXTERNSHEET records through these;
// the reading side derives its record classes from TbiffRecord.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "export/xls/xls_bytes.h"
#include "export/xls/xls_utils.h"

namespace vantrix {

class TxlsStream;
class TxlsSection;  // a part of a workbook being read (reading side); null when writing
class TbiffContinue;

// Record ids the writer and the reader share.
namespace biff {
inline constexpr uint16_t kBOF = 0x0809, kEOF = 0x000A, kBoundSheet = 0x0085, kCountry = 0x008C,
                          kFont = 0x0031, kXF = 0x00E0, kFormat = 0x041E, kStyle = 0x0293,
                          kSupbook = 0x01AE, kExternSheet = 0x0017, kContinue = 0x003C, kColInfo = 0x007D,
                          kSST = 0x00FC;
// A body longer than this goes on in CONTINUE records.
inline constexpr size_t kMaxChunk = 8220;
// The longest body a record of a file may have.
inline constexpr size_t kMaxRecordBody = 8224;
}  // namespace biff

class TbiffRecord {
 public:
  using TDestroyEvent = std::function<void(TbiffRecord& record)>;

  // The body passes into the record's keeping.
  TbiffRecord(TxlsSection* section, uint16_t id, std::vector<uint8_t> data);
  virtual ~TbiffRecord();
  TbiffRecord(const TbiffRecord&) = delete;
  TbiffRecord& operator=(const TbiffRecord&) = delete;

  TxlsSection* Section() const { return section_; }
  uint16_t Id() const { return id_; }
  size_t DataSize() const { return data_.size(); }
  TxlsBytes Data() { return data_; }
  TxlsConstBytes Data() const { return data_; }

  // The body length that Save writes (the drawing group's is 32 bits).
  virtual uint32_t GetDataSize() const { return static_cast<uint32_t>(data_.size()); }
  // The bytes Save writes: every record header, the body and the attached continuation.
  virtual uint64_t GetTotalSize() const;
  // Id, length and body; a body longer than 8220 bytes goes on in CONTINUE records of at most
  // 8220 bytes each (a body read whole stays whole, see KeepWhole); then the attached
  // continuation. A null stream writes nothing.
  virtual void Save(TxlsStream* stream) const;
  // Zeroes the body.
  virtual void Clear();

  // Attaches the continuation of the body (as read from a file); a second one raises
  // ExlsFileError.
  void AddContinue(std::unique_ptr<TbiffContinue> record);
  // Appends a continuation at the end of the chain, however long it is already: a table of
  // shared strings may go on over hundreds of CONTINUE records.
  void ChainContinue(std::unique_ptr<TbiffContinue> record);
  TbiffContinue* Continue() const { return continue_.get(); }
  // A body read from a file is written back in one record, as it was read: it holds at most
  // 8224 bytes, and splitting it at the writer's 8220 would start a CONTINUE inside a
  // character or a structure that readers expect whole.
  void KeepWhole() { keepWhole_ = true; }

  // Called first when the record is destroyed.
  TDestroyEvent OnDestroy;

 protected:
  uint8_t Byte(size_t at) const { return GetByte(data_, at); }
  uint16_t Word(size_t at) const { return GetWord(data_, at); }
  uint32_t Integer(size_t at) const { return GetInteger(data_, at); }
  double Double(size_t at) const { return GetDouble(data_, at); }
  void SetByteAt(size_t at, uint8_t v) { SetByte(data_, at, v); }
  void SetWordAt(size_t at, uint16_t v) { SetWord(data_, at, v); }
  void SetIntegerAt(size_t at, uint32_t v) { SetInteger(data_, at, v); }
  void SetDoubleAt(size_t at, double v) { SetDouble(data_, at, v); }
  // Saves the body alone, without the attached continuation.
  void SaveBody(TxlsStream& stream) const;
  uint64_t BodyTotalSize() const;
  // The attached continuations, written after a body a subclass wrote itself, and their size.
  void SaveContinues(TxlsStream& stream) const;
  uint64_t ContinuesTotalSize() const;
  // count characters at the offset: UTF-16 when wide, else 8-bit (low bytes); characters the
  // text lacks are written as zeros.
  WideString GetChars(size_t at, size_t count, bool wide) const;
  void SetChars(size_t at, size_t count, bool wide, std::u16string_view text);

 private:
  TxlsSection* section_;
  uint16_t id_;
  std::vector<uint8_t> data_;
  std::unique_ptr<TbiffContinue> continue_;
  TbiffRecord* chainEnd_ = this;  // where ChainContinue appends
  bool keepWhole_ = false;
};

class TbiffContinue : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;
  explicit TbiffContinue(std::vector<uint8_t> data) : TbiffRecord(nullptr, biff::kContinue, std::move(data)) {}
};

// Each typed record below has the general constructor and one that makes a zeroed body of
// the given size under the class's own id, outside any workbook being read.

class TbiffBOF : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;
  explicit TbiffBOF(size_t size = 16) : TbiffRecord(nullptr, biff::kBOF, std::vector<uint8_t>(size)) {}
  uint16_t Version() const { return Word(0); }
  void SetVersion(uint16_t v) { SetWordAt(0, v); }
  uint16_t DataType() const { return Word(2); }
  void SetDataType(uint16_t v) { SetWordAt(2, v); }
  uint16_t BuildID() const { return Word(4); }
  void SetBuildID(uint16_t v) { SetWordAt(4, v); }
  uint16_t BuildYear() const { return Word(6); }
  void SetBuildYear(uint16_t v) { SetWordAt(6, v); }
  uint32_t HistoryFlags() const { return Integer(8); }
  void SetHistoryFlags(uint32_t v) { SetIntegerAt(8, v); }
  uint32_t LowVersion() const { return Integer(12); }
  void SetLowVersion(uint32_t v) { SetIntegerAt(12, v); }
};

class TbiffEOF : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;
  TbiffEOF() : TbiffRecord(nullptr, biff::kEOF, {}) {}
};

class TbiffBoundSheet : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;
  explicit TbiffBoundSheet(size_t size) : TbiffRecord(nullptr, biff::kBoundSheet, std::vector<uint8_t>(size)) {}
  uint32_t BOFPos() const { return Integer(0); }
  void SetBOFPos(uint32_t v) { SetIntegerAt(0, v); }
  uint8_t Visibility() const { return Byte(4); }
  void SetVisibility(uint8_t v) { SetByteAt(4, v); }
  uint8_t SheetType() const { return Byte(5); }
  void SetSheetType(uint8_t v) { SetByteAt(5, v); }
  uint8_t NameLen() const { return Byte(6); }
  void SetNameLen(uint8_t v) { SetByteAt(6, v); }
  uint8_t NameOpt() const { return Byte(7); }
  void SetNameOpt(uint8_t v) { SetByteAt(7, v); }
  // NameLen characters from offset 8, UTF-16 when NameOpt is 1, else 8-bit: set NameLen and
  // NameOpt first.
  WideString Name() const { return GetChars(8, NameLen(), NameOpt() != 0); }
  void SetName(std::u16string_view name) { SetChars(8, NameLen(), NameOpt() != 0, name); }
};

class TbiffCountry : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;
  TbiffCountry() : TbiffRecord(nullptr, biff::kCountry, std::vector<uint8_t>(4)) {}
  uint16_t CountryDef() const { return Word(0); }
  void SetCountryDef(uint16_t v) { SetWordAt(0, v); }
  uint16_t CountryWinIni() const { return Word(2); }
  void SetCountryWinIni(uint16_t v) { SetWordAt(2, v); }
};

class TbiffFont : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;
  explicit TbiffFont(size_t size) : TbiffRecord(nullptr, biff::kFont, std::vector<uint8_t>(size)) {}
  uint16_t Height() const { return Word(0); }
  void SetHeight(uint16_t v) { SetWordAt(0, v); }
  uint16_t Option() const { return Word(2); }
  void SetOption(uint16_t v) { SetWordAt(2, v); }
  uint16_t PaletteIndex() const { return Word(4); }
  void SetPaletteIndex(uint16_t v) { SetWordAt(4, v); }
  uint16_t Boldness() const { return Word(6); }
  void SetBoldness(uint16_t v) { SetWordAt(6, v); }
  uint16_t Script() const { return Word(8); }
  void SetScript(uint16_t v) { SetWordAt(8, v); }
  uint8_t Underline() const { return Byte(10); }
  void SetUnderline(uint8_t v) { SetByteAt(10, v); }
  uint8_t Family() const { return Byte(11); }
  void SetFamily(uint8_t v) { SetByteAt(11, v); }
  uint8_t Charset() const { return Byte(12); }
  void SetCharset(uint8_t v) { SetByteAt(12, v); }
  uint8_t NotUsed() const { return Byte(13); }
  void SetNotUsed(uint8_t v) { SetByteAt(13, v); }
  uint8_t NameLen() const { return Byte(14); }
  void SetNameLen(uint8_t v) { SetByteAt(14, v); }
  uint8_t NameOpt() const { return Byte(15); }
  void SetNameOpt(uint8_t v) { SetByteAt(15, v); }
  WideString Name() const { return GetChars(16, NameLen(), NameOpt() != 0); }
  void SetName(std::u16string_view name) { SetChars(16, NameLen(), NameOpt() != 0, name); }
};

class TbiffXF : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;
  TbiffXF() : TbiffRecord(nullptr, biff::kXF, std::vector<uint8_t>(20)) {}
  uint16_t FontIndex() const { return Word(0); }
  void SetFontIndex(uint16_t v) { SetWordAt(0, v); }
  uint16_t FormatIndex() const { return Word(2); }
  void SetFormatIndex(uint16_t v) { SetWordAt(2, v); }
  uint16_t Data1() const { return Word(4); }
  void SetData1(uint16_t v) { SetWordAt(4, v); }
  uint16_t Data2() const { return Word(6); }
  void SetData2(uint16_t v) { SetWordAt(6, v); }
  uint16_t Data3() const { return Word(8); }
  void SetData3(uint16_t v) { SetWordAt(8, v); }
  uint16_t Data4() const { return Word(10); }
  void SetData4(uint16_t v) { SetWordAt(10, v); }
  uint16_t Data5() const { return Word(12); }
  void SetData5(uint16_t v) { SetWordAt(12, v); }
  uint32_t Data6() const { return Integer(14); }
  void SetData6(uint32_t v) { SetIntegerAt(14, v); }
  uint16_t Data7() const { return Word(18); }
  void SetData7(uint16_t v) { SetWordAt(18, v); }
};

class TbiffFormat : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;
  explicit TbiffFormat(size_t size) : TbiffRecord(nullptr, biff::kFormat, std::vector<uint8_t>(size)) {}
  uint16_t ID() const { return Word(0); }
  void SetID(uint16_t v) { SetWordAt(0, v); }
  uint16_t FormatLen() const { return Word(2); }
  void SetFormatLen(uint16_t v) { SetWordAt(2, v); }
  uint8_t FormatOpt() const { return Byte(4); }
  void SetFormatOpt(uint8_t v) { SetByteAt(4, v); }
  // FormatLen characters from offset 5: 8-bit when FormatOpt is 0, UTF-16 when it is 1; the
  // setter writes nothing for any other option. Set FormatLen and FormatOpt first.
  WideString Format() const;
  void SetFormat(std::u16string_view text);
};

class TbiffStyle : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;
  TbiffStyle() : TbiffRecord(nullptr, biff::kStyle, std::vector<uint8_t>(4)) {}
};

class TbiffSupbookInternal : public TbiffRecord {
 public:
  // Writes the internal-reference mark 0x0401 at offset 2.
  TbiffSupbookInternal(TxlsSection* section, uint16_t id, std::vector<uint8_t> data);
  explicit TbiffSupbookInternal(uint16_t sheetCount);
  uint16_t SheetCount() const { return Word(0); }
  void SetSheetCount(uint16_t v) { SetWordAt(0, v); }
};

class TbiffExternSheet : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;
  uint16_t RefCount() const { return Word(0); }
  void SetRefCount(uint16_t v) { SetWordAt(0, v); }
};

}  // namespace vantrix
