// The spreadsheet exporter's records byte by byte: the registry's first numbers and their
// sharing, the aggregate formula, column widths, the palette, page texts, the background,
// the window and used-range records, and the limits no record may pass.
#include <gtest/gtest.h>

#include <QImage>

#include "xls_fixtures.h"

namespace {

using namespace vantrix;
using exporttest::TempFolder;
using xlstest::Record;
using xlstest::TextSource;
using xlstest::XlsExporter;

constexpr uint16_t kFont = 0x0031, kFormat = 0x041E, kXF = 0x00E0, kPalette = 0x0092, kFormula = 0x0006,
                   kColInfo = 0x007D, kHeader = 0x0014, kFooter = 0x0015, kBitmap = 0x00E9, kContinue = 0x003C,
                   kWindow2 = 0x023E, kDimensions = 0x0200, kMergedCells = 0x00E5, kHLink = 0x01B8,
                   kLabel = 0x00FD, kNumber = 0x0203, kBoolErr = 0x0205, kBlank = 0x0201;

class ExporterBytes : public testing::Test {
 protected:
  std::string Path(const std::string& name = "book.xls") const { return folder_ / name; }
  TempFolder folder_;
};

std::vector<std::vector<std::string>> Rows(int n, int columns) {
  std::vector<std::vector<std::string>> rows;
  for (int r = 1; r <= n; ++r) {
    rows.emplace_back();
    for (int c = 0; c < columns; ++c) rows.back().push_back(std::to_string(r * 10 + c));
  }
  return rows;
}

TEST_F(ExporterBytes, FirstUserFormatFontAndXFAreNumbered50And5And16AndShared) {
  TextSource source({{"A", ectFloat}, {"B", ectFloat}, {"C", ectString}}, {{"1.5", "2.5", "x"}});
  XlsExporter xls(source, Path());
  for (const char* name : {"A", "B"}) {
    TxlsFieldFormat& field = xls.FieldFormats.Add();
    field.FieldName = name;
    field.Font.Style.Include(xfsBold);
  }
  const xlstest::Workbook book = xls.Write();

  // The default font four times, then the one bold font the fields and captions share.
  const auto fonts = book.globals.All(kFont);
  ASSERT_EQ(fonts.size(), 5u);
  EXPECT_EQ(fonts[4]->Word(6), 700);
  EXPECT_EQ(fonts[0]->Word(6), 400);
  const auto formats = book.globals.All(kFormat);
  ASSERT_EQ(formats.size(), 1u);
  EXPECT_EQ(formats[0]->Word(0), 50);
  EXPECT_EQ(formats[0]->Word(2), std::string("#,###,##0.00").size());

  const auto xfs = book.globals.All(kXF);
  ASSERT_EQ(xfs.size(), 18u);  // the sixteen fixed ones, the fields' and the captions'
  EXPECT_EQ(xfs[16]->Word(0), 5);
  EXPECT_EQ(xfs[16]->Word(2), 50);
  EXPECT_EQ(xfs[17]->Word(0), 5);
  EXPECT_EQ(xfs[17]->Word(2), 0);

  const xlstest::Substream& sheet = book.sheets.at(0);
  EXPECT_EQ(xlstest::CellAt(sheet, 0, 0)->Word(4), 17);  // caption
  EXPECT_EQ(xlstest::CellAt(sheet, 1, 0)->Word(4), 16);
  EXPECT_EQ(xlstest::CellAt(sheet, 1, 1)->Word(4), 16);
  EXPECT_EQ(xlstest::CellAt(sheet, 1, 2)->Word(4), 15);
}

TEST_F(ExporterBytes, AggregateFormulaTokensAndItsRange) {
  TextSource source({{"a", ectFloat}, {"b", ectFloat}, {"c", ectFloat}, {"d", ectFloat}}, Rows(8, 4));
  XlsExporter xls(source, Path());
  xls.Header = {"Title"};
  TxlsFieldFormat& field = xls.FieldFormats.Add();
  field.FieldName = "d";
  field.Aggregate = aggMax;
  const xlstest::Workbook book = xls.Write();

  // Header row 0, captions row 1, data rows 2..9: the maximum of column 3 in row 10.
  const auto formulas = book.sheets.at(0).All(kFormula);
  ASSERT_EQ(formulas.size(), 1u);
  const Record& f = *formulas[0];
  ASSERT_EQ(f.body.size(), 35u);
  EXPECT_EQ(f.Word(0), 10);
  EXPECT_EQ(f.Word(2), 3);
  EXPECT_EQ(f.Word(14), 0x0002);  // calculated when the file opens
  EXPECT_EQ(f.Word(20), 13);
  const std::vector<uint8_t> tokens(f.body.begin() + 22, f.body.end());
  EXPECT_EQ(tokens, (std::vector<uint8_t>{0x25, 0x02, 0x00, 0x09, 0x00, 0x03, 0xC0, 0x03, 0xC0, 0x42, 0x01, 0x07, 0x00}));
}

TEST_F(ExporterBytes, AggregateOnlyOverRowsWrittenAndNeverOverNone) {
  TextSource empty({{"v", ectInteger}}, {});
  XlsExporter none(empty, Path("none.xls"));
  none.FieldFormats.Add().FieldName = "v";
  none.FieldFormats[0].Aggregate = aggSum;
  EXPECT_EQ(none.Write().sheets.at(0).Count(kFormula), 0u);

  // Five header rows for three lines: the data begin in row 6, where the rows written put
  // them, not in row 4 as the lines alone would.
  TextSource source({{"v", ectInteger}}, xlstest::Counting(3));
  XlsExporter xls(source, Path());
  xls.Header = {"a", "b", "c"};
  xls.HeaderRows = 5;
  xls.FieldFormats.Add().FieldName = "v";
  xls.FieldFormats[0].Aggregate = aggSum;
  const xlstest::Workbook book = xls.Write();
  const Record& f = *book.sheets.at(0).All(kFormula).at(0);
  EXPECT_EQ(f.Word(0), 9);
  EXPECT_EQ(f.Word(23), 6);  // first row of the area
  EXPECT_EQ(f.Word(25), 8);  // last row
}

TEST_F(ExporterBytes, ColumnWidthsWithThePaddingOfASevenPixelZeroAndTheirLimit) {
  TextSource source({{"a", ectString, 10}, {"b", ectString, 15}, {"c", ectString, 300}}, {{"x", "y", "z"}});
  XlsExporter xls(source, Path());
  const xlstest::Workbook book = xls.Write();
  const auto infos = book.sheets.at(0).All(kColInfo);
  ASSERT_EQ(infos.size(), 3u);
  EXPECT_EQ(infos[0]->Word(0), 0);
  EXPECT_EQ(infos[0]->Word(2), 0);
  EXPECT_EQ(infos[0]->Word(4), 2853);  // round((10 + 1 + 1/7) × 256)
  EXPECT_EQ(infos[1]->Word(4), 4133);  // round((15 + 1 + 1/7) × 256)
  EXPECT_EQ(infos[2]->Word(4), 255 * 256);
  EXPECT_EQ(infos[1]->Word(6), 15);
  EXPECT_EQ(infos[1]->body.size(), 11u);
}

TEST_F(ExporterBytes, AutomaticWidthsRewriteTheColumnInfosInPlace) {
  TextSource source({{"a", ectString, 10}, {"b", ectString, 10}},
                    {{std::string(20, 'w'), "x"}, {std::string(400, 'w'), "y"}});
  XlsExporter xls(source, Path());
  xls.AutoCalcColWidth = true;
  xls.StartDataCol = 2;
  const xlstest::Workbook book = xls.Write();
  const auto infos = book.sheets.at(0).All(kColInfo);
  ASSERT_EQ(infos.size(), 2u);
  EXPECT_EQ(infos[0]->Word(0), 2);
  EXPECT_EQ(infos[0]->Word(4), 255 * 256);  // 401 "0" widths, kept to 255 characters
  EXPECT_EQ(infos[1]->Word(0), 3);
  EXPECT_EQ(infos[1]->Word(4), 10 * 256);  // its texts are narrower than its width
}

TEST_F(ExporterBytes, ExtendedColourInItsPaletteEntryAndOthersIgnored) {
  TextSource source({{"a"}}, {{"x"}});
  XlsExporter xls(source, Path());
  xls.DefineExtendedColor(3, 0x00123456);
  xls.DefineExtendedColor(16, 0x00FFFFFF);
  xls.DefineExtendedColor(-1, 0x00FFFFFF);
  const xlstest::Workbook book = xls.Write();
  const Record& palette = book.globals.First(kPalette);
  ASSERT_EQ(palette.body.size(), 226u);
  auto entry = [&](int index) {
    const size_t at = 2 + 4 * static_cast<size_t>(index - 8);
    return std::vector<uint8_t>(palette.body.begin() + static_cast<ptrdiff_t>(at),
                                palette.body.begin() + static_cast<ptrdiff_t>(at + 4));
  };
  EXPECT_EQ(entry(27), (std::vector<uint8_t>{0x56, 0x34, 0x12, 0}));  // red, green, blue
  for (const int index : {23, 24, 26, 28, 39, 40}) {
    const uint32_t bgr = XLSDefaultPaletteColor(index);
    EXPECT_EQ(entry(index), (std::vector<uint8_t>{static_cast<uint8_t>(bgr), static_cast<uint8_t>(bgr >> 8),
                                                   static_cast<uint8_t>(bgr >> 16), 0}))
        << index;
  }
}

TEST_F(ExporterBytes, PageTextsCutAt255CharactersAndWideWhenNotLatin1) {
  TextSource source({{"a"}}, {{"x"}});
  XlsExporter xls(source, Path());
  xls.Options.PageHeader = std::u16string(300, u'h');
  xls.Options.PageFooter = u"P\u00E1gina &P \u2014 \u20AC";
  const xlstest::Workbook book = xls.Write();
  const xlstest::Substream& sheet = book.sheets.at(0);
  const Record& header = sheet.First(kHeader);
  EXPECT_EQ(header.body.size(), 3u + 255);
  EXPECT_EQ(header.Word(0), 255);
  EXPECT_EQ(header.body[2], 0);
  const Record& footer = sheet.First(kFooter);
  EXPECT_EQ(footer.Word(0), 13);
  EXPECT_EQ(footer.body[2], 1);
  EXPECT_EQ(footer.body.size(), 3u + 2 * 13);
  EXPECT_EQ(footer.Word(3 + 2 * 1), 0x00E1);
  EXPECT_EQ(footer.Word(3 + 2 * 12), 0x20AC);
}

TEST_F(ExporterBytes, BackgroundFivePixelsWideDecodesBottomRowFirstAndPadded) {
  QImage image(5, 2, QImage::Format_ARGB32);
  const QRgb top[5] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(10, 20, 30), qRgba(0, 0, 0, 0)};
  for (int x = 0; x < 5; ++x) {
    image.setPixel(x, 0, top[x]);
    image.setPixel(x, 1, qRgb(x, 100, 200));
  }
  const std::string picture = folder_ / "tile.png";
  ASSERT_TRUE(image.save(QString::fromStdString(picture)));
  TextSource source({{"a"}}, {{"x"}});
  XlsExporter xls(source, Path());
  xls.Background.SetFileName(picture);
  const xlstest::Workbook book = xls.Write();
  const Record& bitmap = book.sheets.at(0).First(kBitmap);

  const size_t stride = 16;  // 15 bytes of pixels padded to four
  EXPECT_EQ(bitmap.Word(0), 9);
  EXPECT_EQ(bitmap.Word(2), 1);
  EXPECT_EQ(bitmap.Integer(4), 12 + 2 * stride);
  EXPECT_EQ(bitmap.Integer(8), 12u);
  EXPECT_EQ(bitmap.Word(12), 5);
  EXPECT_EQ(bitmap.Word(14), 2);
  EXPECT_EQ(bitmap.Word(16), 1);
  EXPECT_EQ(bitmap.Word(18), 24);
  ASSERT_GE(bitmap.body.size(), 20 + 2 * stride);
  auto pixel = [&](int row, int x) {  // rows as stored: the picture's bottom row first
    const uint8_t* p = bitmap.body.data() + 20 + stride * static_cast<size_t>(row) + 3 * static_cast<size_t>(x);
    return qRgb(p[2], p[1], p[0]);
  };
  for (int x = 0; x < 5; ++x) EXPECT_EQ(pixel(0, x), qRgb(x, 100, 200)) << x;
  for (int x = 0; x < 4; ++x) EXPECT_EQ(pixel(1, x), top[x]) << x;
  EXPECT_EQ(pixel(1, 4), qRgb(255, 255, 255));  // transparent shows white
  EXPECT_EQ(bitmap.body[20 + 15], 0);            // the padding

  // Rows given as bytes of exactly their size are taken as they are.
  TxlsGraphic rows;
  std::vector<uint8_t> bytes(2 * stride, 0x5A);
  rows.SetStream(bytes, 5, 2);
  XlsExporter given(source, Path("given.xls"));
  given.SetBackground(rows);
  const xlstest::Workbook rawBook = given.Write();
  const Record& raw = rawBook.sheets.at(0).First(kBitmap);
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), raw.body.begin() + 20));
}

TEST_F(ExporterBytes, LargeBackgroundGoesOnInContinueRecords) {
  QImage image(100, 100, QImage::Format_RGB32);
  image.fill(qRgb(1, 2, 3));
  const std::string picture = folder_ / "large.bmp";
  ASSERT_TRUE(image.save(QString::fromStdString(picture)));
  TextSource source({{"a"}}, {{"x"}});
  XlsExporter xls(source, Path());
  xls.Background.SetFileName(picture);
  const xlstest::Substream sheet = xls.Write().sheets.at(0);
  size_t pixels = sheet.First(kBitmap).body.size() - 20;
  bool inBitmap = false;
  for (const Record& r : sheet.records) {
    if (r.id == kBitmap) inBitmap = true;
    else if (r.id == kContinue && inBitmap) pixels += r.body.size();
    else inBitmap = false;
    EXPECT_LE(r.body.size(), 8224u);
  }
  EXPECT_GE(pixels, 300u * 100);
  EXPECT_EQ(sheet.First(kBitmap).Integer(4), 12 + 300 * 100);
}

TEST_F(ExporterBytes, OnlyTheFirstSheetOpensSelected) {
  TextSource first({{"a"}}, {{"x"}}), second({{"b"}}, {{"y"}});
  XlsExporter xls(first, Path());
  for (TextSource* source : {&first, &second}) {
    TxlsSheet& sheet = xls.Sheets.Add();
    sheet.SetExportSource(esCustom);
    sheet.SetCustomSource(source);
  }
  const xlstest::Workbook book = xls.Write();
  ASSERT_EQ(book.sheets.size(), 2u);
  EXPECT_EQ(book.sheets[0].First(kWindow2).Word(0), 0x06B6);
  EXPECT_EQ(book.sheets[1].First(kWindow2).Word(0), 0x00B6);
}

TEST_F(ExporterBytes, UsedRangeCoversEveryCellExtraCellsToo) {
  TextSource source({{"a"}, {"b"}, {"c"}}, Rows(9, 3));
  XlsExporter xls(source, Path());
  const Record dims = xls.Write().sheets.at(0).First(kDimensions);
  EXPECT_EQ(std::vector<uint32_t>({dims.Integer(0), dims.Integer(4), dims.Word(8), dims.Word(10)}),
            std::vector<uint32_t>({0, 10, 0, 3}));

  TextSource again({{"a"}, {"b"}, {"c"}}, Rows(9, 3));
  XlsExporter extra(again, Path("extra.xls"));
  extra.AddStringCell(6, 20, u"far");
  const Record far = extra.Write().sheets.at(0).First(kDimensions);
  EXPECT_EQ(std::vector<uint32_t>({far.Integer(0), far.Integer(4), far.Word(8), far.Word(10)}),
            std::vector<uint32_t>({0, 20, 0, 6}));

  TextSource nothing({{"a"}}, {});
  XlsExporter blank(nothing, Path("blank.xls"));
  blank.AllowCaptions = false;
  const Record zero = blank.Write().sheets.at(0).First(kDimensions);
  EXPECT_EQ(zero.body, std::vector<uint8_t>(14, 0));
}

TEST_F(ExporterBytes, HyperlinkTooLongForItsRecordIsLeftOutAndReported) {
  TextSource source({{"a"}}, {{"x"}});
  XlsExporter xls(source, Path());
  std::vector<std::string> reported;
  xls.OnItemLeftOut = [&](TVantrix3XLS&, const std::string& message) { reported.push_back(message); };
  TxlsHyperlink& huge = xls.Hyperlinks.Add();
  huge.Col = 2;
  huge.Row = 1;
  huge.Title = std::u16string(5000, u't');
  huge.Target = u"https://example.com/";
  TxlsHyperlink& fine = xls.Hyperlinks.Add();
  fine.Col = 3;
  fine.Row = 1;
  fine.Title = u"ok";
  fine.Target = u"https://example.com/";
  const xlstest::Workbook book = xls.Write();
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_NE(reported[0].find("column 2, row 1"), std::string::npos);
  EXPECT_EQ(xls.LeftOut(), reported);
  const xlstest::Substream& sheet = book.sheets.at(0);
  EXPECT_EQ(sheet.Count(kHLink), 1u);
  EXPECT_EQ(xlstest::CellAt(sheet, 0, 1), nullptr);
  ASSERT_NE(xlstest::CellAt(sheet, 0, 2), nullptr);
  for (const Record& r : sheet.records) EXPECT_LE(r.body.size(), 8224u);
}

TEST_F(ExporterBytes, ManyMergedRangesSplitOverRecordsWithinTheLimit) {
  TextSource source({{"a"}}, {{"x"}});
  XlsExporter xls(source, Path());
  for (int i = 1; i <= 2000; ++i) xls.AddMergedCells(i, i, 2, 3);
  xls.AddMergedCells(0, 1, 1, 1);  // not a range: left out
  const xlstest::Workbook book = xls.Write();
  const auto records = book.sheets.at(0).All(kMergedCells);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]->Word(0), 1027);
  EXPECT_EQ(records[1]->Word(0), 973);
  EXPECT_EQ(records[0]->body.size(), 2u + 8 * 1027);
  EXPECT_EQ(records[1]->Word(2 + 8 * 972), 1999);  // the last range's first row, from 0
}

TEST_F(ExporterBytes, CellsByColumnType) {
  TextSource source({{"n", ectFloat}, {"d", ectDate}, {"t", ectTime}, {"b", ectBoolean}},
                    {{"2.5", "28/02/1900", "12:30:00", "TRUE"},
                     {"n/d", "01/03/1900", "", "no"},
                     {"(null)", "someday", "06:00:00", "true"}});
  XlsExporter xls(source, Path());
  FormatSettings settings = exporttest::CSettings();
  settings.shortDateFormat = "dd/mm/yyyy";
  settings.dateSeparator = '/';
  xls.Formats().SetSettings(settings);
  xls.Formats().ResetFormats();
  xls.Formats().SetBooleanTrue("true");
  xls.Formats().SetNullString("(null)");
  const xlstest::Workbook book = xls.Write();
  const xlstest::Substream& s = book.sheets.at(0);
  auto cell = [&](int row, int col) { return *xlstest::CellAt(s, row, col); };
  auto text = [&](int row, int col) { return xlstest::SharedString(book, cell(row, col).Integer(6)); };

  EXPECT_EQ(cell(1, 0).id, kNumber);
  EXPECT_EQ(cell(1, 0).Double(6), 2.5);
  EXPECT_EQ(cell(2, 0).id, kLabel);  // no number: kept as written, not a 0
  EXPECT_EQ(text(2, 0), u"n/d");
  EXPECT_EQ(cell(3, 0).id, kLabel);  // the null text
  EXPECT_EQ(cell(1, 1).Double(6), 59);  // day 60 of the date-time scale
  EXPECT_EQ(cell(2, 1).Double(6), 61);
  EXPECT_EQ(text(3, 1), u"someday");
  EXPECT_EQ(cell(1, 2).id, kLabel);  // a time alone, in the column's picture
  EXPECT_EQ(text(1, 2), u"12:30:00");
  EXPECT_EQ(cell(2, 2).id, kBlank);
  EXPECT_EQ(cell(1, 3).id, kBoolErr);
  EXPECT_EQ(cell(1, 3).body[6], 1);
  EXPECT_EQ(cell(2, 3).body[6], 0);
  EXPECT_EQ(cell(3, 3).body[6], 1);
}

TEST_F(ExporterBytes, StripStylesAlternateByRowOrByColumn) {
  for (const TxlsStripType type : {ssRow, ssCol}) {
    TextSource source({{"a"}, {"b"}}, Rows(4, 2));
    XlsExporter xls(source, Path(type == ssRow ? "rows.xls" : "cols.xls"));
    xls.StripType = type;
    for (const TxlsColor color : {clrYellow, clrAqua}) {
      TxlsFormat& style = xls.StripStyles.Add();
      style.Fill.Pattern = ptSolid;
      style.Fill.Background = color;
    }
    const xlstest::Substream sheet = xls.Write().sheets.at(0);
    auto xf = [&](int row, int col) { return xlstest::CellAt(sheet, row, col)->Word(4); };
    if (type == ssRow) {
      EXPECT_EQ(xf(1, 0), xf(1, 1));
      EXPECT_NE(xf(1, 0), xf(2, 0));
      EXPECT_EQ(xf(1, 0), xf(3, 0));
    } else {
      EXPECT_NE(xf(1, 0), xf(1, 1));
      EXPECT_EQ(xf(1, 0), xf(2, 0));
    }
  }
}

TEST_F(ExporterBytes, DataHandlerStylesCellsWithoutAFormatPerCell) {
  TextSource source({{"a"}, {"b"}}, Rows(200, 2));
  XlsExporter xls(source, Path());
  xls.OnGetDataParams = [&](TxlsSheet& sheet, int, int, int row, TxlsFormat& format, std::string&) {
    if (row == 1) format.SetFont(&sheet.Options.CaptionsFormat.Font);
  };
  const xlstest::Workbook book = xls.Write();
  const xlstest::Substream& s = book.sheets.at(0);
  const uint16_t bold = xlstest::CellAt(s, 1, 0)->Word(4);
  EXPECT_EQ(xlstest::CellAt(s, 0, 0)->Word(4), bold);  // the captions' own bold
  const uint16_t plain = xlstest::CellAt(s, 2, 0)->Word(4);
  EXPECT_NE(plain, bold);
  EXPECT_EQ(xlstest::CellAt(s, 200, 1)->Word(4), plain);
  EXPECT_EQ(book.globals.Count(kXF), 18u);
  EXPECT_EQ(book.globals.Count(kFont), 5u);
}

}  // namespace
