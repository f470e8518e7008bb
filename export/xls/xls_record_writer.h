#pragma once
// Records onto the workbook stream: the id, the body's length and the body. A body is never
// longer than the format's 8,224 bytes (a reader would take the rest for the next record); a
// short write raises "Error writing output file".
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "export/xls/xls_bytes.h"

namespace vantrix {

class TxlsStream;

// Record ids of the workbook and sheet streams (the record objects' own are in biff_record.h).
namespace biffid {
inline constexpr uint16_t kBOF = 0x0809, kEOF = 0x000A, kWriteAccess = 0x005C, kCodePage = 0x0042,
                          kDSF = 0x0161, kFnGroupCount = 0x009C,
                          kWindowProtect = 0x0019, kProtect = 0x0012, kPassword = 0x0013, kProt4Rev = 0x01AF,
                          kProt4RevPass = 0x01BC, kWindow1 = 0x003D, kBackup = 0x0040, kHideObj = 0x008D,
                          kDateMode = 0x0022, kPrecision = 0x000E, kRefreshAll = 0x01B7, kBookBool = 0x00DA,
                          kPalette = 0x0092, kCalcMode = 0x000D, kCalcCount = 0x000C, kRefMode = 0x000F,
                          kIteration = 0x0011, kDelta = 0x0010, kSaveRecalc = 0x005F, kPrintHeaders = 0x002A,
                          kPrintGridlines = 0x002B, kGridSet = 0x0082, kGuts = 0x0080, kDefColWidth = 0x0055,
                          kDefaultRowHeight = 0x0225, kWsBool = 0x0081, kHeader = 0x0014, kFooter = 0x0015,
                          kHCenter = 0x0083, kVCenter = 0x0084, kBitmap = 0x00E9, kContinue = 0x003C,
                          kColInfo = 0x007D, kDimensions = 0x0200, kLabelSST = 0x00FD, kNumber = 0x0203,
                          kBoolErr = 0x0205, kBlank = 0x0201, kFormula = 0x0006, kMergedCells = 0x00E5,
                          kWindow2 = 0x023E, kSelection = 0x001D, kHLink = 0x01B8, kHLinkTooltip = 0x0800;
// The BOF's kinds of substream.
inline constexpr uint16_t kBOFGlobals = 0x0005, kBOFWorksheet = 0x0010, kBOFChart = 0x0020;
}  // namespace biffid

class TxlsRecordWriter {
 public:
  // The largest record body a BIFF8 reader takes.
  static constexpr size_t kMaxBody = 8224;

  explicit TxlsRecordWriter(TxlsStream& stream) : stream_(stream) {}
  TxlsStream& Stream() const { return stream_; }

  // Raises ExlsFileError for a body over kMaxBody: the writer's own fault, never the data's.
  void WriteRecord(uint16_t id, TxlsConstBytes body);
  void WriteRecord(uint16_t id, std::initializer_list<uint8_t> body) { WriteRecord(id, TxlsConstBytes(body.begin(), body.size())); }
  // A record whose body is one 16-bit value.
  void WriteWordRecord(uint16_t id, uint16_t value);
  // BOF of a substream: BIFF8, the kind, build 0x0DBB of 1996, no history flags, lowest
  // version 6.
  void WriteBOF(uint16_t type);
  void WriteEOF() { WriteRecord(biffid::kEOF, TxlsConstBytes()); }

 private:
  TxlsStream& stream_;
};

}  // namespace vantrix
