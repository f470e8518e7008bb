// Workbooks that export_table writes, read back by programs we did not write: Debian's python3
// with xlrd (values, types, number formats, fonts, fills, merged ranges, hyperlinks), gnumeric's
// ssconvert (one CSV per sheet, formulas recalculated), each without a word on stderr; and a
// walk over the records checking what the format requires of their places and sizes.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "export/export_fixtures.h"
#include "reader_check.h"
#include "run_program.h"

namespace {

using exporttest::ReadFile;
using exporttest::TempFolder;
using xlstest::ProgramRun;
using xlstest::RunProgram;

const QString kScripts = XLS_TEST_SCRIPT_DIR;

class ExportReadBack : public testing::Test {
 protected:
  // export_table with the arguments; the workbook's path.
  std::string Export(const QStringList& args, const std::string& name = "book.xls") {
    const std::string path = folder_ / name;
    const ProgramRun run =
        RunProgram(EXPORT_TABLE, QStringList{"--format", "xls", "--locale", "C", "--output", QString::fromStdString(path)} + args);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    return path;
  }
  QJsonObject Python(const QString& script, const QStringList& args) {
    const ProgramRun run = RunProgram("/usr/bin/python3", QStringList{kScripts + "/" + script} + args);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    if (script == "read_export.py") xlstest::ExpectReaderMatchesXlrd(args[0].toStdString());
    return QJsonDocument::fromJson(run.out).object();
  }
  // ssconvert's CSV of each sheet, recalculated, as lines.
  std::vector<QStringList> Csv(const std::string& path) {
    const QString pattern = QString::fromStdString(folder_ / "sheet%n.csv");
    const ProgramRun run = RunProgram("ssconvert", {"-S", "--recalc", QString::fromStdString(path), pattern});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    std::vector<QStringList> sheets;
    for (int n = 0;; ++n) {
      const std::string csv = folder_ / ("sheet" + std::to_string(n) + ".csv");
      if (!QFile::exists(QString::fromStdString(csv))) break;
      sheets.push_back(QString::fromUtf8(QByteArray::fromStdString(ReadFile(csv))).split('\n'));
    }
    return sheets;
  }
  TempFolder folder_;
};

QJsonObject Cell(const QJsonObject& sheet, int row, int col) {
  for (const QJsonValue v : sheet["cells"].toArray())
    if (v["row"].toInt() == row && v["col"].toInt() == col) return v.toObject();
  return {};
}

TEST_F(ExportReadBack, TypedTableWithEveryOptionKeepsValuesTypesAndLooks) {
  QImage tile(4, 4, QImage::Format_RGB32);
  tile.fill(qRgb(200, 220, 240));
  const std::string picture = folder_ / "tile.png";
  ASSERT_TRUE(tile.save(QString::fromStdString(picture)));
  const std::string path = Export({"--typed", "--field-formats", "--strip", "row", "--header", "Relat\u00F3rio\\tde teste",
                                   "--header", "a\\t\\tb", "--footer", "Fim\\t\\tok", "--page-header",
                                   "Cabe\u00E7alho \u03A9", "--extra-cells", "--merged", "--hyperlinks", "--background",
                                   QString::fromStdString(picture), "--autowidth"});

  const QJsonObject book = Python("read_export.py", {QString::fromStdString(path)});
  const QJsonArray sheets = book["sheets"].toArray();
  ASSERT_EQ(sheets.size(), 1);
  const QJsonObject s = sheets[0].toObject();
  EXPECT_EQ(s["name"].toString(), "Sheet 1");
  EXPECT_EQ(s["rows"].toInt(), 10);  // two header lines, captions, five rows, aggregates, footer

  // Header fields by TAB, the middle one empty.
  EXPECT_EQ(Cell(s, 0, 0)["value"].toString(), "Relat\u00F3rio");
  EXPECT_EQ(Cell(s, 0, 1)["value"].toString(), "de teste");
  EXPECT_EQ(Cell(s, 1, 2)["value"].toString(), "b");
  EXPECT_TRUE(Cell(s, 1, 1).isEmpty());
  // Captions in bold (BIFF8 keeps it in the weight).
  EXPECT_EQ(Cell(s, 2, 2)["value"].toString(), "Real \u00B0C");
  EXPECT_EQ(Cell(s, 2, 2)["weight"].toInt(), 700);
  // Values and their types: texts, numbers, the null text and a non-number as texts, dates
  // as day numbers with date formats, a time alone as a text, Booleans.
  EXPECT_EQ(Cell(s, 3, 0)["value"].toString(), "Temperatura \u00B0C");
  EXPECT_EQ(Cell(s, 4, 0)["value"].toString(), "a\u00E7\u00E3o");
  EXPECT_EQ(Cell(s, 7, 0)["value"].toString().size(), 303);  // 304, the trailing blank trimmed
  EXPECT_EQ(Cell(s, 5, 1)["value"].toDouble(), 123456789);
  EXPECT_EQ(Cell(s, 6, 1)["value"].toString(), "(nulo)");
  EXPECT_EQ(Cell(s, 6, 2)["value"].toString(), "n/d");
  EXPECT_EQ(Cell(s, 3, 3)["type"].toInt(), 3);  // a date
  EXPECT_EQ(Cell(s, 3, 3)["value"].toDouble(), 59);
  EXPECT_EQ(Cell(s, 4, 3)["value"].toDouble(), 61);
  EXPECT_EQ(Cell(s, 4, 3)["format"].toString(), "d mmm yyyy");
  EXPECT_EQ(Cell(s, 6, 3)["value"].toString(), "sem data");
  EXPECT_EQ(Cell(s, 3, 4)["value"].toString(), "12:30:15");
  EXPECT_EQ(Cell(s, 3, 5)["format"].toString(), "d mmm yyyy hh:mm:ss");
  EXPECT_EQ(Cell(s, 3, 6)["type"].toInt(), 4);
  EXPECT_EQ(Cell(s, 5, 6)["value"].toInt(), 1);  // "TRUE"
  EXPECT_EQ(Cell(s, 7, 6)["value"].toInt(), 0);  // "False"
  EXPECT_TRUE(Cell(s, 5, 0).isEmpty() || Cell(s, 5, 0)["type"].toInt() == 6);
  // Rows striped in turn.
  EXPECT_EQ(Cell(s, 3, 0)["pattern"].toInt(), 1);
  EXPECT_EQ(Cell(s, 3, 0)["fill"].toInt(), 43);
  EXPECT_EQ(Cell(s, 4, 0)["fill"].toInt(), 41);
  EXPECT_EQ(Cell(s, 5, 1)["fill"].toInt(), 43);
  // Aggregates in the aggregate format.
  EXPECT_EQ(Cell(s, 8, 1)["weight"].toInt(), 700);
  EXPECT_EQ(Cell(s, 9, 0)["value"].toString(), "Fim");
  // Extra cells right of the table.
  EXPECT_EQ(Cell(s, 0, 8)["type"].toInt(), 4);
  EXPECT_EQ(Cell(s, 1, 8)["format"].toString(), "dd/mm/yyyy hh:mm");
  EXPECT_EQ(Cell(s, 2, 8)["value"].toDouble(), 1234.5);
  EXPECT_EQ(Cell(s, 2, 8)["weight"].toInt(), 700);
  EXPECT_EQ(Cell(s, 3, 8)["value"].toString(), "Extra a\u00E7\u00E3o \u2248 \u03A9");
  // Merged ranges (rows and columns from 0, the ends past the range) and hyperlinks.
  EXPECT_EQ(s["merged"].toArray(), (QJsonArray{QJsonArray{0, 1, 0, 3}, QJsonArray{5, 7, 8, 10}}));
  const QJsonArray links = s["links"].toArray();
  ASSERT_EQ(links.size(), 2);
  EXPECT_EQ(links[0]["url"].toString(), "https://example.com/tervana");
  EXPECT_EQ(links[0]["desc"].toString(), "S\u00EDtio");
  EXPECT_EQ(links[0]["tip"].toString(), "Abrir o s\u00EDtio");
  EXPECT_EQ(links[1]["url"].toString(), "/tmp/leituras.mpc");
  const QJsonObject link = Cell(s, 0, 10);
  EXPECT_EQ(link["underline"].toInt(), 1);
  EXPECT_EQ(link["colour"].toInt(), 12);  // the palette's blue

  const std::vector<QStringList> csv = Csv(path);
  ASSERT_EQ(csv.size(), 1u);
  ASSERT_GE(csv[0].size(), 10);
  EXPECT_TRUE(csv[0][3].startsWith("\"Temperatura \u00B0C\",1,3.5,1900/02/28,12:30:15,\"2024/05/17 08:15:00\",TRUE"))
      << csv[0][3].toStdString();
  // The sum and the average of the number columns, calculated by the reader.
  EXPECT_TRUE(csv[0][8].startsWith(",123456755,2500000001.4375,")) << csv[0][8].toStdString();
}

TEST_F(ExportReadBack, LongTableContinuesOnASecondSheetAndEveryRecordIsInItsPlace) {
  const int records = 100000;
  const std::string path = Export({"--rows", QString::number(records), "--field-formats"});

  const QJsonObject book = Python("read_export.py", {QString::fromStdString(path), "1"});
  const QJsonArray sheets = book["sheets"].toArray();
  ASSERT_EQ(sheets.size(), 2);
  EXPECT_EQ(sheets[0]["name"].toString(), "Sheet 1");
  EXPECT_EQ(sheets[1]["name"].toString(), "Sheet 1 (2)");
  int dataRows = 0;
  for (const QJsonValue sheet : sheets) {
    EXPECT_EQ(Cell(sheet.toObject(), 0, 0)["value"].toString(), "Id");  // the caption row on each
    dataRows += sheet["rows"].toInt() - 2;                            // less captions and aggregates
  }
  EXPECT_EQ(dataRows, records);
  EXPECT_EQ(sheets[0]["rows"].toInt(), 65536);

  const QJsonObject walk = Python("walk_records.py", {QString::fromStdString(path)});
  EXPECT_EQ(walk["end"].toInt(), walk["size"].toInt());
  EXPECT_LE(walk["max_body"].toInt(), 8224);
  const QJsonArray bound = walk["boundsheets"].toArray();
  const QJsonArray written = walk["sheets"].toArray();
  ASSERT_EQ(bound.size(), 2);
  ASSERT_EQ(written.size(), 2);
  int selected = 0;
  for (int i = 0; i < 2; ++i) {
    const QJsonObject b = bound[i].toObject(), w = written[i].toObject();
    EXPECT_TRUE(b["worksheet_bof"].toBool()) << i;
    EXPECT_EQ(b["offset"].toInt(), w["bof"].toInt()) << i;
    // DIMENSIONS: the first row and column, and one past the last ones.
    EXPECT_EQ(w["dimensions"].toArray(), (QJsonArray{w["first_row"], w["last_row"].toInt() + 1, w["first_col"],
                                                     w["last_col"].toInt() + 1}))
        << i;
    for (const QJsonValue flags : w["window2"].toArray()) selected += (flags.toInt() & 0x0200) != 0;
    const QJsonArray colinfo = w["colinfo"].toArray();
    ASSERT_EQ(colinfo.size(), 10) << i;
    // Fifteen characters and the "0" width's padding (8 pixels without a screen).
    EXPECT_EQ(colinfo[0].toArray(), (QJsonArray{0, 0, 4128, 15, 0})) << i;
  }
  EXPECT_EQ(selected, 1);

  const std::vector<QStringList> csv = Csv(path);
  ASSERT_EQ(csv.size(), 2u);
  EXPECT_EQ(csv[0].size() + csv[1].size() - (csv[0].back().isEmpty() ? 1 : 0) - (csv[1].back().isEmpty() ? 1 : 0),
            static_cast<qsizetype>(records + 4));
}

TEST_F(ExportReadBack, StripsByColumnAndAnAbortedRunReadBackWhole) {
  const std::string striped = Export({"--rows", "4", "--strip", "col"}, "striped.xls");
  const QJsonObject sheet = Python("read_export.py", {QString::fromStdString(striped)})["sheets"][0].toObject();
  EXPECT_EQ(Cell(sheet, 1, 0)["fill"].toInt(), 43);
  EXPECT_EQ(Cell(sheet, 1, 1)["fill"].toInt(), 41);
  EXPECT_EQ(Cell(sheet, 2, 0)["fill"].toInt(), 43);
  EXPECT_EQ(Csv(striped).size(), 1u);

  // Aborted after ten records: the workbook holds them and opens in both readers.
  const std::string path = folder_ / "aborted.xls";
  const ProgramRun run = RunProgram(EXPORT_TABLE, {"--format", "xls", "--rows", "1000", "--abort-at", "10",
                                                   "--field-formats", "--output", QString::fromStdString(path)});
  EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();  // the tool's code for a run that did not complete
  const QJsonObject aborted = Python("read_export.py", {QString::fromStdString(path), "1"})["sheets"][0].toObject();
  EXPECT_EQ(aborted["rows"].toInt(), 12);  // captions, ten records, their aggregates
  const std::vector<QStringList> csv = Csv(path);
  ASSERT_EQ(csv.size(), 1u);
  EXPECT_GE(csv[0].size(), 12);
}

TEST_F(ExportReadBack, TooManyColumnsRefusedWithNoFile) {
  const std::string path = folder_ / "wide.xls";
  const ProgramRun run = RunProgram(EXPORT_TABLE, {"--format", "xls", "--columns", "300", "--rows", "3", "--output",
                                                   QString::fromStdString(path)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains("at most 256 columns")) << run.err.toStdString();
  EXPECT_TRUE(folder_.Names().empty());

  const std::string fits = Export({"--columns", "256", "--rows", "3"}, "fits.xls");
  const QJsonObject book = Python("read_export.py", {QString::fromStdString(fits)});
  EXPECT_EQ(book["sheets"][0]["cols"].toInt(), 256);
  EXPECT_EQ(Cell(book["sheets"][0].toObject(), 3, 255)["value"].toDouble(), 3255);
  EXPECT_EQ(Csv(fits).size(), 1u);
}

}  // namespace
