#include "export/xls/xls_globals_writer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "export/xls/biff_record.h"
#include "export/xls/vantrix3_xls.h"
#include "export/xls/xls_export_run.h"

namespace vantrix {
namespace {

// XF index (0x8000: a built-in style) and built-in style id of the six STYLE records.
constexpr uint16_t kStyles[6][2] = {{0x8010, 3}, {0x8011, 6}, {0x8012, 4}, {0x8013, 7}, {0x8000, 0}, {0x8014, 5}};

}  // namespace

void TxlsGlobalsWriter::WriteGlobals() {
  TxlsRecordWriter& w = run_.Records;
  w.WriteBOF(biffid::kBOFGlobals);
  WriteWriteAccess();
  w.WriteWordRecord(biffid::kCodePage, 1252);
  w.WriteWordRecord(biffid::kDSF, 0);
  w.WriteWordRecord(biffid::kFnGroupCount, 14);
  w.WriteWordRecord(biffid::kWindowProtect, 0);
  w.WriteWordRecord(biffid::kProtect, 0);
  w.WriteWordRecord(biffid::kPassword, 0);
  w.WriteWordRecord(biffid::kProt4Rev, 0);
  w.WriteWordRecord(biffid::kProt4RevPass, 0);
  WriteWindow1();
  w.WriteWordRecord(biffid::kBackup, 0);
  w.WriteWordRecord(biffid::kHideObj, 0);
  w.WriteWordRecord(biffid::kDateMode, 0);  // days counted from 1900
  w.WriteWordRecord(biffid::kPrecision, 1);
  w.WriteWordRecord(biffid::kRefreshAll, 0);
  w.WriteWordRecord(biffid::kBookBool, 0);
  run_.SplicePoint = run_.Stream().Position();
  w.WriteEOF();
}

void TxlsGlobalsWriter::WriteWriteAccess() {
  uint8_t body[112];
  std::memset(body, 0x20, sizeof body);
  const std::string name = std::string(kWriterName) + " " + kWriterVersion;
  SetWord(body, 0, static_cast<uint16_t>(name.size()));
  body[2] = 0;  // 8-bit characters
  std::memcpy(body + 3, name.data(), name.size());
  run_.Records.WriteRecord(biffid::kWriteAccess, body);
}

void TxlsGlobalsWriter::WriteWindow1() {
  uint8_t body[18];
  const uint16_t values[9] = {120, 120, 23820, 15720, 0x0038, 0, 0, 1, 600};
  for (size_t i = 0; i < 9; ++i) SetWord(body, 2 * i, values[i]);
  run_.Records.WriteRecord(biffid::kWindow1, body);
}

void TxlsGlobalsWriter::PatchDimensions() {
  TxlsStream& s = run_.Stream();
  const uint64_t end = s.Position();
  for (size_t i = 0; i < run_.BoundSheets.Count(); ++i) {
    const TxlsBoundSheet& b = *run_.BoundSheets.Get(i);
    // A sheet without any cell keeps the range written at its start.
    if (!b.Extent.Known()) continue;
    s.Seek(b.DimensionsPosition + 4);
    s.WriteInteger(static_cast<uint32_t>(b.Extent.FirstRow));
    s.WriteInteger(static_cast<uint32_t>(b.Extent.LastRow + 1));
    s.WriteWord(static_cast<uint16_t>(b.Extent.FirstCol));
    s.WriteWord(static_cast<uint16_t>(b.Extent.LastCol + 1));
  }
  s.Seek(end);
}

void TxlsGlobalsWriter::WriteFormats(TxlsStream& inset) {
  const TxlsXFRegistry& r = run_.Registry;
  const TxlsFont defaultFont;
  auto writeFont = [&inset](const TxlsFont& font) {
    TbiffFont record(font.BinarySize());
    font.AssignToBinary(record);
    record.Save(&inset);
  };
  for (int i = 0; i < 4; ++i) writeFont(defaultFont);
  for (size_t i = 0; i < r.Fonts.Count(); ++i) writeFont(*r.Fonts.Get(i));

  for (size_t i = 0; i < r.TextFormats.Count(); ++i) {
    const TxlsTextFormat& f = *r.TextFormats.Get(i);
    TbiffFormat record(5 + 2 * f.FormatText.size());
    record.SetID(f.FormatIndex);
    record.SetFormatLen(static_cast<uint16_t>(f.FormatText.size()));
    record.SetFormatOpt(1);
    record.SetFormat(f.FormatText);
    record.Save(&inset);
  }

  for (const auto& row : kXFTemplates) TbiffRecord(nullptr, biff::kXF, std::vector<uint8_t>(row.begin(), row.end())).Save(&inset);
  for (size_t i = 0; i < r.XFormats.Count(); ++i) {
    TbiffXF record;
    r.XFormats.Get(i)->AssignToBinary(record);
    record.Save(&inset);
  }

  for (const auto& style : kStyles) {
    TbiffStyle record;
    SetWord(record.Data(), 0, style[0]);
    SetByte(record.Data(), 2, static_cast<uint8_t>(style[1]));
    SetByte(record.Data(), 3, 0xFF);
    record.Save(&inset);
  }
}

void TxlsGlobalsWriter::WritePalette(TxlsStream& inset) {
  std::vector<uint8_t> body;
  AppendWord(body, 56);
  for (int index = 8; index < 64; ++index) {
    const int extended = index - kFirstExtendedPaletteIndex;
    const uint32_t bgr = extended >= 0 && extended < TVantrix3XLS::kExtendedColors
                             ? run_.Component.ExtendedColor(extended)
                             : XLSDefaultPaletteColor(index);
    for (const uint8_t b : {static_cast<uint8_t>(bgr), static_cast<uint8_t>(bgr >> 8), static_cast<uint8_t>(bgr >> 16),
                            uint8_t{0}})
      body.push_back(b);
  }
  TbiffRecord(nullptr, biffid::kPalette, std::move(body)).Save(&inset);
}

void TxlsGlobalsWriter::WriteBoundSheets(TxlsStream& inset) {
  for (size_t i = 0; i < run_.BoundSheets.Count(); ++i) {
    TxlsBoundSheet& b = *run_.BoundSheets.Get(i);
    b.BoundSheetPosition = inset.Position();
    TbiffBoundSheet record(8 + 2 * b.Name.size());
    record.SetNameLen(static_cast<uint8_t>(b.Name.size()));
    record.SetNameOpt(1);
    record.SetName(b.Name);
    record.Save(&inset);
  }
}

void TxlsGlobalsWriter::WriteGlobalInset() {
  PatchDimensions();
  TxlsMemoryStream inset;
  WriteFormats(inset);
  WritePalette(inset);
  WriteBoundSheets(inset);
  TbiffCountry country;
  country.SetCountryDef(1);
  country.SetCountryWinIni(1);
  country.Save(&inset);
  WriteExternalReferences(inset);
  WriteDrawingGroup(inset);
  run_.SST.Save(inset);

  // The sheets' offsets once the inset is in before them.
  for (size_t i = 0; i < run_.BoundSheets.Count(); ++i) {
    const TxlsBoundSheet& b = *run_.BoundSheets.Get(i);
    inset.Seek(b.BoundSheetPosition + 4);
    inset.WriteInteger(static_cast<uint32_t>(b.BOFPosition + inset.Size()));
  }
  run_.Stream().Insert(run_.SplicePoint, inset.Bytes().data(), inset.Bytes().size());
  run_.Stream().Seek(run_.Stream().Size());
}

}  // namespace vantrix
