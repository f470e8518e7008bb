#include "sample_workbook.h"

#include <memory>
#include <vector>

#include "export/xls/biff_record.h"
#include "export/xls/col_info.h"
#include "export/xls/compound_file.h"
#include "export/xls/sst_strings.h"
#include "export/xls/xls_format_lists.h"

namespace xlstest {
namespace {

using namespace vantrix;

void WriteRecord(TxlsStream& s, uint16_t id, const std::vector<uint8_t>& body) {
  TbiffRecord(nullptr, id, body).Save(&s);
}

std::vector<uint8_t> Words(std::initializer_list<uint16_t> words) {
  std::vector<uint8_t> body;
  for (uint16_t w : words) AppendWord(body, w);
  return body;
}

void WriteBOF(TxlsStream& s, uint16_t type) {
  TbiffBOF bof;
  bof.SetVersion(0x0600);
  bof.SetDataType(type);
  bof.SetBuildID(0x0DBB);
  bof.SetBuildYear(0x07CC);
  bof.SetLowVersion(0x0206);
  bof.Save(&s);
}

std::vector<uint8_t> WriteAccess() {
  std::vector<uint8_t> body(112, 0x20);
  const std::string name = "Tervana 3.40";
  SetWord(body, 0, static_cast<uint16_t>(name.size()));
  body[2] = 0;
  std::copy(name.begin(), name.end(), body.begin() + 3);
  return body;
}

void WriteLabel(TxlsStream& s, uint16_t row, uint16_t col, uint16_t xf, uint32_t sst) {
  std::vector<uint8_t> body = Words({row, col, xf});
  AppendInteger(body, sst);
  WriteRecord(s, 0x00FD, body);
}

}  // namespace

std::u16string LongText() {
  std::u16string text;
  const std::u16string pieces[] = {u"0123456789", u"abcdefghij", u"\u00E7\u00E3o \u00E9 \u03A9\u4E2D\u00B0"};
  for (int i = 0; text.size() < 12000; ++i) text += pieces[i % 3];
  text.resize(12000);
  return text;
}

void WriteSampleWorkbook(const std::string& path) {
  auto file = CreateXLSStream(path);
  TxlsStream& s = file->Stream();

  // The first globals.
  WriteBOF(s, 0x0005);
  WriteRecord(s, 0x005C, WriteAccess());
  WriteRecord(s, 0x0042, Words({1252}));
  for (const auto& [id, value] : std::vector<std::pair<uint16_t, uint16_t>>{
           {0x0161, 0}, {0x009C, 14}, {0x0019, 0}, {0x0012, 0}, {0x0013, 0}, {0x01AF, 0}, {0x01BC, 0}})
    WriteRecord(s, id, Words({value}));
  WriteRecord(s, 0x003D, Words({120, 120, 23820, 15720, 0x0038, 0, 0, 1, 600}));
  for (const auto& [id, value] : std::vector<std::pair<uint16_t, uint16_t>>{
           {0x0040, 0}, {0x008D, 0}, {0x0022, 0}, {0x000E, 1}, {0x01B7, 0}, {0x00DA, 0}})
    WriteRecord(s, id, Words({value}));
  const uint64_t splice = s.Position();
  TbiffEOF().Save(&s);

  // What the sheet's cells collect: a bold red underlined font, the number format "0.00",
  // and one XF with both and a thin bottom border.
  TxlsFontList fonts;
  TxlsTextFormatList textFormats;
  TxlsXFormatList xfs;
  auto font = std::make_unique<TxlsFont>();
  font->Style = {xfsBold};
  font->Color = clrRed;
  font->Underline = fulSingle;
  font->FontIndex = 5;
  TxlsFont* boldRed = fonts.Add(std::move(font));
  auto format = std::make_unique<TxlsTextFormat>();
  format->FormatText = u"0.00";
  format->FormatIndex = 50;
  TxlsTextFormat* twoDecimals = textFormats.Add(std::move(format));
  auto xf = std::make_unique<TxlsXFormat>(boldRed, twoDecimals);
  xf->XFIndex = 16;
  xf->Borders.Bottom.Style = bstThin;
  xfs.Add(std::move(xf));

  // The sheet.
  TsstStrings sst;
  const uint64_t sheetBOF = s.Position();
  WriteBOF(s, 0x0010);
  WriteRecord(s, 0x0055, Words({8}));
  TxlsColInfoList columns;
  for (uint16_t c = 0; c < 3; ++c) columns.Add(std::make_unique<TxlsColInfo>(c, 12 * 256, 15, 0));
  columns.Save(s);
  const uint64_t dimensions = s.Position();
  WriteRecord(s, 0x0200, std::vector<uint8_t>(14, 0));
  WriteLabel(s, 0, 0, 15, sst.AddString(kLabel));
  std::vector<uint8_t> number = Words({0, 1, 16});
  AppendDouble(number, kNumber);
  WriteRecord(s, 0x0203, number);
  WriteLabel(s, 1, 0, 15, sst.AddString(LongText()));
  WriteLabel(s, 2, 2, 15, sst.AddString(kLabel));
  WriteRecord(s, 0x023E, Words({0x06B6, 0, 0, 0, 0, 0, 0, 0, 0}));
  TbiffEOF().Save(&s);

  // The used range: rows 0..2, columns 0..2.
  const uint64_t end = s.Position();
  s.Seek(dimensions + 4);
  std::vector<uint8_t> range;
  AppendInteger(range, 0);
  AppendInteger(range, 3);
  AppendWord(range, 0);
  AppendWord(range, 3);
  s.Write(range);
  s.Seek(end);

  // The globals' second half.
  TxlsMemoryStream inset;
  const TxlsFont defaultFont;
  for (int i = 0; i < 4; ++i) {
    TbiffFont record(defaultFont.BinarySize());
    defaultFont.AssignToBinary(record);
    record.Save(&inset);
  }
  TbiffFont fontRecord(boldRed->BinarySize());
  boldRed->AssignToBinary(fontRecord);
  fontRecord.Save(&inset);
  TbiffFormat formatRecord(5 + 2 * twoDecimals->FormatText.size());
  formatRecord.SetID(twoDecimals->FormatIndex);
  formatRecord.SetFormatLen(static_cast<uint16_t>(twoDecimals->FormatText.size()));
  formatRecord.SetFormatOpt(1);
  formatRecord.SetFormat(twoDecimals->FormatText);
  formatRecord.Save(&inset);
  for (const auto& row : kXFTemplates) WriteRecord(inset, biff::kXF, std::vector<uint8_t>(row.begin(), row.end()));
  TbiffXF xfRecord;
  xfs.Get(0)->AssignToBinary(xfRecord);
  xfRecord.Save(&inset);
  const uint16_t styles[6][2] = {{0x8010, 3}, {0x8011, 6}, {0x8012, 4}, {0x8013, 7}, {0x8000, 0}, {0x8014, 5}};
  for (const auto& style : styles) {
    TbiffStyle record;
    SetWord(record.Data(), 0, style[0]);
    SetByte(record.Data(), 2, static_cast<uint8_t>(style[1]));
    SetByte(record.Data(), 3, 0xFF);
    record.Save(&inset);
  }
  std::vector<uint8_t> palette = Words({56});
  for (int index = 8; index < 64; ++index) {
    const uint32_t bgr = XLSDefaultPaletteColor(index);
    for (const uint8_t b : {static_cast<uint8_t>(bgr), static_cast<uint8_t>(bgr >> 8),
                            static_cast<uint8_t>(bgr >> 16), uint8_t{0}})
      palette.push_back(b);
  }
  WriteRecord(inset, 0x0092, palette);
  const std::u16string sheetName = u"Leituras";
  const uint64_t boundSheet = inset.Position();
  TbiffBoundSheet sheetRecord(8 + 2 * sheetName.size());
  sheetRecord.SetNameLen(static_cast<uint8_t>(sheetName.size()));
  sheetRecord.SetNameOpt(1);
  sheetRecord.SetName(sheetName);
  sheetRecord.Save(&inset);
  TbiffCountry country;
  country.SetCountryDef(1);
  country.SetCountryWinIni(1);
  country.Save(&inset);
  sst.Save(inset);

  // The sheet's offset once the inset is in, then the splice.
  inset.Seek(boundSheet + 4);
  inset.WriteInteger(static_cast<uint32_t>(sheetBOF + inset.Size()));
  s.Insert(splice, inset.Bytes().data(), inset.Bytes().size());
  file->Commit();
}

}  // namespace xlstest
