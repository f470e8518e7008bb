// The writer's bytes: RK numbers, A1 letters, checked record access, texts between code page
// 1252 and UTF-16, records split into CONTINUE records, COLINFO records, and FONT and XF
// bodies against golden bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "export/xls/biff_record.h"
#include "export/xls/col_info.h"
#include "export/xls/xls_stream.h"
#include "export/xls/xls_xformat.h"

namespace {

using namespace vantrix;
using Bytes = std::vector<uint8_t>;

uint16_t Word(const Bytes& b, size_t at) { return static_cast<uint16_t>(b.at(at) | (b.at(at + 1) << 8)); }
uint32_t Long(const Bytes& b, size_t at) { return Word(b, at) | (static_cast<uint32_t>(Word(b, at + 2)) << 16); }

TEST(Bytes, EncodeRKTriesTheFloatingFormFirstForEachMultiplier) {
  struct Case {
    double value;
    uint32_t rk;
  };
  // Hundredths go as a double when that has room (1.23: 123.0, flag 1), else as the whole
  // number of hundredths with bits 0 and 1 both set (12345.67: 1234567), up to 30 bits.
  for (const Case& c : {Case{1.5, 0x3FF80000}, Case{5, 0x40140000}, Case{0.01, 0x3FF00001},
                        Case{123456789, 0x1D6F3456}, Case{-7, 0xC01C0000},
                        Case{-123456789, (static_cast<uint32_t>(-123456789) << 2) | 2}, Case{0, 0},
                        Case{1.23, 0x405EC001}, Case{12345.67, 0x4B5A1F},
                        Case{-12345.67, (static_cast<uint32_t>(-1234567) << 2) | 3},
                        Case{5368709.09, 0x7FFFFFF7}}) {
    uint32_t rk = 0xDEADBEEF;
    EXPECT_TRUE(EncodeRK(c.value, rk)) << c.value;
    EXPECT_EQ(rk, c.rk) << c.value;
  }
  uint32_t rk = 0;
  EXPECT_FALSE(EncodeRK(1.0 / 3, rk));
  EXPECT_FALSE(EncodeRK(5368709.13, rk));  // 536,870,913 hundredths need more than 30 bits
}

TEST(Bytes, ColumnLettersBothWays) {
  EXPECT_EQ(Col2Letter(1), "A");
  EXPECT_EQ(Col2Letter(26), "Z");
  EXPECT_EQ(Col2Letter(27), "AA");
  EXPECT_EQ(Col2Letter(256), "IV");
  EXPECT_EQ(Col2Letter(702), "ZZ");
  EXPECT_EQ(Col2Letter(0), "");
  EXPECT_EQ(Col2Letter(703), "");
  for (int col = 1; col <= 702; ++col) EXPECT_EQ(Letter2Col(Col2Letter(col)), col) << col;
  EXPECT_EQ(Letter2Col("iv"), 256);
  EXPECT_EQ(Letter2Col(""), 0);
  EXPECT_EQ(Letter2Col("A1"), 0);
  EXPECT_EQ(Number2Row(Row2Number(65536)), 65536);
  EXPECT_EQ(Number2Row("12a"), 0);
  EXPECT_EQ(ErrCodeToString(7), "#DIV/0!");
  EXPECT_EQ(ErrCodeToString(99), "#NULL!");
  EXPECT_EQ(StringToErrCode("#N/A"), 42);
  EXPECT_THROW(StringToErrCode("#OOPS"), ExlsFileError);
}

TEST(Bytes, AccessPastABufferRaisesInsteadOfTouchingIt) {
  Bytes body(6, 0);
  SetInteger(body, 2, 0x11223344);
  EXPECT_EQ(GetWord(body, 4), 0x1122);
  EXPECT_THROW(SetWord(body, 5, 1), ExlsFileError);
  EXPECT_THROW(GetInteger(body, 3), ExlsFileError);
  EXPECT_THROW(GetByte(body, 6), ExlsFileError);
  EXPECT_THROW(SetByte(body, std::numeric_limits<size_t>::max(), 1), ExlsFileError);
  EXPECT_EQ(body, (Bytes{0, 0, 0x44, 0x33, 0x22, 0x11}));

  // A field setter checks the body it writes into.
  TbiffFont font(15);
  EXPECT_THROW(font.SetNameOpt(1), ExlsFileError);
}

TEST(Bytes, TextsBetweenCodePageAndUtf16) {
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  const WideString wide = Cp1252ToWide(all);
  EXPECT_EQ(wide[0x80], u'\u20AC');
  EXPECT_EQ(wide[0x9F], u'\u0178');
  EXPECT_EQ(wide[0xE7], u'\u00E7');
  EXPECT_EQ(WideToCp1252(wide), all);
  EXPECT_EQ(WideToCp1252(u"\u4E2D\U0001F600x"), "??x");
  EXPECT_EQ(StringToWideStringNoCodePage("\x80"), std::u16string(1, u'\x80'));
  EXPECT_EQ(WideStringToStringNoCodePage(u"\u0141"), "\x41");
  EXPECT_FALSE(IsWide(u""));
  EXPECT_FALSE(IsWide(u"\u00E7\u00FF"));
  EXPECT_TRUE(IsWide(u"a\u0100"));
  EXPECT_EQ(CompareWideStr(u"zz", u"aaa"), -1);
  EXPECT_EQ(CompareWideStr(u"ab", u"aa"), 1);
  EXPECT_EQ(CompareWideStr(u"ab", u"ab"), 0);

  const Bytes narrow = {0, 'a', 0xE7};
  EXPECT_EQ(ByteArrayToStr(narrow, 0, 2), u"a\u00E7");
  const Bytes wideBody = {1, 0x2D, 0x4E, 'b', 0};
  EXPECT_EQ(ByteArrayToStr(wideBody, 0, 2), u"\u4E2Db");
  EXPECT_THROW(ByteArrayToStr(wideBody, 0, 3), ExlsFileError);
  EXPECT_THROW(ByteArrayToStr(narrow, 0, std::numeric_limits<size_t>::max()), ExlsFileError);
}

// Each record of a saved record: its id and body length.
std::vector<std::pair<uint16_t, uint16_t>> Headers(const Bytes& saved) {
  std::vector<std::pair<uint16_t, uint16_t>> headers;
  for (size_t at = 0; at + 4 <= saved.size();) {
    headers.emplace_back(Word(saved, at), Word(saved, at + 2));
    at += 4 + Word(saved, at + 2);
  }
  return headers;
}

TEST(Bytes, LongBodiesGoOnInContinueRecordsOf8220Bytes) {
  using H = std::vector<std::pair<uint16_t, uint16_t>>;
  struct Case {
    size_t size;
    H headers;
  };
  for (const Case& c : {Case{0, H{{0x00EB, 0}}}, Case{8220, H{{0x00EB, 8220}}},
                        Case{8221, H{{0x00EB, 8220}, {0x003C, 1}}},
                        Case{20000, H{{0x00EB, 8220}, {0x003C, 8220}, {0x003C, 3560}}}}) {
    Bytes body(c.size);
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<uint8_t>(i * 7);
    const TbiffRecord record(nullptr, 0x00EB, body);
    TxlsMemoryStream out;
    record.Save(&out);
    EXPECT_EQ(Headers(out.Bytes()), c.headers) << c.size;
    EXPECT_EQ(out.Size(), record.GetTotalSize()) << c.size;
    Bytes joined;
    for (size_t at = 0; at < out.Size();) {
      const uint16_t length = Word(out.Bytes(), at + 2);
      joined.insert(joined.end(), out.Bytes().begin() + static_cast<long>(at) + 4,
                    out.Bytes().begin() + static_cast<long>(at) + 4 + length);
      at += 4 + length;
    }
    EXPECT_EQ(joined, body) << c.size;
  }
  TbiffRecord(nullptr, 1, Bytes(3)).Save(nullptr);  // a null stream writes nothing
}

TEST(Bytes, ContinuationAttachesOnceAndDestructionIsAnnounced) {
  int destroyed = 0;
  {
    TbiffRecord record(nullptr, 0x00FC, Bytes{1, 2});
    record.OnDestroy = [&](TbiffRecord& r) { destroyed += r.Id() == 0x00FC; };
    record.AddContinue(std::make_unique<TbiffContinue>(Bytes{3}));
    EXPECT_THROW(record.AddContinue(std::make_unique<TbiffContinue>(Bytes{4})), ExlsFileError);
    TxlsMemoryStream out;
    record.Save(&out);
    EXPECT_EQ(out.Bytes(), (Bytes{0xFC, 0, 2, 0, 1, 2, 0x3C, 0, 1, 0, 3}));
    EXPECT_EQ(record.GetTotalSize(), 11u);
  }
  EXPECT_EQ(destroyed, 1);
}

TEST(Bytes, ColumnInfosAreOneFifteenByteRecordPerColumnInColumnOrder) {
  TxlsColInfoList list;
  TxlsMemoryStream empty;
  list.Save(empty);
  EXPECT_EQ(empty.Size(), 0u);

  for (const uint16_t column : {3, 0, 2, 1}) list.Add(std::make_unique<TxlsColInfo>(column, 2853, 15, 0));
  size_t index = 0;
  EXPECT_TRUE(list.Find(2, index));
  EXPECT_EQ(index, 2u);
  EXPECT_FALSE(list.Find(9, index));
  EXPECT_EQ(index, 4u);
  EXPECT_TRUE(list[0]->IsEqual(*list[3]));
  EXPECT_EQ(list.GetTotalSize(), 60u);
  list.Add(std::make_unique<TxlsColInfo>(7, 1, 15, 0));
  EXPECT_FALSE(list.Sorted());
  list.Delete(list.Count() - 1);

  TxlsMemoryStream out;
  list.Save(out);
  ASSERT_EQ(out.Size(), 60u);
  for (uint16_t c = 0; c < 4; ++c) {
    const Bytes record(out.Bytes().begin() + 15 * c, out.Bytes().begin() + 15 * (c + 1));
    EXPECT_EQ(record, (Bytes{0x7D, 0, 11, 0, static_cast<uint8_t>(c), 0, static_cast<uint8_t>(c), 0, 0x25, 0x0B,
                             15, 0, 0, 0, 0}))
        << c;
  }
}

TEST(Bytes, FontBodyOfABoldRedUnderlinedItalicFont) {
  TxlsFont font;
  font.Size = 12;
  font.Style = {xfsBold, xfsItalic, xfsStrikeOut};
  font.Color = clrRed;
  font.Underline = fulDoubleAccounting;
  font.Script = fscSubscript;
  font.Name = u"Verdana";
  TbiffFont record(font.BinarySize());
  font.AssignToBinary(record);
  const Bytes golden = {0xF0, 0x00, 0x0A, 0x00, 0x0A, 0x00, 0xBC, 0x02, 0x02, 0x00, 0x22, 0x00, 0x01, 0x00, 0x07, 0x01,
                        'V', 0, 'e', 0, 'r', 0, 'd', 0, 'a', 0, 'n', 0, 'a', 0};
  EXPECT_EQ(Bytes(record.Data().begin(), record.Data().end()), golden);
  EXPECT_EQ(record.Name(), u"Verdana");

  // The height never wraps: sizes are kept within 1..409 points.
  for (const auto& [size, height] : std::vector<std::pair<int, uint16_t>>{{409, 8180}, {500, 8180}, {3277, 8180},
                                                                          {0, 20}, {-3, 20}}) {
    font.Size = size;
    font.AssignToBinary(record);
    EXPECT_EQ(record.Height(), height) << size;
  }
  TbiffFont tooShort(20);
  EXPECT_THROW(font.AssignToBinary(tooShort), ExlsFileError);
}

Bytes XFBody(const TxlsXFormat& xf) {
  TbiffXF record;
  xf.AssignToBinary(record);
  return Bytes(record.Data().begin(), record.Data().end());
}

TEST(Bytes, XFBodiesOfFillsBordersAndDiagonals) {
  TxlsXFormat plain;
  EXPECT_EQ(XFBody(plain), (Bytes{0x01, 0, 0, 0, 0x01, 0, 0x20, 0, 0, 0x50, 0, 0, 0, 0, 0, 0, 0, 0, 0x09, 0x04}));

  TxlsFont font;
  font.FontIndex = 6;
  TxlsTextFormat format;
  format.FormatIndex = 51;
  TxlsXFormat solid(&font, &format);
  solid.Fill = {clrRed, ptSolid, clrYellow};
  solid.Alignment = {halRight, valCenter};
  solid.Wrap = true;
  solid.Rotation = 90;
  const Bytes b = XFBody(solid);
  EXPECT_EQ(Word(b, 0), 6);
  EXPECT_EQ(Word(b, 2), 51);
  EXPECT_EQ(Word(b, 6), 0x5A00 | 3 | 0x08 | 0x10);
  EXPECT_EQ(Word(b, 8), 0x5800);
  EXPECT_EQ(Long(b, 14), 1u << 26);
  EXPECT_EQ(Word(b, 18), 10 | (13 << 7));

  struct Side {
    TxlsBorder TxlsBorders::*border;
    size_t styleShift;
    size_t colorWord;
    uint32_t colorShift;
  };
  for (const Side& side : {Side{&TxlsBorders::Left, 0, 12, 0}, Side{&TxlsBorders::Right, 4, 12, 7},
                           Side{&TxlsBorders::Top, 8, 14, 0}, Side{&TxlsBorders::Bottom, 12, 14, 7}}) {
    TxlsXFormat xf;
    xf.Borders.*side.border = {bstDouble, clrBlue};
    const Bytes body = XFBody(xf);
    EXPECT_EQ(Word(body, 8), 0x7000);
    EXPECT_EQ(Word(body, 10), 6u << side.styleShift);
    const uint32_t colours = side.colorWord == 12 ? Word(body, 12) : Long(body, 14);
    EXPECT_EQ(colours, 12u << side.colorShift);
  }

  TxlsXFormat up;
  up.Borders.DiagUp = {bstDashed, clrGreen};
  Bytes body = XFBody(up);
  EXPECT_EQ(Word(body, 12), 0x8000);
  EXPECT_EQ(Long(body, 14), (17u << 14) | (3u << 21));

  TxlsXFormat both;
  both.Borders.DiagUp = {bstDashed, clrGreen};
  both.Borders.DiagDown = {bstHair, clrPink};
  body = XFBody(both);
  EXPECT_EQ(Word(body, 12), 0xC000);
  EXPECT_EQ(Long(body, 14), (14u << 14) | (7u << 21));
  EXPECT_EQ(Word(body, 10), 0);
}

TEST(Bytes, PaletteMapCoversEveryIndexOnce) {
  std::set<int> indices;
  for (int c = 0; c < kXLSColorCount; ++c) indices.insert(XLSPaletteIndex(static_cast<TxlsColor>(c)));
  EXPECT_EQ(indices.size(), 56u);
  EXPECT_EQ(*indices.begin(), 8);
  EXPECT_EQ(*indices.rbegin(), 63);
  EXPECT_EQ(XLSPaletteIndex(clrBlack), 8);
  EXPECT_EQ(XLSPaletteIndex(clrWhite), 9);
  EXPECT_EQ(XLSPaletteIndex(clrSkyBlue), 40);
  EXPECT_EQ(XLSPaletteIndex(clrColor1), 24);
  EXPECT_EQ(XLSPaletteIndex(clrColor16), 39);
  for (int c = 0; c < kXLSColorCount; ++c) {
    const auto color = static_cast<TxlsColor>(c);
    EXPECT_EQ(XLSDefaultPaletteColor(XLSPaletteIndex(color)), XLSColorValue(color)) << c;
  }
  EXPECT_EQ(XLSColorValue(clrBrown), 0x003399u);
  EXPECT_EQ(XLSDefaultPaletteColor(7), 0u);
}

TEST(Bytes, RecordStringFieldsFollowTheirOptionByte) {
  TbiffBoundSheet sheet(8 + 2 * 3);
  sheet.SetNameLen(3);
  sheet.SetNameOpt(1);
  sheet.SetName(u"\u00C1gu");
  EXPECT_EQ(sheet.Name(), u"\u00C1gu");
  sheet.SetNameLen(4);
  EXPECT_THROW(sheet.SetName(u"Agua"), ExlsFileError);

  TbiffFormat narrow(5 + 4);
  narrow.SetFormatLen(4);
  narrow.SetFormatOpt(0);
  narrow.SetFormat(u"0.00");
  EXPECT_EQ(narrow.Format(), u"0.00");
  EXPECT_EQ(narrow.Data()[5], '0');
  narrow.SetFormatOpt(2);
  narrow.SetFormat(u"####");
  EXPECT_EQ(narrow.Data()[5], '0');  // another option writes nothing

  TbiffSupbookInternal supbook(3);
  EXPECT_EQ(Bytes(supbook.Data().begin(), supbook.Data().end()), (Bytes{3, 0, 1, 4}));
}

}  // namespace
