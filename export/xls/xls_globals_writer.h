#pragma once
// The workbook globals. Fonts, number formats, XFs, shared strings and the sheets' places are
// known only once every sheet is written, so the globals go in two halves: the first before
// the sheets, the second (the inset) built in memory after them and spliced in before the
// globals' EOF, with the sheets' used ranges and offsets patched.
#include <cstdint>

namespace vantrix {

class TxlsExportRun;
class TxlsStream;

class TxlsGlobalsWriter {
 public:
  // The writing product named in WRITEACCESS, and its version.
  static constexpr const char* kWriterName = "Tervana";
  static constexpr const char* kWriterVersion = "3.40";

  explicit TxlsGlobalsWriter(TxlsExportRun& run) : run_(run) {}

  // BOF to BOOKBOOL, then the splice point and EOF.
  void WriteGlobals();
  // The sheets' DIMENSIONS patched; FONT, FORMAT, XF, STYLE, PALETTE, BOUNDSHEET, COUNTRY,
  // the drawing layer's references and drawing group, SST; the sheets' offsets; the splice.
  void WriteGlobalInset();

 private:
  void WriteWriteAccess();
  void WriteWindow1();
  void PatchDimensions();
  void WriteFormats(TxlsStream& inset);
  void WritePalette(TxlsStream& inset);
  void WriteBoundSheets(TxlsStream& inset);
  // SUPBOOK and EXTERNSHEET for charts, MSODRAWINGGROUP for every drawing: the drawing
  // layer's.
  void WriteExternalReferences(TxlsStream& inset);
  void WriteDrawingGroup(TxlsStream& inset);

  TxlsExportRun& run_;
};

}  // namespace vantrix
