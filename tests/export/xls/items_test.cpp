// The workbook's extension items: their option-file text (golden) and the way back, validity
// inside a sheet, anchors of notes, charts and images, picture names, sizes and stored bytes,
// the hyperlink's record body against its size, and typed extra cells.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QImage>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "export/export_fixtures.h"
#include "export/xls/vantrix3_xls.h"
#include "export/xls/xls_options.h"
#include "platform/ini_file.h"

namespace {

using namespace vantrix;
using exporttest::ReadFile;
using exporttest::TempFolder;
using exporttest::WriteFile;
using Bytes = std::vector<uint8_t>;

// An exporter's sheet as its items see it: the exporter's pictures, fixed column widths and
// row heights, and the used range once written.
class SheetOwner : public TxlsItemsOwner, public TxlsSheetLayout {
 public:
  TxlsPictures Pictures{this};
  TxlsImages Images{this};
  TxlsCharts Charts{this};
  std::optional<TxlsUsedRange> range;
  int columnWidth = 8;
  int rowHeight = 255;

  const TxlsPictures* ComponentPictures() const override { return &Pictures; }
  const TxlsSheetLayout* SheetLayout() const override { return this; }
  std::vector<const TxlsImages*> ComponentSheetImages() const override { return {&Images}; }
  std::optional<TxlsUsedRange> WrittenRange() const override { return range; }
  int ColumnWidth(int) const override { return columnWidth; }
  int RowHeight(int) const override { return rowHeight; }
};

constexpr const char* kItemsGolden =
    "[Link]\r\nCol=3\r\nRow=7\r\nStyle=1\r\nTitle=Relat\xF3rio\r\nTarget=/srv/dados/relat\xF3rio.pdf\r\nScreenTip=abre\r\n"
    "[Note]\r\nCol=2\r\nRow=10\r\nFontName=Tahoma\r\nFontSize=8\r\nFontColor=clBlack\r\nFontBold=1\r\nFontItalic=0\r\n"
    "FontStrikeOut=0\r\nFontUnderline=0\r\nHorAlignment=1\r\nVertAlignment=0\r\nBackgroundColor=14811135\r\n"
    "ForegroundColor=14811135\r\nFillType=0\r\nTransparency=0\r\nOrientation=0\r\nGradient=0\r\n"
    "[Note_LINES]\r\nline0=primeira linha\r\nline1=segunda = linha\r\n"
    "[Chart]\r\nAutoColor=0\r\nLegendPlacement=1\r\nShowLegend=0\r\nStyle=8\r\nTitle=Temperaturas\r\n"
    "CategoryLabelsType=1\r\nCategoryLabelsColumn=Hora\r\nCol1=1\r\nRow1=2\r\nCol2=1\r\nRow2=40\r\n"
    "ChartPlacement=1\r\nChartHeight=12\r\nChartLeft=-1\r\nChartTop=2\r\nChartWidth=6\r\nX1=4\r\nY1=5\r\nX2=9\r\n"
    "Y2=20\r\nPositionType=1\r\n"
    "[Chart_SERIES_0]\r\nColor=16\r\nTitle=Canal 1\r\nColumn=Temperatura\r\nDataRangeType=0\r\nCol1=0\r\nRow1=0\r\n"
    "Col2=0\r\nRow2=0\r\n"
    "[Chart_SERIES_1]\r\nColor=20\r\nTitle=\r\nColumn=\r\nDataRangeType=1\r\nCol1=2\r\nRow1=2\r\nCol2=2\r\nRow2=40\r\n"
    "[Cell]\r\nCellType=2\r\nCol=5\r\nRow=1\r\nDateTimeFormat=dd/mm/yyyy hh:nn\r\nNumericFormat=0.000\r\n"
    "BooleanValue=1\r\nYear=2024\r\nMonth=2\r\nDay=29\r\nHour=13\r\nMin=45\r\nSec=30\r\nMSec=250\r\nSeparator=,\r\n"
    "NumericValue=-1234,5\r\nStringValue=\xE9\r\n"
    "[Merged]\r\nFirstCol=1\r\nFirstRow=2\r\nLastCol=4\r\nLastRow=3\r\n";

TEST(Items, EveryItemInTheOptionFileAsGoldenTextAndBack) {
  TempFolder folder;
  const std::string path = folder / "options.cfg";
  TxlsHyperlink link;
  link.Col = 3;
  link.Row = 7;
  link.Style = hlsLocalFile;
  link.Title = u"Relat\u00F3rio";
  link.Target = u"/srv/dados/relat\u00F3rio.pdf";
  link.ScreenTip = u"abre";
  TxlsNote note;
  note.Col = 2;
  note.Row = 10;
  note.Lines = {"primeira linha", "segunda = linha"};
  TxlsChart chart;
  chart.AutoColor = false;
  chart.LegendPlacement = clpCorner;
  chart.ShowLegend = false;
  chart.Style = xcsPie3d;
  chart.Title = u"Temperaturas";
  chart.CategoryLabelsType = rtCustom;
  chart.CategoryLabelsColumn = "Hora";
  chart.CategoryLabels = {1, 1, 2, 40};
  chart.Position.AutoPosition = {cpRight, 12, -1, 2, 6};
  chart.Position.CustomPosition = {4, 9, 5, 20};
  chart.Position.PositionType = cptCustom;
  TxlsChartSeries& first = chart.Series.Add();
  first.Color = clrRed;
  first.Title = u"Canal 1";
  first.DataColumn = "Temperatura";
  TxlsChartSeries& second = chart.Series.Add();
  second.DataRangeType = rtCustom;
  second.DataRange = {2, 2, 2, 40};
  FormatSettings comma = exporttest::BrSettings();
  TxlsCell cell;
  cell.SetFormatSettings(comma);
  cell.CellType = ctNumeric;
  cell.Col = 5;
  cell.Row = 1;
  cell.DateTimeFormat = "dd/mm/yyyy hh:nn";
  cell.NumericFormat = "0.000";
  cell.BooleanValue = true;
  ASSERT_TRUE(platform::TryEncodeDateTime(2024, 2, 29, 13, 45, 30, 250, cell.DateTimeValue));
  cell.NumericValue = -1234.5;
  cell.StringValue = u"\u00E9";
  TxlsMergedCells merged;
  merged.FirstCol = 1;
  merged.FirstRow = 2;
  merged.LastCol = 4;
  merged.LastRow = 3;
  {
    platform::IniFile ini(path);
    platform::IniFile::UpdateScope scope(ini);
    link.SaveToIniFile(ini, "Link");
    note.SaveToIniFile(ini, "Note");
    chart.SaveToIniFile(ini, "Chart");
    cell.SaveToIniFile(ini, "Cell");
    merged.SaveToIniFile(ini, "Merged");
  }
  EXPECT_EQ(ReadFile(path), kItemsGolden);

  const platform::IniFile ini(path);
  TxlsHyperlink link2;
  link2.LoadFromIniFile(ini, "Link");
  EXPECT_EQ(link2.GetBody(), link.GetBody());
  TxlsNote note2;
  note2.LoadFromIniFile(ini, "Note");
  EXPECT_EQ(note2.Lines, note.Lines);
  EXPECT_TRUE(note2.Format.IsEqual(&note.Format));
  TxlsChart chart2;
  chart2.LoadFromIniFile(ini, "Chart");
  EXPECT_EQ(chart2.Position, chart.Position);
  EXPECT_EQ(chart2.CategoryLabels, chart.CategoryLabels);
  ASSERT_EQ(chart2.Series.Count(), 2u);
  EXPECT_EQ(chart2.Series[0].Color, clrRed);
  EXPECT_EQ(chart2.Series[1].DataRange, second.DataRange);
  EXPECT_EQ(chart2.GetDisplayName(), "Temperaturas");
  // Read in a locale with another decimal separator, the number keeps its value.
  TxlsCell cell2;
  cell2.SetFormatSettings(exporttest::CSettings());
  cell2.LoadFromIniFile(ini, "Cell");
  EXPECT_EQ(cell2.NumericValue, -1234.5);
  EXPECT_EQ(cell2.DateTimeValue, cell.DateTimeValue);
  EXPECT_EQ(cell2.StringValue, u"\u00E9");
  EXPECT_EQ(cell2.GetDisplayName(), "Col: 5 Row: 1 ");
  TxlsMergedCells merged2;
  merged2.LoadFromIniFile(ini, "Merged");
  EXPECT_EQ(merged2.GetDisplayName(), "Merged Cells (1, 2, 4, 3)");
}

TEST(Items, SavingAgainLeavesNoLinesOrSeriesOfAnEarlierSave) {
  TempFolder folder;
  platform::IniFile ini(folder / "options.cfg");
  TxlsNote note;
  note.Lines = {"a", "b", "c"};
  TxlsChart chart;
  chart.Series.Add();
  chart.Series.Add();
  note.SaveToIniFile(ini, "N");
  chart.SaveToIniFile(ini, "C");
  note.Lines = {"x"};
  chart.Series.Delete(1);
  note.SaveToIniFile(ini, "N");
  chart.SaveToIniFile(ini, "C");
  TxlsNote note2;
  note2.LoadFromIniFile(ini, "N");
  EXPECT_EQ(note2.Lines, TStrings{"x"});
  TxlsChart chart2;
  chart2.LoadFromIniFile(ini, "C");
  EXPECT_EQ(chart2.Series.Count(), 1u);
}

TEST(Items, SeriesReadWithoutColourIsBlackWhileANewOneIsAqua) {
  TempFolder folder;
  const std::string path = folder / "options.cfg";
  WriteFile(path, "[S]\r\nTitle=t\r\n[T]\r\nColor=99\r\n");
  TxlsChartSeries series;
  EXPECT_EQ(series.Color, clrAqua);
  series.LoadFromIniFile(platform::IniFile(path), "S");
  EXPECT_EQ(series.Color, clrBlack);
  series.LoadFromIniFile(platform::IniFile(path), "T");
  EXPECT_EQ(series.Color, clrBlack);
}

// A hand-edited file may hold any number: each stops at the last row or column its record
// field holds (a 16-bit row of 70000 would otherwise become row 4464), and below at 0.
TEST(Items, RowsAndColumnsFromAFileStayWithinTheirRecordFields) {
  TempFolder folder;
  const std::string path = folder / "options.cfg";
  WriteFile(path,
            "[L]\r\nCol=300\r\nRow=70000\r\n[N]\r\nCol=256\r\nRow=-3\r\n[N_LINES]\r\nline0=x\r\n"
            "[C]\r\nCol=70000\r\nRow=70000\r\n[M]\r\nFirstCol=-1\r\nFirstRow=1\r\nLastCol=70000\r\n"
            "LastRow=99999999999\r\n[G]\r\nStyle=0\r\nCol1=300\r\nRow1=70000\r\nX1=-2\r\nY1=70000\r\n"
            "X2=256\r\nY2=65535\r\n[G_SERIES_0]\r\nCol2=999\r\nRow2=-70000\r\n");
  const platform::IniFile ini(path);
  TxlsHyperlink link;
  link.LoadFromIniFile(ini, "L");
  EXPECT_EQ(link.Col, 256);  // a link may sit in the last column
  EXPECT_EQ(link.Row, 65535);
  TxlsNote note;
  note.LoadFromIniFile(ini, "N");
  EXPECT_EQ(note.Col, 255);  // the box needs the column beside it
  EXPECT_EQ(note.Row, 0);
  TxlsCell cell;
  cell.LoadFromIniFile(ini, "C");
  EXPECT_EQ(cell.Col, 65535);
  EXPECT_EQ(cell.Row, 65535);
  TxlsMergedCells merged;
  merged.LoadFromIniFile(ini, "M");
  EXPECT_EQ(merged.FirstCol, 0);
  EXPECT_EQ(merged.FirstRow, 1);
  EXPECT_EQ(merged.LastCol, 65535);
  EXPECT_LE(merged.LastRow, 65535);
  TxlsChart chart;
  chart.LoadFromIniFile(ini, "G");
  EXPECT_EQ(chart.CategoryLabels.Col1, 255);
  EXPECT_EQ(chart.CategoryLabels.Row1, 65535);
  const TxlsChartCustomPosition& at = chart.Position.CustomPosition;
  EXPECT_EQ(std::vector<int>({at.X1, at.Y1, at.X2, at.Y2}), std::vector<int>({0, 65535, 255, 65535}));
  ASSERT_EQ(chart.Series.Count(), 1u);
  EXPECT_EQ(chart.Series[0].DataRange.Col2, 255);
  EXPECT_EQ(chart.Series[0].DataRange.Row2, 0);
}

TEST(Items, ValidOnlyInsideASheet) {
  TxlsHyperlink link;
  link.Title = u"t";
  link.Target = u"http://x";
  link.Row = 1;
  link.Col = 256;
  EXPECT_TRUE(link.IsValid());
  link.Col = 257;
  EXPECT_FALSE(link.IsValid());
  link.Col = 1;
  link.Row = 65537;
  EXPECT_FALSE(link.IsValid());

  TxlsNote note;
  note.Lines = {"n"};
  note.Row = 1;
  note.Col = 255;
  EXPECT_TRUE(note.IsValid());
  note.Col = 256;
  EXPECT_FALSE(note.IsValid()) << "the box beside it would leave the sheet";
  note.Col = 1;
  note.Lines.clear();
  EXPECT_FALSE(note.IsValid());

  TxlsCell cell;
  cell.Col = 256;
  cell.Row = 65536;
  EXPECT_TRUE(cell.IsCorrect());
  cell.Row = 65537;
  EXPECT_FALSE(cell.IsCorrect()) << "would wrap to row 0 in the record";
  cell.Row = 1;
  cell.Col = 257;
  EXPECT_FALSE(cell.IsCorrect());

  TxlsMergedCells merged;
  merged.FirstCol = merged.FirstRow = 1;
  merged.LastCol = 256;
  merged.LastRow = 65536;
  EXPECT_TRUE(merged.IsCorrect());
  merged.LastCol = 257;
  EXPECT_FALSE(merged.IsCorrect());
  merged.LastCol = 3;
  merged.FirstRow = 9;
  merged.LastRow = 8;
  EXPECT_FALSE(merged.IsCorrect()) << "first after last";
}

TEST(Items, NoteBoxesSitBesideTheirCell) {
  TxlsNote note;
  note.Col = 4;
  for (const auto& [row, top] : std::vector<std::pair<int, int>>{{1, 0}, {2, 0}, {3, 1}, {10, 8}}) {
    note.Row = row;
    const TMSO_Anchor a = note.GetAnchor();
    EXPECT_EQ(a.Row1, top) << row;
    EXPECT_EQ(a.Row2, top + 5) << row;
    EXPECT_EQ(a.Col1, 4);
    EXPECT_EQ(a.Col2, 6);
    EXPECT_EQ(a.Dx1 + a.Dy1 + a.Dx2 + a.Dy2, 0);
  }
  note.Row = 65536;
  EXPECT_EQ(note.GetAnchor().Row2, 65535) << "kept inside the sheet";
}

TEST(Items, HyperlinkBodyIsAsLongAsItsSize) {
  TxlsHyperlink link;
  link.Col = 2;
  link.Row = 5;
  link.Title = u"Site";
  link.Target = u"http://exemplo.com.br/";
  Bytes body = link.GetBody();
  EXPECT_EQ(body.size(), link.GetSize());
  EXPECT_EQ(body.size(), 38u + 8 + 22 + 44);
  EXPECT_EQ(Bytes(body.begin(), body.begin() + 8), (Bytes{4, 0, 4, 0, 1, 0, 1, 0}));
  EXPECT_EQ(body[8], 0xD0);
  EXPECT_EQ(body[32], 5) << "title count with its terminating zero";
  EXPECT_EQ(body[46], 0xE0) << "URL moniker";

  link.Style = hlsLocalFile;
  link.Target = u"/srv/relat\u00F3rio.pdf";
  EXPECT_EQ(link.GetShortTarget(), "/srv/relat\xF3rio.pdf");
  body = link.GetBody();
  EXPECT_EQ(body.size(), link.GetSize());
  EXPECT_EQ(body[46], 0x03) << "file moniker";
  const size_t pathLength = body[64];
  EXPECT_EQ(pathLength, link.GetShortTarget().size() + 1);
  EXPECT_EQ(body[68 + pathLength - 1], 0) << "the 8-bit path ends with its zero";
}

TEST(Items, PicturesAreNamedFreshlyAndRenamedOnlyToFreeNames) {
  TxlsPictures pictures(nullptr);
  TxlsPicture& first = pictures.Add();
  TxlsPicture& second = pictures.Add();
  EXPECT_EQ(first.Name(), "Picture_0");
  EXPECT_EQ(second.Name(), "Picture_1");
  try {
    second.SetName("picture_0");
    ADD_FAILURE() << "renamed to a taken name";
  } catch (const ExlsFileError& e) {
    EXPECT_STREQ(e.what(), "A picture picture_0 already exists");
  }
  EXPECT_THROW(second.SetName(""), ExlsFileError);
  second.SetName("PICTURE_1");
  first.SetName("Logo");
  EXPECT_EQ(pictures.Add().Name(), "Picture_0");
  int index = -1;
  EXPECT_TRUE(pictures.Find("logo", index));
  EXPECT_EQ(index, 0);

  // A copied collection keeps the names its images refer to.
  TxlsPictures copy(nullptr);
  copy.Add();
  copy.Assign(pictures);
  ASSERT_EQ(copy.Count(), 3u);
  EXPECT_EQ(copy[0].Name(), "Logo");
  EXPECT_EQ(copy[1].Name(), "PICTURE_1");
  EXPECT_EQ(copy[2].Name(), "Picture_0");

  TxlsPicture loose;
  EXPECT_EQ(loose.Name(), "Picture_0");
  TxlsImages images(nullptr);
  images.Add();
  EXPECT_EQ(images.Add().Title, u"Image_1");
  EXPECT_EQ(TxlsImage().GetPictureIndex(), -1);
}

TEST(Items, PictureTypesBySuffixAndSizesByHeader) {
  EXPECT_EQ(GetXLSPictureType("a.gif"), ptPNG);
  EXPECT_EQ(GetXLSPictureType("/x/A.JPEG"), ptJPEG);
  EXPECT_EQ(GetXLSPictureType("b.bmp"), ptDIB);
  EXPECT_EQ(GetXLSPictureType("c.wmf"), ptWMF);
  EXPECT_EQ(GetXLSPictureType("no_suffix"), ptUndefined);
  EXPECT_EQ(GetXLSPictureType("dir.png/file"), ptUndefined);
  TxlsGraphic graphic;
  graphic.SetFileName("fundo.VBMP");
  EXPECT_EQ(graphic.GraphicType(), gtBMP);
  graphic.SetFileName("fundo.ico ");
  EXPECT_EQ(graphic.GraphicType(), gtICO);

  TempFolder folder;
  // A GIF whose screen is 3 wide and 2 high: the sizes come from its header.
  const std::string gif = folder / "logo.gif";
  WriteFile(gif, std::string("GIF89a\x03\x00\x02\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff"
                             ",\x00\x00\x00\x00\x03\x00\x02\x00\x00\x02\x03\x84\x8f\x59\x00;",
                             44));
  graphic.SetFileName(gif);
  int height = -1, width = -1;
  graphic.GetMeasurements(height, width);
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 2);
  // Stored as PNG, which readers can show.
  Bytes data;
  EXPECT_EQ(graphic.GetPictureData(data), ptPNG);
  ASSERT_GE(data.size(), 8u);
  EXPECT_EQ(Bytes(data.begin(), data.begin() + 4), (Bytes{0x89, 'P', 'N', 'G'}));
  QImage png;
  EXPECT_TRUE(png.loadFromData(data.data(), static_cast<int>(data.size()), "PNG"));

  const std::string jpeg = folder / "foto.jpg";
  QImage(7, 5, QImage::Format_RGB32).save(QString::fromStdString(jpeg), "JPEG");
  graphic.SetFileName(jpeg);
  graphic.GetMeasurements(height, width);
  EXPECT_EQ(width, 7);
  EXPECT_EQ(height, 5);
  EXPECT_EQ(graphic.GetPictureData(data), ptJPEG);
  const std::string jpegBytes = ReadFile(jpeg);
  EXPECT_EQ(data, Bytes(jpegBytes.begin(), jpegBytes.end()));

  graphic.SetFileName(folder / "missing.png");
  graphic.GetMeasurements(height, width);
  EXPECT_EQ(height + width, 0);
  EXPECT_EQ(graphic.GetPictureData(data), ptUndefined);
  EXPECT_TRUE(data.empty());

  // Bytes given directly carry their own size; a bitmap is stored without its file header.
  const Bytes bmp = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 40, 0, 0, 0};
  graphic.SetFileName("");
  graphic.SetStream(bmp, 640, 480);
  EXPECT_FALSE(graphic.IsFileSource());
  graphic.GetMeasurements(height, width);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  EXPECT_EQ(graphic.GetPictureData(data), ptDIB);
  EXPECT_EQ(data, (Bytes{40, 0, 0, 0}));
  TxlsGraphic copy;
  copy.AssignGraphic(graphic);
  EXPECT_EQ(copy.Stream(), bmp);
  EXPECT_EQ(copy.StreamWidth(), 640);
}

// What is stored is what the bytes hold: a file named as a picture that holds none is not
// stored (readers of the workbook fail on it), and says why; one named as another kind is
// stored as its own kind.
TEST(Items, PicturesAreStoredAsWhatTheirBytesHold) {
  TempFolder folder;
  TxlsGraphic graphic;
  Bytes data;
  std::string problem;
  for (const char* name : {"notas.jpg", "notas.png", "notas.bmp", "notas.gif", "notas.wmf", "notas.emf"}) {
    WriteFile(folder / name, "Leituras de 7 de dezembro\n");
    graphic.SetFileName(folder / name);
    EXPECT_EQ(graphic.GetPictureData(data, &problem), ptUndefined) << name;
    EXPECT_TRUE(data.empty()) << name;
    EXPECT_EQ(problem, "its file holds no picture") << name;
  }
  WriteFile(folder / "empty.png", "");
  graphic.SetFileName(folder / "empty.png");
  EXPECT_EQ(graphic.GetPictureData(data, &problem), ptUndefined);
  EXPECT_EQ(problem, "its file holds no picture");
  graphic.SetFileName(folder / "missing.png");
  EXPECT_EQ(graphic.GetPictureData(data, &problem), ptUndefined);
  EXPECT_EQ(problem, "its file cannot be read: " + std::string(std::strerror(ENOENT)));

  const std::string png = folder / "foto.jpg";  // a PNG under a JPEG's name
  ASSERT_TRUE(QImage(3, 2, QImage::Format_RGB32).save(QString::fromStdString(png), "PNG"));
  graphic.SetFileName(png);
  EXPECT_EQ(graphic.GetPictureData(data, &problem), ptPNG);
  EXPECT_EQ(problem, "");
  const std::string pngBytes = ReadFile(png);
  EXPECT_EQ(data, Bytes(pngBytes.begin(), pngBytes.end()));

  // Metafiles by their headers: a placeable one, a plain one, an enhanced one.
  Bytes placeable = {0xD7, 0xCD, 0xC6, 0x9A};
  placeable.resize(40, 0);
  const Bytes plain = {1, 0, 9, 0, 0, 3, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0};
  Bytes enhanced(100, 0);
  enhanced[0] = 1;
  std::copy_n(" EMF", 4, enhanced.begin() + 40);
  const std::pair<Bytes, TxlsPictureType> metafiles[] = {{placeable, ptWMF}, {plain, ptWMF}, {enhanced, ptEMF}};
  for (const auto& [bytes, type] : metafiles) {
    graphic.SetFileName(folder / "desenho.wmf");
    WriteFile(folder / "desenho.wmf", std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(graphic.GetPictureData(data), type);
    EXPECT_EQ(data, bytes);
  }

  // Bytes given directly are taken by what they hold too, whatever name goes with them.
  graphic.SetFileName("logo.png");
  graphic.SetStream(Bytes(32, 0x41), 4, 4);
  EXPECT_EQ(graphic.GetPictureData(data, &problem), ptUndefined);
  EXPECT_EQ(problem, "its bytes are not a picture");
}

TEST(Items, ImagesFindTheirPictureAndLandOverColumnsAndRows) {
  SheetOwner sheet;
  TxlsPicture& logo = sheet.Pictures.Add();
  sheet.Pictures.Add().SetName("Logo");
  logo.SetStream(Bytes(10, 1), 100, 40);
  TxlsImage& image = sheet.Images.Add();
  image.PictureName = "Picture_0";
  image.Col = 1;
  image.Row = 2;
  EXPECT_EQ(image.GetPictureIndex(), 1);
  EXPECT_EQ(logo.CalcRefCount(), 1);
  EXPECT_EQ(sheet.Pictures[1].CalcRefCount(), 0);

  // Columns of (8 + 1) × 7 + 1 = 64 pixels; rows of 255 twips; 100 × 40 pixels.
  const FixedTextMeasure measure(7);
  TMSO_Anchor a = image.GetAnchor(measure);
  EXPECT_EQ(a.Col1, 1);
  EXPECT_EQ(a.Row1, 2);
  EXPECT_EQ(a.Col2, 2);
  EXPECT_EQ(a.Dx2, 576) << "36 of 64 pixels into the second column";
  EXPECT_EQ(a.Row2, 4);
  EXPECT_EQ(a.Dy2, 90) << "90 of 255 twips into the third row";

  image.SetZoom(50);
  a = image.GetAnchor(measure);
  EXPECT_EQ(a.Col2, 1);
  EXPECT_EQ(a.Dx2, 800);

  // Rows of no height count as 1 twip: the picture ends far down, inside the sheet.
  sheet.rowHeight = 0;
  image.SetZoom(1000);
  a = image.GetAnchor(measure);
  EXPECT_EQ(a.Row2, 2 + 400 * 15);
  sheet.columnWidth = -1;
  a = image.GetAnchor(measure);
  EXPECT_EQ(a.Col2, 255) << "kept inside the sheet";

  image.PictureName = "nothing";
  EXPECT_EQ(image.GetAnchor(measure), TMSO_Anchor());
  EXPECT_EQ(image.GetPictureIndex(), -1);

  TxlsImage copy;
  copy.Assign(image);
  EXPECT_EQ(copy.Zoom(), 1000) << "the zoom goes with the copy";
  copy.SetZoom(5000);
  EXPECT_EQ(copy.Zoom(), TxlsImage::kMaxZoom);
}

TEST(Items, ChartsPlacedByHandOrAfterTheWrittenData) {
  SheetOwner sheet;
  TxlsChart& chart = sheet.Charts.Add();
  EXPECT_EQ(chart.GetAnchor(), TMSO_Anchor()) << "not written yet";
  sheet.range = TxlsUsedRange{0, 20, 1, 3};
  TMSO_Anchor a = chart.GetAnchor();
  EXPECT_EQ(a.Row1, 21);
  EXPECT_EQ(a.Col1, 1);
  EXPECT_EQ(a.Row2, 31);
  EXPECT_EQ(a.Col2, 6);

  chart.Position.AutoPosition.Placement = cpRight;
  chart.Position.AutoPosition.Left = -10;
  a = chart.GetAnchor();
  EXPECT_EQ(a.Row1, 0);
  EXPECT_EQ(a.Col1, 1);
  EXPECT_EQ(a.Col2, 6);

  chart.Position.PositionType = cptCustom;
  chart.Position.CustomPosition = {2, 5, 3, 9};
  a = chart.GetAnchor();
  EXPECT_EQ(a.Col1, 1);
  EXPECT_EQ(a.Row1, 2);
  EXPECT_EQ(a.Col2, 4);
  EXPECT_EQ(a.Row2, 8);
  chart.Position.CustomPosition = {0, 0, 0, 0};
  EXPECT_EQ(chart.GetAnchor(), TMSO_Anchor()) << "unset cells stay at the sheet's first";

  TxlsChart loose;
  loose.Position.PositionType = cptCustom;
  loose.Position.CustomPosition = {2, 5, 3, 9};
  EXPECT_EQ(loose.GetAnchor(), TMSO_Anchor());
  TxlsChart copy;
  copy.Assign(chart);
  EXPECT_EQ(copy.Position, chart.Position);
}

TEST(Items, ExtraCellsKeepAValueOfTheirType) {
  TxlsCell cell;
  cell.SetFormatSettings(exporttest::CSettings());
  cell.CellType = ctNumeric;
  EXPECT_FALSE(cell.IsCorrectValue(QString("abc")));
  cell.SetValue(QString("abc"));
  EXPECT_EQ(cell.GetValue().toDouble(), 0.0);
  cell.SetValue(QString("2.5"));
  EXPECT_EQ(cell.NumericValue, 2.5);
  cell.SetValue(7);
  EXPECT_EQ(cell.GetValue().toDouble(), 7.0);

  cell.CellType = ctBoolean;
  cell.SetValue(QString("TRUE"));
  EXPECT_TRUE(cell.BooleanValue);
  cell.SetValue(QString("talvez"));
  EXPECT_FALSE(cell.BooleanValue);
  EXPECT_EQ(cell.NumericValue, 7.0) << "each type keeps its own value";

  cell.CellType = ctDateTime;
  cell.SetValue(QDateTime(QDate(2024, 3, 1), QTime(6, 0)));
  TDateTime expected = 0;
  ASSERT_TRUE(platform::TryEncodeDateTime(2024, 3, 1, 6, 0, 0, 0, expected));
  EXPECT_DOUBLE_EQ(cell.DateTimeValue, expected);
  EXPECT_EQ(cell.GetValue().toDateTime(), QDateTime(QDate(2024, 3, 1), QTime(6, 0)));

  cell.CellType = ctString;
  EXPECT_TRUE(cell.IsCorrectValue(QVariant(1.5)));
  cell.SetValue(QString("\u00E7\u4E2D"));
  EXPECT_EQ(cell.StringValue, u"\u00E7\u4E2D");
  cell.SetValue(1.5);
  EXPECT_EQ(cell.StringValue, u"1.5");
}

// The exporter and each of its sheets take cells and ranges in code, each into its own items.
TEST(Items, CellsAndRangesAddedInCodeGoToTheirOwner) {
  TVantrix3XLS xls;
  TxlsSheet& sheet = xls.Sheets.Add();
  const auto fill = [](auto& owner, int col) {
    owner.AddBooleanCell(col, 1, true);
    owner.AddDateTimeCell(col, 2, "dd/mm/yyyy", 45000.25);
    owner.AddNumericCell(col, 3, "0.00", 1234.5);
    owner.AddStringCell(col, 4, u"a\u00E7\u00E3o");
    owner.AddMergedCells(5, 6, col, col + 2);  // both rows, then both columns
  };
  fill(xls, 2);
  fill(sheet, 7);
  for (const auto& [cells, ranges, col] : {std::tuple{&xls.Cells, &xls.MergedCells, 2},
                                          std::tuple{&sheet.Cells, &sheet.MergedCells, 7}}) {
    ASSERT_EQ(cells->Count(), 4u);
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_EQ((*cells)[i].Col, col);
      EXPECT_EQ((*cells)[i].Row, static_cast<int>(i) + 1);
      EXPECT_EQ((*cells)[i].CellType, static_cast<TxlsCellType>(i));
    }
    EXPECT_TRUE((*cells)[0].BooleanValue);
    EXPECT_EQ((*cells)[1].DateTimeFormat, "dd/mm/yyyy");
    EXPECT_EQ((*cells)[1].DateTimeValue, 45000.25);
    EXPECT_EQ((*cells)[2].NumericFormat, "0.00");
    EXPECT_EQ((*cells)[2].NumericValue, 1234.5);
    EXPECT_EQ((*cells)[3].StringValue, u"a\u00E7\u00E3o");
    ASSERT_EQ(ranges->Count(), 1u);
    const TxlsMergedCells& r = (*ranges)[0];
    EXPECT_EQ(std::tuple(r.FirstRow, r.LastRow, r.FirstCol, r.LastCol), std::tuple(5, 6, col, col + 2));
  }
}

// Every setting a sheet shares with the exporter goes from the exporter to a sheet, from that
// sheet to another and back to an exporter, the title with them.
TEST(Items, SheetSettingsGoFromTheExporterToASheetToAnotherAndBack) {
  TVantrixCustomSource source;
  const auto settings = [](const auto& s) {
    std::string text;
    const auto add = [&text](const auto& value) {
      using T = std::decay_t<decltype(value)>;
      if constexpr (std::is_same_v<T, WideString>) text += std::string(value.begin(), value.end()) + "|";
      else if constexpr (std::is_convertible_v<T, std::string>) text += std::string(value) + "|";
      else text += std::to_string(value) + "|";
    };
    const auto lines = [&add](const TStrings& list) {
      for (const std::string& line : list) add(line);
    };
    if constexpr (std::is_same_v<std::decay_t<decltype(s)>, TxlsSheet>) add(s.Title);
    else add(s.Options.SheetTitle());
    add(s.AutoCalcColWidth), add(s.Options.PageHeader), add(s.Options.PageFooter), add(s.StripType);
    add(s.FieldFormats.Count()), add(s.FieldFormats.Count() ? s.FieldFormats[0].FieldName : "");
    add(s.StripStyles.Count()), add(s.Hyperlinks.Count()), add(s.Notes.Count()), add(s.Charts.Count());
    add(s.Images.Count()), add(s.Cells.Count()), add(s.MergedCells.Count());
    add(static_cast<int>(s.ExportSource())), add(s.CustomSource() != nullptr), add(s.HeaderRows);
    add(s.StartDataCol), add(s.FooterRows), add(s.Formats().NullString()), add(s.AllowCaptions);
    add(s.GoToFirstRecord), add(s.ExportRecCount), add(s.SkipRecCount), add(s.CurrentRecordOnly);
    add(s.OnlyVisibleFields), add(s.AutoCalcStrType), add(s.CaptionRow);
    lines(s.ExportedFields), lines(s.Header), lines(s.Captions), lines(s.Footer), lines(s.UserFormats);
    lines(s.ColumnsWidth);
    return text;
  };
  TVantrix3XLS first;
  first.Options.SetSheetTitle("Leituras");
  first.AutoCalcColWidth = true;
  first.Options.PageHeader = u"topo";
  first.Options.PageFooter = u"fim";
  first.StripType = ssRow;
  first.FieldFormats.Add().FieldName = "Temp";
  first.StripStyles.Add();
  first.Hyperlinks.Add();
  first.Notes.Add();
  first.Charts.Add();
  first.Images.Add();
  first.AddStringCell(1, 1, u"x");
  first.AddMergedCells(1, 2, 1, 2);
  first.SetExportSource(esCustom);
  first.SetCustomSource(&source);
  first.HeaderRows = 2, first.StartDataCol = 3, first.FooterRows = 4;
  first.Formats().SetNullString("nada");
  first.AllowCaptions = false, first.GoToFirstRecord = false, first.CurrentRecordOnly = true;
  first.ExportRecCount = 7, first.SkipRecCount = 8, first.CaptionRow = 9;
  first.OnlyVisibleFields = true, first.AutoCalcStrType = true;
  first.ExportedFields = {"Temp"}, first.Header = {"h"}, first.Captions = {"Temp=T"}, first.Footer = {"f"};
  first.UserFormats = {"Temp=0.0"}, first.ColumnsWidth = {"Temp=9"};

  TxlsSheet& loaded = first.Sheets.Add();
  loaded.LoadFromVantrixXLS();
  EXPECT_EQ(settings(loaded), settings(first));
  TVantrix3XLS second;
  TxlsSheet& copied = second.Sheets.Add();
  copied.Assign(loaded);
  EXPECT_EQ(settings(copied), settings(first));
  copied.SaveToVantrixXLS();
  EXPECT_EQ(settings(second), settings(first));
  EXPECT_NE(settings(TVantrix3XLS()), settings(first));  // every value above differs from the default
}

}  // namespace
