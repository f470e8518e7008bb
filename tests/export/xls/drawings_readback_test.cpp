// Notes, pictures and charts in written workbooks, read back by programs we did not write:
// xlrd's notes, gnumeric's comments, images and chart data (ssconvert without a word on
// stderr), and a walk over the drawing records (shape ids unique within each drawing, a
// drawing id per sheet, the drawing group's counts matching the shapes written, images naming
// stored pictures, charts naming the sheets as written).
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <fstream>
#include <set>

#include "export/export_fixtures.h"
#include "read_drawings.h"
#include "reader_check.h"
#include "run_program.h"
#include "xls_fixtures.h"

namespace {

using namespace vantrix;
using exporttest::TempFolder;
using xlstest::ProgramRun;
using xlstest::RunProgram;

class DrawingsReadBack : public testing::Test {
 protected:
  void SetUp() override {
    std::ofstream csv(folder_ / "t.csv");
    csv << "Hora,T,U\n1,20.5,60\n2,21.5,61\n3,22,62\n";
  }
  // export_table on the small table with the arguments; its stderr.
  std::string Export(const QStringList& args, std::string& err) {
    const ProgramRun run = RunProgram(EXPORT_TABLE, QStringList{"--format", "xls", "--locale", "C", "--csv",
                                                               QString::fromStdString(folder_ / "t.csv"), "--output",
                                                               QString::fromStdString(path_)} + args);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    err = run.err.toStdString();
    return path_;
  }
  std::string Export(const QStringList& args) {
    std::string err;
    Export(args, err);
    EXPECT_EQ(err, "");
    return path_;
  }
  // What read_drawings.py finds, with gnumeric's reading; both readers silent.
  QJsonObject Read(const std::string& path) {
    const QJsonObject book = xlstest::ReadDrawings(path, QString::fromStdString(folder_ / "book.gnumeric"));
    xlstest::ExpectReaderMatchesXlrd(path);
    ExpectConsistentDrawings(book);
    return book;
  }
  // Shape ids unique within each drawing, drawing ids distinct, the drawing group's counts the
  // shapes written, every property table in ascending id, every NOTE naming its note's OBJ.
  static void ExpectConsistentDrawings(const QJsonObject& book) {
    const QJsonObject dgg = book["globals"]["dgg"].toObject();
    std::set<int> drawingIds;
    int saved = 0, maxId = 0;
    for (const QJsonValue s : book["sheets"].toArray()) {
      const QJsonObject sheet = s.toObject();
      for (const QJsonValue sorted : sheet["opt_sorted"].toArray()) EXPECT_TRUE(sorted.toBool());
      if (!sheet.contains("dg")) continue;
      const QJsonObject dg = sheet["dg"][0].toObject();
      EXPECT_TRUE(drawingIds.insert(dg["id"].toInt()).second);
      std::set<int> ids;
      for (const QJsonValue id : sheet["shapes"].toArray()) {
        EXPECT_TRUE(ids.insert(id.toInt()).second) << id.toInt();
        EXPECT_EQ(id.toInt() / 1024 - 1 < dgg["cidcl"].toInt() - 1, true);
        EXPECT_EQ(dgg["clusters"][id.toInt() / 1024 - 1][0].toInt(), dg["id"].toInt()) << id.toInt();
        maxId = std::max(maxId, id.toInt());
      }
      EXPECT_EQ(dg["csp"].toInt(), static_cast<int>(ids.size()));
      EXPECT_EQ(dg["last"].toInt(), *ids.rbegin());
      saved += dg["csp"].toInt();
      std::set<int> objs;
      for (const QJsonValue o : sheet["objs"].toArray()) objs.insert(o[1].toInt());
      for (const QJsonValue n : sheet["notes"].toArray()) {
        EXPECT_TRUE(objs.count(n["obj"].toInt()));
        EXPECT_GE(n["size"].toInt(), 11);  // with its author
      }
    }
    if (drawingIds.empty()) {
      EXPECT_FALSE(book["globals"].toObject().contains("dgg"));
      return;
    }
    EXPECT_EQ(dgg["drawings"].toInt(), static_cast<int>(drawingIds.size()));
    EXPECT_EQ(dgg["saved"].toInt(), saved);
    EXPECT_EQ(dgg["spid_max"].toInt(), maxId + 1);
    int used = 0;
    for (const QJsonValue c : dgg["clusters"].toArray()) used += c[1].toInt();
    EXPECT_EQ(used, saved);
  }
  std::string Picture(const char* name, const char* format) {
    if (std::string(format) == "GIF") {
      // Qt reads GIF files but does not write them: one white pixel, by hand.
      static const unsigned char kGif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0,
                                           ',', 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 'D', 1, 0, ';'};
      std::ofstream(folder_ / name, std::ios::binary).write(reinterpret_cast<const char*>(kGif), sizeof kGif);
      return folder_ / name;
    }
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(qRgb(30, 120, 200));
    const std::string path = folder_ / name;
    EXPECT_TRUE(image.save(QString::fromStdString(path), format));
    return path;
  }

  TempFolder folder_;
  std::string path_ = folder_ / "book.xls";
};

TEST_F(DrawingsReadBack, NotesOnTwoSheetsReadAsTheirLines) {
  const QJsonObject book = Read(Export({"--note", "2,3,a\\nb", "--sheets", "2"}));
  for (int s = 0; s < 2; ++s) {
    const QJsonArray notes = book["xlrd"][s]["notes"].toArray();
    ASSERT_EQ(notes.size(), 1) << s;
    EXPECT_EQ(notes[0]["text"].toString(), "a\nb");
    EXPECT_EQ(notes[0]["row"].toInt(), 2);
    EXPECT_EQ(notes[0]["col"].toInt(), 1);
    const QJsonArray comments = book["gnumeric"][s]["comments"].toArray();
    ASSERT_EQ(comments.size(), 1) << s;
    EXPECT_EQ(comments[0]["text"].toString(), "a\nb");
    EXPECT_EQ(comments[0]["at"].toString(), "B3");
    EXPECT_EQ(book["sheets"][s]["texts"][0]["runs"].toInt(), 16);
  }
  EXPECT_EQ(book["globals"]["dgg"]["drawings"].toInt(), 2);
  EXPECT_FALSE(book["globals"].toObject().contains("externsheet"));  // no chart, no references
  // Both sheets read the same source, which is rewound for the second: the caption and three
  // rows on each.
  const ProgramRun rows = RunProgram("/usr/bin/python3", {"-c",
      "import sys, xlrd; print([s.nrows for s in xlrd.open_workbook(sys.argv[1]).sheets()])",
      QString::fromStdString(path_)});
  EXPECT_EQ(rows.out.trimmed().toStdString(), "[4, 4]") << rows.err.toStdString();
}

TEST_F(DrawingsReadBack, ALongNoteSurvivesWhole) {
  QString text;
  for (int i = 0; i < 5000; ++i) text += QChar(i % 97 == 0 ? u'\u00E7' : u'a' + i % 26);
  const QJsonObject book = Read(Export({"--note", "1,1," + text}));
  EXPECT_EQ(book["xlrd"][0]["notes"][0]["text"].toString(), text);
  EXPECT_EQ(book["gnumeric"][0]["comments"][0]["text"].toString(), text);
}

// A note's text object counts at most 32,767 characters: a longer note keeps that much, and the
// run says the rest was left out; a note of exactly that length is whole and nothing is said.
TEST_F(DrawingsReadBack, ANoteOverWhatANoteHoldsIsCutAndTold) {
  QString text;
  for (int i = 0; i < 40000; ++i) text += QChar(i % 101 == 0 ? u'\u00E3' : u'a' + i % 26);
  std::string err;
  QJsonObject book = Read(Export({"--note", "2,3," + text, "--note", "1,1,curta"}, err));
  EXPECT_NE(err.find("Note at column 2, row 3 cut to its first 32767 characters"), std::string::npos) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  const QJsonArray notes = book["xlrd"][0]["notes"].toArray();
  ASSERT_EQ(notes.size(), 2);
  EXPECT_EQ(notes[1]["text"].toString(), text.left(32767));
  EXPECT_EQ(book["gnumeric"][0]["comments"].toArray().size(), 2);

  book = Read(Export({"--note", "2,3," + text.left(32767)}));
  EXPECT_EQ(book["xlrd"][0]["notes"][0]["text"].toString(), text.left(32767));
}

TEST_F(DrawingsReadBack, PicturesOfEveryKindWithANoteOnOneSheet) {
  const std::string png = Picture("a.png", "PNG"), jpeg = Picture("b.jpg", "JPEG"), gif = Picture("c.gif", "GIF");
  const QJsonObject book = Read(Export({"--note", "2,2,ver\\nfoto", "--image", QString::fromStdString(png), "--image",
                                        QString::fromStdString(jpeg), "--image", QString::fromStdString(gif)}));
  const QJsonObject sheet = book["sheets"][0].toObject();
  // The note first (object 1), then the pictures; one drawing, each shape its own id.
  EXPECT_EQ(sheet["shapes"].toArray().size(), 5);
  EXPECT_EQ(sheet["notes"][0]["obj"].toInt(), 1);
  EXPECT_EQ(sheet["pibs"].toArray(), (QJsonArray{1, 2, 3}));
  const QJsonArray bse = book["globals"]["bse"].toArray();
  ASSERT_EQ(bse.size(), 3);
  const int types[3] = {6, 5, 6};  // a GIF is stored as PNG
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(bse[i]["type"].toInt(), types[i]);
    EXPECT_EQ(bse[i]["refs"].toInt(), 1);
    EXPECT_EQ(bse[i]["size"].toInt(), bse[i]["blip_len"].toInt() + 8);
  }
  const QJsonArray images = book["gnumeric"][0]["images"].toArray();
  ASSERT_EQ(images.size(), 3);
  EXPECT_EQ(images[0]["type"].toString(), "png");
  EXPECT_EQ(images[1]["type"].toString(), "jpeg");
  EXPECT_EQ(images[2]["type"].toString(), "png");
  EXPECT_EQ(book["xlrd"][0]["notes"][0]["text"].toString(), "ver\nfoto");
  EXPECT_EQ(book["gnumeric"][0]["comments"].toArray().size(), 1);
}

TEST_F(DrawingsReadBack, APictureThatCannotBeStoredIsToldAndNoImageNamesIt) {
  const std::string png = Picture("a.png", "PNG");
  std::string err;
  // Text under a picture's name: stored as one, it made gnumeric refuse the workbook.
  std::ofstream(folder_ / "texto.jpg") << "Hora,T,U\n";
  const std::string path = Export({"--image", QString::fromStdString(folder_ / "missing.png"), "--image",
                                   QString::fromStdString(png), "--image", QString::fromStdString(folder_ / "t.csv"),
                                   "--image", QString::fromStdString(folder_ / "texto.jpg")},
                                  err);
  EXPECT_NE(err.find("Picture_0 left out: its file cannot be read"), std::string::npos) << err;
  EXPECT_NE(err.find("Picture_2 left out"), std::string::npos) << err;
  EXPECT_NE(err.find("Picture_3 left out: its file holds no picture"), std::string::npos) << err;
  EXPECT_NE(err.find("Image Image_0 left out"), std::string::npos) << err;
  EXPECT_NE(err.find("Image Image_3 left out"), std::string::npos) << err;
  const QJsonObject book = Read(path);
  // The one stored picture is the first in the store, and the one image names it.
  EXPECT_EQ(book["globals"]["bse"].toArray().size(), 1);
  EXPECT_EQ(book["sheets"][0]["pibs"].toArray(), (QJsonArray{1}));
  EXPECT_EQ(book["gnumeric"][0]["images"].toArray().size(), 1);
}

TEST_F(DrawingsReadBack, AColumnChartOfTwoSeriesNamesItsSheet) {
  const QJsonObject book = Read(Export({"--chart"}));
  const QJsonArray graphs = book["gnumeric"][0]["graphs"].toArray();
  ASSERT_EQ(graphs.size(), 1);
  QStringList ranges;
  for (const QJsonValue v : graphs[0].toArray())
    if (v.toString().contains('!')) ranges << v.toString();
  EXPECT_EQ(ranges, (QStringList{"'Sheet 1'!$A$2:$A$4", "'Sheet 1'!$B$2:$B$4"}));
  EXPECT_EQ(book["globals"]["externsheet"].toArray(), (QJsonArray{QJsonArray{0, 0, 0}}));
  EXPECT_EQ(book["sheets"][0]["charts"].toInt(), 1);
}

// A sheet left out of the run takes no place: the chart on the last sheet written names it.
TEST_F(DrawingsReadBack, ChartRangesNameTheSheetsAsWritten) {
  using xlstest::TextSource;
  TextSource first({{"a", ectInteger}}, xlstest::Counting(3));
  TextSource skipped({{"b", ectInteger}}, xlstest::Counting(2));
  TextSource third({{"N", ectInteger}, {"M", ectInteger}}, {{"1", "4"}, {"2", "5"}});
  xlstest::XlsExporter xls(first, path_);
  for (TextSource* source : {&first, &skipped, &third}) {
    TxlsSheet& sheet = xls.Sheets.Add();
    sheet.SetExportSource(esCustom);
    sheet.SetCustomSource(source);
  }
  xls.Sheets[0].Title = u"Um";
  xls.Sheets[1].Exported = false;
  xls.Sheets[2].Title = u"Tr\u00EAs";
  TxlsChart& chart = xls.Sheets[2].Charts.Add();
  chart.Style = xcsLine;
  TxlsChartSeries& m = chart.Series.Add();
  m.DataColumn = "M";
  TxlsChartSeries& custom = chart.Series.Add();
  custom.DataRangeType = rtCustom;
  custom.DataRange = {2, 2, 1, 2};  // B1:B2
  chart.CategoryLabelsColumn = "N";
  xls.Sheets[2].Notes.Add();  // not valid: no place, no text
  TxlsNote& blank = xls.Sheets[2].Notes.Add();
  blank.Col = blank.Row = 1;
  blank.Lines = {"\r"};  // a line without a character to show
  xls.Execute();

  const QJsonObject book = Read(path_);
  EXPECT_EQ(book["globals"]["externsheet"].toArray(), (QJsonArray{QJsonArray{0, 0, 0}, QJsonArray{0, 1, 1}}));
  const QJsonArray graphs = book["gnumeric"][1]["graphs"].toArray();
  ASSERT_EQ(graphs.size(), 1);
  QStringList ranges;
  for (const QJsonValue v : graphs[0].toArray())
    if (v.toString().contains('!')) ranges << v.toString();
  EXPECT_EQ(ranges, (QStringList{"Tr\u00EAs!$A$2:$A$3", "Tr\u00EAs!$B$2:$B$3", "Tr\u00EAs!$A$2:$A$3",
                                 "Tr\u00EAs!$B$1:$B$2"}));
  EXPECT_TRUE(book["sheets"][0].toObject()["shapes"].toArray().isEmpty());
  EXPECT_EQ(book["sheets"][1]["shapes"].toArray().size(), 2);  // the group and the chart
  EXPECT_TRUE(book["sheets"][1]["notes"].toArray().isEmpty());
}

// The cells of a range as the walk reads it (sheet, first and last row, first and last column).
int Cells(const QJsonValue& range) {
  const QJsonArray r = range.toArray();
  return (r[2].toInt() - r[1].toInt() + 1) * (r[4].toInt() - r[3].toInt() + 1);
}

// Every series counts as many values as its value range holds, and as many categories as the
// category range holds (its values' count without one); gnumeric's reading makes as many
// categories of a chart without labels.
TEST_F(DrawingsReadBack, EverySeriesCountsTheCellsOfItsRanges) {
  using xlstest::TextSource;
  TextSource table({{"N", ectInteger}, {"M", ectInteger}}, {{"1", "4"}, {"2", "5"}, {"3", "6"}, {"4", "7"}});
  xlstest::XlsExporter xls(table, path_);
  TxlsChart& labelled = xls.Charts.Add();
  labelled.CategoryLabelsColumn = "N";  // A2:A5
  labelled.Series.Add().DataColumn = "M";  // B2:B5
  TxlsChartSeries& block = labelled.Series.Add();
  block.DataRangeType = rtCustom;
  block.DataRange = {1, 2, 2, 4};  // A2:B4
  TxlsChart& plain = xls.Charts.Add();
  plain.Style = xcsLine;
  plain.Series.Add().DataColumn = "N";
  TxlsChartSeries& custom = plain.Series.Add();
  custom.DataRangeType = rtCustom;
  custom.DataRange = {2, 2, 3, 4};  // B3:B4
  plain.CategoryLabelsType = rtCustom;
  plain.CategoryLabels = {1, 1, 1, 5};  // A1:A5
  TxlsChart& unlabelled = xls.Charts.Add();
  unlabelled.Series.Add().DataColumn = "M";
  xls.Execute();

  const QJsonObject book = Read(path_);
  const QJsonArray series = book["sheets"][0]["series"].toArray();
  ASSERT_EQ(series.size(), 5);
  const int values[] = {4, 6, 4, 2, 4}, categories[] = {4, 4, 5, 5, 4};
  for (int i = 0; i < 5; ++i) {
    const QJsonObject s = series[i].toObject();
    EXPECT_EQ(Cells(s["values"]), values[i]) << i;
    EXPECT_EQ(s["counts"][3].toInt(), values[i]) << i;
    EXPECT_EQ(s["counts"][2].toInt(), categories[i]) << i;
    EXPECT_EQ(s["categories"].isNull() ? values[i] : Cells(s["categories"]), categories[i]) << i;
  }
  EXPECT_TRUE(series[4]["categories"].isNull());
  const QJsonArray graphs = book["gnumeric"][0]["graphs"].toArray();
  ASSERT_EQ(graphs.size(), 3);
  EXPECT_EQ(graphs[2].toArray(), (QJsonArray{"{0;0;0;0}", "'Sheet 1'!$B$2:$B$5"}));
}

// A bar chart lies and a column chart stands, flat or in three dimensions: the BAR record's
// direction, and gnumeric's plot of it.
TEST_F(DrawingsReadBack, BarChartsLieAndColumnChartsStand) {
  using xlstest::TextSource;
  TextSource table({{"N", ectInteger}}, xlstest::Counting(3));
  xlstest::XlsExporter xls(table, path_);
  for (const TxlsChartStyle style : {xcsColumn, xcsBar, xcsColumn3d, xcsBar3d}) {
    TxlsChart& chart = xls.Charts.Add();
    chart.Style = style;
    chart.Series.Add().DataColumn = "N";
  }
  xls.Execute();

  const QJsonObject book = Read(path_);
  EXPECT_EQ(book["sheets"][0]["bars"].toArray(), (QJsonArray{"vertical", "horizontal", "vertical", "horizontal"}));
  const QJsonArray plots = book["gnumeric"][0]["plots"].toArray();
  ASSERT_EQ(plots.size(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(plots[i]["type"].toString(), "GogBarColPlot") << i;
    EXPECT_EQ(plots[i]["horizontal"].toString(), i % 2 == 1 ? "TRUE" : "") << i;  // gnumeric leaves out the default
  }
}

TEST_F(DrawingsReadBack, AWorkbookWithoutDrawingsHasNoDrawingRecords) {
  const QJsonObject book = Read(Export({}));
  EXPECT_FALSE(book["globals"].toObject().contains("dgg"));
  EXPECT_FALSE(book["sheets"][0].toObject().contains("dg"));
}

}  // namespace
