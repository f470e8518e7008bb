// The text, CSV, DIF and SYLK layouts and the clipboard text: widths and alignments, quoting,
// the DIF header and its counts, SYLK's rows, numbers as values, ends written once however
// the run ended, and the settings kept in an INI file.
#include <gtest/gtest.h>

#include <algorithm>

#include "export/vantrix3_ascii.h"
#include "export/vantrix3_clipboard.h"
#include "plain_fixtures.h"
#include "platform/ini_file.h"
#include "run_fixtures.h"

namespace {

using namespace vantrix;
using exporttest::ExportToMemory;
using exporttest::Lines;
using exporttest::TextSource;

TEST(TextLayout, PadsEachColumnToItsWidthByItsAlignment) {
  TextSource source({{"Name", ectString}, {"Value", ectFloat}, {"Ok", ectBoolean}},
                    {{"ab", "1234.5", "true"}, {"a much longer name", "-2", "false"}});
  TVantrix3ASCII exporter;
  exporter.Title = "Leituras";
  exporter.Header = {"cabe\xE7" "alho"};
  exporter.Footer = {"fim"};
  exporter.TXTSpacing = 2;
  exporter.AutoCalcColWidth = false;
  exporter.ColumnsWidth = {"Name=5", "Value=10", "Ok=6"};
  const std::vector<std::string> lines = Lines(ExportToMemory(exporter, source));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "Leituras");
  EXPECT_EQ(lines[1], std::string(80, '-'));
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "cabe\xE7" "alho");
  // Numbers right, Booleans centred (the odd blank after), texts left and cut to the width.
  EXPECT_EQ(lines[4], "Name        Value    Ok    ");
  EXPECT_EQ(lines[5], "ab       1,234.50   true   ");
  EXPECT_EQ(lines[6], "a muc       -2.00  false   ");
  EXPECT_EQ(lines[7], "fim");

  exporter.ColumnsAlign = {"Name=right", "Value=c"};
  EXPECT_EQ(Lines(ExportToMemory(exporter, source))[5], "   ab   1,234.50    true   ");

  // The width pass widens every column to its longest text (the source's width, 15, is the
  // least).
  exporter.ColumnsAlign.clear();
  exporter.ColumnsWidth.clear();
  exporter.Title.clear();
  exporter.Header.clear();
  exporter.TXTSpacing = 1;
  exporter.SetExportType(etCSV);
  exporter.SetExportType(etTXT);  // back to text: the width pass is on again
  EXPECT_EQ(Lines(ExportToMemory(exporter, source))[2],
            "a much longer name " + std::string(10, ' ') + "-2.00 " + std::string(5, ' ') + "false" +
                std::string(6, ' '));
}

TEST(CsvLayout, QuotesWhatWouldSplitAFieldAndNothingElseWhenAsked) {
  TextSource source({{"A", ectString}, {"B", ectInteger}},
                    {{"x", "1"}, {"say \"hi\"", "2"}, {"a;b", "3"}, {"two\nlines", "4"}, {"cr\ronly", "5"}, {"", ""}});
  TVantrix3ASCII exporter;
  exporter.SetExportType(etCSV);
  exporter.CSVComma = ';';
  exporter.Footer = {"total"};
  EXPECT_EQ(ExportToMemory(exporter, source),
            "\"A\";\"B\"\r\n\"x\";\"1\"\r\n\"say \"\"hi\"\"\";\"2\"\r\n\"a;b\";\"3\"\r\n\"two\nlines\";\"4\"\r\n"
            "\"cr\ronly\";\"5\"\r\n\"\";\"0\"\r\ntotal;\r\n");  // an empty integer formats as 0
  exporter.CSVQuoteStrings = false;
  EXPECT_EQ(ExportToMemory(exporter, source),
            "A;B\r\nx;1\r\n\"say \"\"hi\"\"\";2\r\n\"a;b\";3\r\n\"two\nlines\";4\r\n\"cr\ronly\";5\r\n;0\r\n"
            "total;\r\n");  // a line break of either kind alone is quoted too
  // Without a quote character nothing can be quoted.
  exporter.CSVQuote = '\0';
  EXPECT_EQ(Lines(ExportToMemory(exporter, source))[3], "a;b;3");
}

TEST(DifLayout, CountsTheRecordsAndWritesNumbersAsValues) {
  TextSource source({{"Nome", ectString}, {"Valor", ectFloat}},
                    {{"a", "1234,5"}, {"\"b\"", ""}, {"c", "-0,25"}, {"d", "x"}});
  TVantrix3ASCII exporter;
  exporter.SetExportType(etDIF);
  exporter.Title = "T";
  exporter.SkipRecCount = 1;
  std::vector<int> fetched;
  exporter.OnFetchedRecord = [&](TVantrix3&, int recNo) { fetched.push_back(recNo); };
  // In pt_BR the value 1234,5 is formatted 1.234,50: the file holds the number itself.
  const std::string dif = ExportToMemory(exporter, source, exporttest::BrSettings());
  EXPECT_EQ(fetched, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(dif,
            "TABLE\r\n0,1\r\n\"T\"\r\nVECTORS\r\n0,2\r\n\"\"\r\nTUPLES\r\n0,3\r\n\"\"\r\nDATA\r\n0,0\r\n\"\"\r\n"
            "-1,0\r\nBOT\r\n1,0\r\n\"Nome\"\r\n1,0\r\n\"Valor\"\r\n"
            "-1,0\r\nBOT\r\n1,0\r\n\"\"b\"\"\r\n1,0\r\n\"\"\r\n"
            "-1,0\r\nBOT\r\n1,0\r\n\"c\"\r\n0,-0.25\r\nV\r\n"
            "-1,0\r\nBOT\r\n1,0\r\n\"d\"\r\n1,0\r\n\"x\"\r\n"
            "-1,0\r\nEOD\r\n");
  exporter.SkipRecCount = 0;
  exporter.ExportRecCount = 2;
  EXPECT_NE(ExportToMemory(exporter, source).find("TUPLES\r\n0,2\r\n"), std::string::npos);
}

// The header's tuple count is what readers size the table by: it must match the rows that
// follow it whichever records the run takes.
TEST(DifLayout, TheHeaderCountsExactlyTheRowsThatFollow) {
  TextSource source({{"Nome", ectString}}, {{"a"}, {"b"}, {"c"}, {"d"}});
  struct Case {
    const char* name;
    int skip, limit;
    bool currentOnly;
    int rows;
  };
  for (const Case& c : {Case{"all", 0, 0, false, 4}, Case{"skip", 1, 0, false, 3}, Case{"limit", 1, 2, false, 2},
                        Case{"current record", 0, 0, true, 1}, Case{"current record after a skip", 2, 0, true, 1},
                        Case{"skip past the end", 2147483647, 0, false, 0}}) {
    TVantrix3ASCII exporter;
    exporter.SetExportType(etDIF);
    exporter.SkipRecCount = c.skip;
    exporter.ExportRecCount = c.limit;
    exporter.CurrentRecordOnly = c.currentOnly;
    const std::string dif = ExportToMemory(exporter, source);
    EXPECT_NE(dif.find("TUPLES\r\n0," + std::to_string(c.rows) + "\r\n"), std::string::npos) << c.name;
    EXPECT_EQ(exporttest::Count(dif, "\r\nBOT\r\n"), static_cast<size_t>(c.rows) + 1) << c.name;  // and the captions
  }
}

// A CSV reader takes "0" as the number 0; DIF and SYLK say so with a number too, not a text.
TEST(DifAndSylk, AnIntegerCellWithoutANumberIsTheZeroTheOtherLayoutsWrite) {
  TextSource source({{"N", ectInteger}}, {{"abc"}, {""}, {"7"}});
  TVantrix3ASCII exporter;
  exporter.AllowCaptions = false;
  exporter.SetExportType(etCSV);
  exporter.CSVQuoteStrings = false;
  EXPECT_EQ(ExportToMemory(exporter, source), "0\r\n0\r\n7\r\n");
  exporter.SetExportType(etDIF);
  const std::string dif = ExportToMemory(exporter, source);
  EXPECT_NE(dif.find("DATA\r\n0,0\r\n\"\"\r\n-1,0\r\nBOT\r\n0,0\r\nV\r\n-1,0\r\nBOT\r\n0,0\r\nV\r\n"
                     "-1,0\r\nBOT\r\n0,7\r\nV\r\n"),
            std::string::npos)
      << dif;
  exporter.SetExportType(etSYLK);
  EXPECT_EQ(ExportToMemory(exporter, source), "ID;PVASCIIEXPORT\r\nC;X1;Y1;K0\r\nC;X1;Y2;K0\r\nC;X1;Y3;K7\r\nE\r\n");
}

TEST(SylkLayout, NumbersRowsFromTheCaptionsAndDoublesSemicolons) {
  TextSource source({{"A;B", ectString}, {"N", ectInteger}}, {{"x;y", "1.234"}, {"", "7"}});
  TVantrix3ASCII exporter;
  exporter.SetExportType(etSYLK);
  EXPECT_EQ(ExportToMemory(exporter, source, exporttest::BrSettings()),
            "ID;PVASCIIEXPORT\r\nC;X1;Y1;K\"A;;B\"\r\nC;X2;Y1;K\"N\"\r\nC;X1;Y2;K\"x;;y\"\r\nC;X2;Y2;K1234\r\n"
            "C;X2;Y3;K7\r\nE\r\n");
  exporter.AllowCaptions = false;
  EXPECT_EQ(Lines(ExportToMemory(exporter, source, exporttest::BrSettings()))[1], "C;X1;Y1;K\"x;;y\"");
}

// An abort in the middle of the rows still gives a whole file, its end written once.
TEST(AsciiLayouts, AnAbortedRunEndsItsFileOnce) {
  exporttest::NumberedSource source(10, {ectString, ectInteger});
  for (TVantrixASCIIType type : {etTXT, etCSV, etDIF, etSYLK}) {
    TVantrix3ASCII exporter;
    exporter.SetExportType(type);
    exporter.Footer = {"fim"};
    exporter.OnExportedRecord = [](TVantrix3& sender, int recNo) {
      if (recNo == 2) sender.Abort();
    };
    const std::string text = ExportToMemory(exporter, source);
    const std::string end = type == etDIF    ? "-1,0\r\nEOD\r\n"
                            : type == etSYLK ? "\r\nE\r\n"
                            : type == etCSV  ? "fim,\r\n"
                                             : "fim\r\n";
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end) << type;
    EXPECT_EQ(text.find(end), text.size() - end.size()) << type;
    EXPECT_EQ(text.find("r4c0"), std::string::npos) << type;
    EXPECT_NE(text.find("r3c0"), std::string::npos) << type;
  }
}

TEST(AsciiSettings, SurviveASaveAndLoadAndOlderSectionsStillLoad) {
  exporttest::TempFolder folder;
  TVantrix3ASCII saved;
  saved.SetExportType(etCSV);
  saved.CSVComma = '\t';
  saved.CSVQuote = '\'';
  saved.CSVQuoteStrings = false;
  saved.TXTSpacing = 3;
  saved.ColumnsAlign = {"Canal 1=R", "Canal 2=center"};
  saved.ColumnsWidth = {"Canal 1=12"};
  saved.SavePropertiesToFile(folder / "a.ini");
  std::string text = exporttest::ReadFile(folder / "a.ini");
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  EXPECT_NE(text.find("[ASCII]\nExportType=1\nComma=#9\nQuote='\nQuoteStrings=0\nSpacing=3\nAutoCalcColWidth=1\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("[ALIGN]\nline0=Canal 1=R\nline1=Canal 2=center\n"), std::string::npos) << text;

  TVantrix3ASCII loaded;
  loaded.LoadPropertiesFromFile(folder / "a.ini");
  EXPECT_EQ(loaded.ExportType(), etCSV);
  EXPECT_EQ(loaded.CSVComma, '\t');
  EXPECT_EQ(loaded.CSVQuote, '\'');
  EXPECT_FALSE(loaded.CSVQuoteStrings);
  EXPECT_EQ(loaded.TXTSpacing, 3);
  EXPECT_EQ(loaded.ColumnsAlign, saved.ColumnsAlign);
  EXPECT_EQ(loaded.ColumnsWidth, saved.ColumnsWidth);

  // A section of plain name=value entries, as written by hand.
  exporttest::WriteFile(folder / "b.ini", "[WIDTH]\nCanal 1=9\n[ASCII]\nExportType=7\n");
  TVantrix3ASCII old;
  old.LoadPropertiesFromFile(folder / "b.ini");
  EXPECT_EQ(old.ColumnsWidth, std::vector<std::string>{"Canal 1=9"});
  EXPECT_EQ(old.ExportType(), etTXT);  // no such layout: the present one stays
}

// An options file may hold any number: a gap or a width of billions is held to what a line
// of text can take instead of filling gigabytes from one row. A width that is no width (a
// negative number, one beyond any integer, a text, nothing) leaves the column its own (15 in
// this source) instead of leaving it out of the text.
TEST(AsciiSettings, NumbersFromAFileAreHeldToWhatTheLayoutTakes) {
  exporttest::TempFolder folder;
  exporttest::WriteFile(folder / "big.ini",
                        "[ASCII]\nExportType=0\nSpacing=1000000\nAutoCalcColWidth=0\n"
                        "[WIDTH]\nA=2147483647\nB=-5\nC=99999999999\nD=abc\nE=\nF= 3 \n");
  TVantrix3ASCII exporter;
  exporter.LoadPropertiesFromFile(folder / "big.ini");
  EXPECT_EQ(exporter.TXTSpacing, kMaxTXTSpacing);
  TextSource source({{"A", ectString}, {"B", ectInteger}, {"C", ectString}, {"D", ectString}, {"E", ectString},
                     {"F", ectString}},
                    {{"x", "1", "c", "d", "e", "ffff"}});
  exporter.AllowCaptions = false;
  const std::vector<std::string> lines = Lines(ExportToMemory(exporter, source));
  ASSERT_EQ(lines.size(), 1u);
  // A at the widest a column is set, B to E at their own, F at 3; each followed by the gap.
  const std::string gap(kMaxTXTSpacing, ' ');
  EXPECT_EQ(lines[0], "x" + std::string(kMaxColumnWidth - 1, ' ') + gap + std::string(14, ' ') + "1" + gap + "c" +
                          std::string(14, ' ') + gap + "d" + std::string(14, ' ') + gap + "e" + std::string(14, ' ') +
                          gap + "fff" + gap);

  // A gap set in code is held the same way.
  exporter.TXTSpacing = 1000000;
  EXPECT_EQ(Lines(ExportToMemory(exporter, source))[0].size(),
            static_cast<size_t>(kMaxColumnWidth + 4 * 15 + 3 + 6 * kMaxTXTSpacing));
}

TEST(ClipboardText, SeparatedOrInRightAlignedColumns) {
  TextSource source({{"a", ectString}, {"b", ectInteger}}, {{"x", "12"}, {"longer", "3"}});
  exporttest::FakeShell shell;
  TVantrix3Clipboard exporter;
  exporter.SetShellService(&shell);
  exporter.Separator = ';';
  exporter.Formats().SetSettings(exporttest::CSettings());
  exporter.Formats().ResetFormats();
  exporter.SetExportSource(esCustom);
  exporter.SetCustomSource(&source);
  EXPECT_EQ(exporter.Execute(), rrCompleted);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0], "clipboard a;b\r\nx;12\r\nlonger;3\r\n");

  // A cell that would split when pasted is quoted as CSV quotes it; the others stay bare.
  TextSource awkward({{"a", ectString}, {"b", ectString}, {"c", ectString}, {"d", ectString}},
                     {{"1,234.5", "say \"hi\"", "two\r\nlines", "plain"}});
  TVantrix3Clipboard commas;
  commas.SetShellService(&shell);
  commas.Separator = ',';
  commas.AllowCaptions = false;
  commas.SetExportSource(esCustom);
  commas.SetCustomSource(&awkward);
  commas.Execute();
  EXPECT_EQ(shell.calls.back(), "clipboard \"1,234.5\",\"say \"\"hi\"\"\",\"two\r\nlines\",plain\r\n");

  // Fixed: every value right-aligned in its column, none losing its last character.
  exporter.SetExportType(etFixed);
  exporter.Header = {"Leituras"};
  source.ClearEof();
  exporter.Execute();
  const std::string blanks(9, ' ');
  EXPECT_EQ(shell.calls[2], "clipboard Leituras\r\n\r\n" + blanks + "     a              b\r\n" + blanks +
                                "     x             12\r\n" + blanks + "longer              3\r\n");
}

}  // namespace
