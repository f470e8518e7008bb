// The workbook reader on streams built by hand: the cell records and their values, the records
// that hold several cells, formulas and their results, shared strings over any number of
// CONTINUE records, dates by number format, and what it refuses.
#include <gtest/gtest.h>

#include "biff_builder.h"
#include "export/export_fixtures.h"
#include "export/xls/chart_records.h"
#include "export/xls/workbook_dump.h"
#include "export/xls/xls_file.h"
#include "export/xls/xls_stream.h"

namespace {

using namespace vantrix;
using xlstest::Body;
using xlstest::Stream;

using exporttest::ErrorMessage;
// A workbook of the standard globals and one sheet holding the cells given.
class ReaderRecords : public testing::Test {
 protected:
  TxlsWorkSheet& Load(const Stream& cells, const std::vector<std::u16string>& strings = {u"a", u"b"},
                      const std::u16string& format164 = u"[Red]0.00") {
    Stream s = xlstest::Globals(strings, {u"S"}, format164);
    s.Bof(0x0010).Dimensions().Append(cells).Eof();
    file_.LoadStream(s.bytes);
    return file_.Workbook().WorkSheet(0);
  }
  TxlsFile file_;
};

TEST_F(ReaderRecords, RkValuesDecodeBothForms) {
  EXPECT_EQ(DecodeRK(3), 0.0);
  EXPECT_EQ(DecodeRK((12345u << 2) | 2), 12345.0);
  EXPECT_DOUBLE_EQ(DecodeRK((12345u << 2) | 3), 123.45);
  EXPECT_EQ(DecodeRK(0x3FF00000u), 1.0);
  EXPECT_EQ(DecodeRK(0x3FF00001u), 0.01);
  EXPECT_EQ(DecodeRK(static_cast<uint32_t>(-7 * 4) | 2), -7.0);
  uint32_t rk = 0;
  ASSERT_TRUE(EncodeRK(-536870912.0, rk));
  EXPECT_EQ(DecodeRK(rk), -536870912.0);
}

TEST_F(ReaderRecords, MulBlankAndMulRkExpandIntoSingleCells) {
  TxlsWorkSheet& sheet = Load(Stream()
                                  .Rec(0x00BE, Body().W(4).W(2).W(1).W(2).W(3).W(4))
                                  .Rec(0x00BD, Body().W(5).W(1).W(0).D(0x3FF00000u).W(1).D(10u << 2 | 2).W(0).D(3).W(3)));
  for (int col = 2; col <= 4; ++col) {
    const TbiffCell* cell = sheet.GetCells(4, col);
    ASSERT_NE(cell, nullptr) << col;
    EXPECT_NE(dynamic_cast<const TbiffBlank*>(cell), nullptr);
    EXPECT_EQ(cell->XFIndex(), col - 1);
  }
  EXPECT_EQ(sheet.GetCells(4, 5), nullptr);
  EXPECT_EQ(sheet.GetCells(5, 1)->GetAsFloat(), 1.0);
  EXPECT_EQ(sheet.GetCells(5, 2)->GetAsFloat(), 10.0);
  EXPECT_TRUE(sheet.GetCells(5, 2)->GetIsDateTime()) << "XF 1 has the built-in date format";
  EXPECT_EQ(sheet.GetCells(5, 3)->GetAsFloat(), 0.0);
  EXPECT_EQ(sheet.GetColCount(), 5);
  EXPECT_EQ(sheet.Col(2)->Count(), 2u);

  TbiffMulRK rk(nullptr, 0x00BD, Body().W(0).W(254).W(0).D(2).W(0).D(2).W(0).D(2).W(0).bytes);
  EXPECT_EQ(rk.ItemCount(), 3u);
  rk.GetCell();
  rk.GetCell();
  EXPECT_EQ(ErrorMessage([&] { rk.GetCell(); }), "Invalid Column (256)");
}

TEST_F(ReaderRecords, CellAccessAndBoundsRaiseTheirMessages) {
  TxlsWorkSheet& sheet = Load(Stream().Label(2, 1, 1).Rk(0, 0, 0, 2));
  TbiffCell* label = sheet.GetCells(2, 1);
  EXPECT_EQ(label->GetAsString(), u"b");
  EXPECT_EQ(ErrorMessage([&] { label->GetAsFloat(); }), "Cannot access cell 'B3' as type Float");
  EXPECT_EQ(ErrorMessage([&] { label->SetAsBoolean(true); }), "Cannot access cell 'B3' as type Boolean");
  EXPECT_EQ(ErrorMessage([&] { sheet.GetCells(0, 0)->SetAsFloat(0.123456789); }), "Invalid cell value: '0.123456789'");
  sheet.GetCells(0, 0)->SetAsFloat(-12.5);
  EXPECT_EQ(sheet.GetCells(0, 0)->GetAsFloat(), -12.5);
  EXPECT_EQ(ErrorMessage([&] { sheet.GetCells(70000, 0); }), "Invalid Row (70000)");
  EXPECT_EQ(ErrorMessage([&] { sheet.GetCells(-1, 0); }), "Invalid Row (-1)");
  EXPECT_EQ(ErrorMessage([&] { sheet.GetCells(0, 256); }), "Invalid Column (256)");
  EXPECT_EQ(sheet.GetCells(65535, 255), nullptr);

  EXPECT_EQ(ErrorMessage([&] { Load(Stream().Label(0, 0, 2)); }), "Record with ID 0xfd is invalid") << "index past the table";
  EXPECT_EQ(ErrorMessage([&] { Load(Stream().Rk(0, 256, 0, 2)); }), "Invalid Column (256)");
}

TEST_F(ReaderRecords, ShortBodiesAreRefusedByEveryRecordClass) {
  struct Case {
    uint16_t id;
    size_t minimum;
  };
  for (const Case c : {Case{0x0203, 14}, {0x027E, 10}, {0x00FD, 10}, {0x0205, 8}, {0x0201, 6}, {0x0006, 22},
                       {0x00BD, 6}, {0x00BE, 6}, {0x04BC, 10}, {0x0018, 15}, {0x0207, 3}, {0x0200, 14}, {0x00E0, 20},
                       {0x0085, 8}, {0x041E, 5}, {0x0031, 16}, {0x00FC, 8}, {0x007D, 10}}) {
    const std::string error = ErrorMessage([&] { Load(Stream().Rec(c.id, std::vector<uint8_t>(c.minimum - 1))); });
    EXPECT_NE(error.find("is invalid"), std::string::npos) << std::hex << c.id << ": " << error;
  }
  // Counts that reach past the body.
  EXPECT_NE(ErrorMessage([&] { Load(Stream().Rec(0x0006, Body().W(0).W(0).W(0).F(1).W(0).D(0).W(5).B(1))); }), "(no error)");
  EXPECT_NE(ErrorMessage([&] { Load(Stream().Rec(0x0018, Body().W(0).B(0).B(9).W(0).W(0).W(0).D(0).B(0).B('x'))); }),
            "(no error)");
}

TEST_F(ReaderRecords, FormulaResultsOfEveryKind) {
  const auto formula = [](uint16_t row, uint8_t kind, uint8_t value) {
    return Body().W(row).W(0).W(0).B(kind).B(0).B(value).B(0).W(0).W(0xFFFF).W(0).D(0).W(3).B(0x1E).W(1);
  };
  Stream cells;
  cells.Rec(0x0006, Body().W(0).W(0).W(0).F(2.5).W(0).D(0).W(3).B(0x1E).W(1));
  cells.Rec(0x0006, formula(1, 0, 0)).Rec(0x0207, Body().Str(u"text \u00e9"));
  cells.Rec(0x0006, formula(2, 1, 1));
  cells.Rec(0x0006, formula(3, 2, 7));
  cells.Rec(0x0006, formula(4, 3, 0));
  TxlsWorkSheet& sheet = Load(cells);
  EXPECT_EQ(sheet.GetCells(0, 0)->GetAsVariant(), TxlsVariant(2.5));
  EXPECT_EQ(sheet.GetCells(1, 0)->GetAsVariant(), TxlsVariant(WideString(u"text \u00e9")));
  EXPECT_EQ(sheet.GetCells(2, 0)->GetAsVariant(), TxlsVariant(true));
  EXPECT_EQ(sheet.GetCells(3, 0)->GetAsVariant(), TxlsVariant(TxlsErrorValue{7}));
  EXPECT_EQ(sheet.GetCells(3, 0)->GetAsString(), u"#DIV/0!");
  EXPECT_EQ(sheet.GetCells(4, 0)->GetAsVariant(), TxlsVariant(WideString()));
  EXPECT_TRUE(sheet.GetCells(4, 0)->GetIsFormula());

  // Saved and read again, each result is still there.
  TxlsMemoryStream saved;
  file_.Workbook().Save(saved);
  TxlsFile again;
  again.LoadStream(saved.Bytes());
  TxlsWorkSheet& back = again.Workbook().WorkSheet(0);
  for (int row = 0; row <= 4; ++row)
    EXPECT_EQ(back.GetCells(row, 0)->GetAsVariant(), sheet.GetCells(row, 0)->GetAsVariant()) << row;

  EXPECT_EQ(ErrorMessage([&] { Load(Stream().Number(0, 0, 0, 1).Rec(0x0207, Body().Str(u"x"))); }),
            "Error reading Excel records. File invalid")
      << "a STRING needs its formula";
}

// A STRING is the text result only of a formula whose result says text (0xFFFF at the top,
// kind 0); after a number, a boolean, an error or an empty text it changes nothing and stays
// right after its formula, on save as in the file.
TEST_F(ReaderRecords, AStringAfterAFormulaWithoutTextResultLeavesTheResultAlone) {
  const auto formula = [](uint16_t row, uint8_t kind, uint8_t value) {
    return Body().W(row).W(0).W(0).B(kind).B(0).B(value).B(0).W(0).W(0xFFFF).W(0).D(0).W(3).B(0x1E).W(1);
  };
  Stream cells;
  cells.Rec(0x0006, Body().W(0).W(0).W(0).F(2.5).W(0).D(0).W(3).B(0x1E).W(1)).Rec(0x0207, Body().Str(u"stray"));
  cells.Rec(0x0006, formula(1, 1, 1)).Rec(0x0207, Body().Str(u"stray"));
  cells.Rec(0x0006, formula(2, 2, 7)).Rec(0x0207, Body().Str(u"stray"));
  cells.Rec(0x0006, formula(3, 3, 0)).Rec(0x0207, Body().Str(u"stray"));
  cells.Rec(0x0006, formula(4, 0, 0)).Rec(0x0207, Body().Str(u"text"));
  TxlsWorkSheet& sheet = Load(cells);
  const std::vector<TxlsVariant> expected = {2.5, true, TxlsErrorValue{7}, WideString(), WideString(u"text")};
  for (int row = 0; row <= 4; ++row) EXPECT_EQ(sheet.GetCells(row, 0)->GetAsVariant(), expected[static_cast<size_t>(row)]) << row;

  TxlsMemoryStream saved;
  file_.Workbook().Save(saved);
  std::vector<uint16_t> ids;
  for (size_t at = 0; at + 4 <= saved.Size(); at += 4u + GetWord(saved.Bytes(), at + 2)) {
    const uint16_t id = GetWord(saved.Bytes(), at);
    if (id == 0x0006 || id == 0x0207) ids.push_back(id);
  }
  EXPECT_EQ(ids, (std::vector<uint16_t>{6, 0x207, 6, 0x207, 6, 0x207, 6, 0x207, 6, 0x207}));
  TxlsFile again;
  again.LoadStream(saved.Bytes());
  for (int row = 0; row <= 4; ++row)
    EXPECT_EQ(again.Workbook().WorkSheet(0).GetCells(row, 0)->GetAsVariant(), expected[static_cast<size_t>(row)]) << row;
  TxlsMemoryStream resaved;
  again.Workbook().Save(resaved);
  EXPECT_EQ(resaved.Bytes(), saved.Bytes());
}

// A shared formula's anchor is followed by the SHRFMLA record and then by its text result, on
// save as in the file, so readers find the formula the other cells refer to.
TEST_F(ReaderRecords, SharedFormulaStaysRightAfterTheFormulaThatAnchorsIt) {
  Stream cells;
  cells.Rec(0x0006, Body().W(0).W(0).W(0).B(0).B(0).B(0).B(0).W(0).W(0xFFFF).W(8).D(0).W(5).B(0x01).W(0).W(0));
  cells.Rec(0x04BC, Body().W(0).W(1).B(0).B(0).B(0).B(2).W(3).B(0x1E).W(7));
  cells.Rec(0x0207, Body().Str(u"seven"));
  cells.Rec(0x0006, Body().W(1).W(0).W(0).F(7).W(8).D(0).W(5).B(0x01).W(0).W(0));
  TxlsWorkSheet& sheet = Load(cells);
  ASSERT_EQ(sheet.SharedFormulas.size(), 1u);
  EXPECT_EQ(sheet.FindSharedFormula(0), sheet.SharedFormulas[0]);
  EXPECT_EQ(sheet.FindSharedFormula(1), nullptr);
  EXPECT_EQ(sheet.GetCells(0, 0)->GetAsString(), u"seven");
  EXPECT_EQ(sheet.GetCells(1, 0)->GetAsFloat(), 7.0);

  TxlsMemoryStream saved;
  file_.Workbook().Save(saved);
  std::vector<uint16_t> ids;
  for (size_t at = 0; at + 4 <= saved.Size(); at += 4u + GetWord(saved.Bytes(), at + 2)) {
    const uint16_t id = GetWord(saved.Bytes(), at);
    if (id == 0x0006 || id == 0x04BC || id == 0x0207) ids.push_back(id);
  }
  EXPECT_EQ(ids, (std::vector<uint16_t>{0x0006, 0x04BC, 0x0207, 0x0006}));
}

TEST_F(ReaderRecords, SharedStringsGoOnOverManyContinueRecordsAndSplitStrings) {
  // 3,000 strings of 5 characters (8 bytes each) need three records; one long string of
  // 9,000 characters is split, its second part in UTF-16.
  std::vector<std::u16string> texts;
  Body sst;
  sst.D(3001).D(3001);
  std::vector<std::vector<uint8_t>> records;
  for (int i = 0; i < 3000; ++i) {
    std::u16string t = u"s";
    for (const char c : std::to_string(10000 + i).substr(1)) t += static_cast<char16_t>(c);
    texts.push_back(t);
    if (sst.bytes.size() + 8 > 8224) {
      records.push_back(sst.bytes);
      sst = Body();
    }
    sst.Str(t);
  }
  records.push_back(sst.bytes);
  std::u16string longText(5000, u'x');
  Body tail;
  tail.W(9000).B(0);
  for (int i = 0; i < 5000; ++i) tail.B('x');
  records.push_back(tail.bytes);
  Body wide;
  wide.B(1);
  for (int i = 0; i < 4000; ++i) {
    wide.W(u'\u03a9');
    longText += u'\u03a9';
  }
  records.push_back(wide.bytes);
  texts.push_back(longText);

  Stream s;
  s.Bof(0x0005).Xf(0).BoundSheet(u"S");
  s.Rec(0x00FC, records[0]);
  for (size_t i = 1; i < records.size(); ++i) s.Rec(0x003C, records[i]);
  s.Eof().Bof(0x0010).Label(0, 0, 2999).Label(1, 0, 3000).Label(2, 0, 0).Eof();
  file_.LoadStream(s.bytes);
  const TbiffSSTList& table = file_.Workbook().Globals().SST;
  ASSERT_EQ(table.Count(), 3001u);
  for (size_t i = 0; i < texts.size(); ++i) ASSERT_EQ(table[i]->Value().GetValue(), texts[i]) << i;

  // Saved, the strings no cell refers to are dropped and the cells' indexes follow.
  TxlsMemoryStream saved;
  file_.Workbook().Save(saved);
  TxlsFile again;
  again.LoadStream(saved.Bytes());
  EXPECT_EQ(again.Workbook().Globals().SST.Count(), 3u);
  const TxlsWorkSheet& sheet = again.Workbook().WorkSheet(0);
  EXPECT_EQ(sheet.GetCells(0, 0)->GetAsString(), texts[2999]);
  EXPECT_EQ(sheet.GetCells(1, 0)->GetAsString(), longText);
  EXPECT_EQ(sheet.GetCells(2, 0)->GetAsString(), texts[0]);
}

TEST_F(ReaderRecords, RichTextAndFarEastStringsReadAndSaveTheSameBytes) {
  Body sst;
  sst.D(1).D(1).W(3).B(0x0C).W(1).D(2).B('a').B('b').B('c').D(0x00050001).B(9).B(8);
  Stream s;
  s.Bof(0x0005).Xf(0).BoundSheet(u"S").Rec(0x00FC, sst).Eof().Bof(0x0010).Label(0, 0, 0).Eof();
  file_.LoadStream(s.bytes);
  const TxlsString& value = file_.Workbook().Globals().SST[0]->Value();
  EXPECT_EQ(value.GetValue(), u"abc");
  EXPECT_TRUE(value.GetHasRichText());
  EXPECT_TRUE(value.GetFarEast());
  EXPECT_EQ(value.GetTotalSize(), 3u + 2 + 4 + 3 + 4 + 2);
  const std::vector<uint8_t> bytes = value.Bytes();
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()),
            std::vector<uint8_t>(sst.bytes.begin() + 8, sst.bytes.end()));
  EXPECT_EQ(GetStrLen(sst.bytes, 8, true), 18u);

  // A far-east length beyond the record ends in a read error, not a huge allocation.
  Body bad;
  bad.D(1).D(1).W(1).B(0x04).D(0x7FFFFFFF).B('a');
  Stream b;
  b.Bof(0x0005).Rec(0x00FC, bad).Eof();
  EXPECT_EQ(ErrorMessage([&] { file_.LoadStream(b.bytes); }), "Error reading record");
}

TEST_F(ReaderRecords, DatesAreTheCellsWhoseFormatShowsDateOrTime) {
  const Stream cells = Stream().Number(0, 0, 0, 45000).Number(0, 1, 1, 45000).Rk(0, 2, 2, 45000u << 2 | 2)
                           .Rk(0, 3, 3, 45000u << 2 | 2).Number(0, 4, 3, 45000.5);
  TxlsWorkSheet& sheet = Load(cells);
  EXPECT_FALSE(sheet.GetCells(0, 0)->GetIsDateTime()) << "General";
  EXPECT_TRUE(sheet.GetCells(0, 1)->GetIsDateTime()) << "built-in 14, a NUMBER";
  EXPECT_FALSE(sheet.GetCells(0, 2)->GetIsDateTime()) << "[Red]0.00 names no date";
  EXPECT_TRUE(sheet.GetCells(0, 3)->GetIsDateTime()) << "user format dd/mm/yyyy, an RK";
  EXPECT_TRUE(sheet.GetCells(0, 3)->GetIsDateOnly());
  EXPECT_EQ(sheet.GetCells(0, 3)->GetAsString(), u"2023-03-15");
  EXPECT_EQ(sheet.GetCells(0, 4)->GetAsString(), u"2023-03-15 12:00:00");

  for (const auto& [format, date] : std::vector<std::pair<std::u16string, bool>>{
           {u"0 \"days\"", false}, {u"[h]:mm", true}, {u"\\d0", false}, {u"#,##0_);[Red](#,##0)", false},
           {u"[$-409]mmm yy", true}, {u"0.00E+00", false}, {u"HH:MM", true}, {u"General", false}, {u"_d0", false}})
    EXPECT_EQ(IsDateTimeFormat(format), date) << std::string(format.begin(), format.end());
}

TEST_F(ReaderRecords, BrokenStreamsAreRefused) {
  const std::string invalid = "Error reading Excel records. File invalid";
  Stream noBof;
  noBof.Eof().Eof();
  noBof.bytes[0] = 0x42;
  EXPECT_EQ(ErrorMessage([&] { file_.LoadStream(noBof.bytes); }), invalid);
  Stream biff5;
  biff5.Bof(0x0005, 0x0500).Eof();
  EXPECT_EQ(ErrorMessage([&] { file_.LoadStream(biff5.bytes); }), "File is saved with an invalid Excel version");
  Stream unfinished = xlstest::Globals({}, {u"S"});
  unfinished.Bof(0x0010).Number(0, 0, 0, 1);
  EXPECT_EQ(ErrorMessage([&] { file_.LoadStream(unfinished.bytes); }), invalid);
  Stream longer = xlstest::Globals({}, {u"S"});
  longer.Bof(0x0010).Eof();
  longer.bytes[longer.bytes.size() - 2] = 9;  // the last EOF promises a body
  EXPECT_EQ(ErrorMessage([&] { file_.LoadStream(longer.bytes); }), invalid);
  Stream lostSheet = xlstest::Globals({}, {u"S", u"T"});
  lostSheet.Bof(0x0010).Eof();
  EXPECT_EQ(ErrorMessage([&] { file_.LoadStream(lostSheet.bytes); }), invalid) << "two BOUNDSHEETs, one sheet";
  EXPECT_FALSE(file_.Loaded());
  EXPECT_EQ(file_.Workbook().WorkSheetCount(), 0u);
}

// A FILEPASS record says every record after it is encrypted: whatever the encryption (XOR,
// RC4, RC4 through the CryptoAPI) and whatever the bytes after it, the workbook is refused as
// password-protected and nothing stays loaded, whether the record stands in the globals, among
// a sheet's records or in a chart inside a sheet.
TEST_F(ReaderRecords, PasswordProtectedWorkbooksAreRefused) {
  std::vector<uint8_t> rc4 = Body().W(1).W(1).W(1).bytes, cryptoApi = Body().W(1).W(4).W(2).D(0x24).D(0x8C).bytes;
  rc4.resize(54, 0x5A);
  cryptoApi.resize(200, 0x33);
  for (const auto& filePass : {Body().W(0).W(0x1234).W(0xCDEF).bytes, rc4, cryptoApi, std::vector<uint8_t>()}) {
    Stream globals;
    globals.Bof(0x0005).Rec(0x002F, filePass).Xf(0).BoundSheet(u"S").Sst({u"a"}).Eof();
    globals.Bof(0x0010).Dimensions().Label(0, 0, 0).Eof();
    Stream sheet = xlstest::Globals({}, {u"S"});
    sheet.Bof(0x0010).Dimensions().Number(0, 0, 0, 1).Rec(0x002F, filePass).Number(1, 0, 0, 2).Eof();
    Stream chart = xlstest::Globals({}, {u"S"});
    chart.Bof(0x0010).Dimensions().Bof(0x0020).Rec(0x002F, filePass).Eof().Eof();
    for (const Stream* s : {&globals, &sheet, &chart}) {
      EXPECT_EQ(ErrorMessage([&] { file_.LoadStream(s->bytes); }), kPasswordProtected) << filePass.size();
      EXPECT_FALSE(file_.Loaded());
      EXPECT_EQ(file_.Workbook().WorkSheetCount(), 0u);
      EXPECT_TRUE(file_.Workbook().Globals().Records.Empty());
    }
  }
}

// Charts are kept as the records they are, wherever they stand: inside a sheet, after a sheet
// (that sheet's), or as a chart sheet of their own; their NUMBER records are no cells.
TEST_F(ReaderRecords, ChartSubstreamsAreKeptWholeAndHoldNoCells) {
  Stream chart;
  chart.Bof(0x0020).Rec(0x1001, Body().W(1)).Number(0, 0, 0, 99).Rec(0x1033, Body()).Rec(0x1034, Body()).Eof();
  Stream s = xlstest::Globals({}, {u"S", u"C"});
  const size_t sheetAt = s.bytes.size();
  s.Bof(0x0010).Dimensions().Number(1, 1, 0, 5).Append(chart).Rec(0x023E, Body().W(0x6B6).W(0).W(0).D(64).W(0).W(0).D(0));
  s.Eof().Append(chart);
  const size_t chartSheetAt = s.bytes.size();
  s.Append(chart);
  // The BOUNDSHEETs point at the sheet and at the chart sheet.
  std::vector<size_t> offsets = {sheetAt, chartSheetAt};
  for (size_t at = 0, n = 0; at + 4 <= sheetAt; at += 4u + GetWord(s.bytes, at + 2))
    if (GetWord(s.bytes, at) == 0x0085) SetInteger(s.bytes, at + 4, static_cast<uint32_t>(offsets.at(n++)));
  file_.LoadStream(s.bytes);
  TxlsWorkbook& book = file_.Workbook();
  ASSERT_EQ(book.WorkSheetCount(), 1u);
  ASSERT_EQ(book.Sheets().size(), 2u);
  const TxlsWorkSheet& sheet = book.WorkSheet(0);
  EXPECT_EQ(sheet.GetRowCount(), 2);
  EXPECT_EQ(sheet.GetCells(0, 0), nullptr);
  EXPECT_EQ(sheet.GetCells(1, 1)->GetAsFloat(), 5.0);
  EXPECT_EQ(sheet.MiddleRecords.Count(), 6u) << "the embedded chart, BOF to EOF";
  EXPECT_EQ(sheet.TrailingCharts.Count(), 6u) << "the chart after the sheet";
  EXPECT_NE(sheet.Window2, nullptr);

  TxlsMemoryStream saved;
  book.Save(saved);
  EXPECT_EQ(saved.Size(), s.bytes.size()) << "every record kept";
  TxlsFile again;
  again.LoadStream(saved.Bytes());
  EXPECT_EQ(DumpCells(again.Workbook()), DumpCells(book));
  EXPECT_EQ(again.Workbook().Sheets().size(), 2u);
  EXPECT_EQ(again.Workbook().WorkSheet(0).TrailingCharts.Count(), 6u);
}

TEST_F(ReaderRecords, ChartAccessorsReadAndWriteTheirFieldsInPlace) {
  TchartValueRange range(nullptr, 0x101F, std::vector<uint8_t>(42, 0xAB));
  range.SetMaxValue(100.0);
  EXPECT_EQ(range.GetMaxValue(), 100.0);
  EXPECT_EQ(range.Data()[7], 0xAB);
  EXPECT_EQ(range.Data()[15], 0x40);
  EXPECT_EQ(range.Data()[16], 0xAB);
  TchartSeriesText text(nullptr, 0x100D, {0, 0, 0});
  EXPECT_EQ(text.GetText(), u"");
  TchartTick tick(nullptr, 0x101E, std::vector<uint8_t>(20));
  EXPECT_THROW(tick.GetColorIndex(), ExlsFileError) << "a field past a short body";
  TbiffSelection selection(nullptr, 0x001D, Body().B(3).W(1).W(2).W(0).W(1).W(1).W(1).B(4).B(6).bytes);
  EXPECT_EQ(selection.GetCol1(), 4);
  EXPECT_EQ(selection.GetCol2(), 6);
}

}  // namespace
