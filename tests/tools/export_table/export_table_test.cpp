// The export tool's tables: CSV files read as people write them, and the rows dump of what
// the run makes of them.
#include <gtest/gtest.h>

#include <QLocale>

#include "export/output_stream.h"
#include "export/vantrix3.h"
#include "tests/export/export_fixtures.h"
#include "tools/export_table/csv_table.h"
#include "tools/export_table/generated_table.h"
#include "tools/export_table/rows_dump_exporter.h"

namespace {

using exporttable::CsvRecords;
using exporttable::ParseCsv;

TEST(Csv, QuotesSeparatorsAndLineBreaks) {
  EXPECT_EQ(ParseCsv("a;b;c\r\n1;\"x;y\";\r\n"), (CsvRecords{{"a", "b", "c"}, {"1", "x;y", ""}}));
  EXPECT_EQ(ParseCsv("a,b\n\"say \"\"hi\"\"\",\"two\nlines\"\n\n3,4"),
            (CsvRecords{{"a", "b"}, {"say \"hi\"", "two\nlines"}, {"3", "4"}}));
  EXPECT_EQ(ParseCsv("a\tb,c\td\n1,5\t2\t3"), (CsvRecords{{"a", "b,c", "d"}, {"1,5", "2", "3"}}));
  EXPECT_EQ(ParseCsv("x\n\"unterminated"), (CsvRecords{{"x"}, {"unterminated"}}));
  EXPECT_EQ(ParseCsv(""), CsvRecords{});
  EXPECT_EQ(ParseCsv("a,\"b\"c\n"), (CsvRecords{{"a", "bc"}}));
}

std::string Dump(vantrix::TVantrixCustomSource& source, const vantrix::FormatSettings& settings) {
  exporttable::RowsDumpExporter exporter;
  exporter.Formats().SetSettings(settings);
  exporter.Formats().ResetFormats();
  exporter.SetExportSource(vantrix::esCustom);
  exporter.SetCustomSource(&source);
  vantrix::MemoryOutputStream out;
  exporter.ExportToStream(out);
  return out.Bytes();
}

TEST(ExportTable, ACsvFileIsTypedByItsFirstRecordAndDumpedRowByRow) {
  exporttest::TempFolder folder;
  const std::string path = folder / "t.csv";
  // UTF-8 with a byte-order mark, as spreadsheet programs save it.
  exporttest::WriteFile(path, "\xEF\xBB\xBFNome;Valor;Quando\r\n\"25 \xC2\xB0" "C\";1234,5;05/03/2024\r\n;;\r\n");
  exporttable::CsvTable table;
  std::string error;
  ASSERT_TRUE(table.Load(path, exporttest::BrSettings(), error)) << error;
  EXPECT_EQ(table.Rows(), 2);
  EXPECT_EQ(Dump(table.Source(), exporttest::BrSettings()),
            "columns 3\r\n"
            "  0: name \"Nome\" caption \"Nome\" type String width 15 align left format \"\" sql \"CHAR(15)\" length 15\r\n"
            "  1: name \"Valor\" caption \"Valor\" type Float width 15 align right format \"#,###,##0.00\" sql "
            "\"DOUBLE PRECISION\" length 0\r\n"
            "  2: name \"Quando\" caption \"Quando\" type Date width 15 align left format \"dd/mm/yyyy\" sql \"DATE\" "
            "length 0\r\n"
            "captions \"Nome\" \"Valor\" \"Quando\"\r\n"
            "record 0\r\n  Nome: \"25 \xB0" "C\" -> \"25 \xB0" "C\"\r\n  Valor: \"1234,5\" -> \"1.234,50\"\r\n"
            "  Quando: \"05/03/2024\" -> \"05/03/2024\"\r\n"
            "record 1\r\n  Nome: \"\" -> \"\"\r\n  Valor: \"\" -> \"\"\r\n  Quando: \"\" -> \"\"\r\n"
            "end\r\n");

  exporttest::WriteFile(path, "Only;Headers\r\n");
  ASSERT_TRUE(table.Load(path, exporttest::BrSettings(), error));
  EXPECT_EQ(Dump(table.Source(), exporttest::BrSettings()).substr(0, 9), "columns 2");
  EXPECT_NE(Dump(table.Source(), exporttest::BrSettings()).find("\r\ncaptions \"Only\" \"Headers\"\r\nend\r\n"),
            std::string::npos);  // no record at all
  EXPECT_FALSE(table.Load(folder / "missing.csv", exporttest::BrSettings(), error));
}

TEST(ExportTable, TheGeneratedTableGivesTheSameCellsEitherWay) {
  exporttable::GeneratedTable table(50, exporttest::CSettings());
  const std::string asText = Dump(table.Source(), exporttest::CSettings());
  table.AnswerWithVariants(true);
  table.Source().ClearEof();
  EXPECT_EQ(Dump(table.Source(), exporttest::CSettings()), asText);
  EXPECT_NE(asText.find("record 49\r\n"), std::string::npos);
  EXPECT_EQ(asText.find("record 50\r\n"), std::string::npos);
}

}  // namespace
