// The XML data packet, the SQL script and the LaTeX document: what each writes for names and
// values that would break it, their encodings, and their ends after an abort.
#include <gtest/gtest.h>

#include <cstdlib>

#include "export/library_strings.h"
#include "export/plain_options.h"
#include "export/vantrix3_latex.h"
#include "export/vantrix3_sql.h"
#include "export/vantrix3_xml.h"
#include "plain_fixtures.h"
#include "run_fixtures.h"
#include "tests/devconfig/tool_output.h"

namespace {

using namespace vantrix;
using exporttest::ExportToMemory;
using exporttest::Lines;
using exporttest::TextSource;

TEST(XmlPacket, ValidNamesAndEveryValueEscaped) {
  TextSource source({{"Canal 1", ectFloat}, {"Canal_1", ectString}, {"1st", ectString}, {"a/b\xB0", ectString}},
                    {{"12.5", "<&> \"q\" 'a'", "tab\there\r\nx\x01y", ""}});
  TVantrix3XML exporter;
  const std::vector<std::string> lines = Lines(ExportToMemory(exporter, source));
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[0], "<?xml version=\"1.0\" standalone=\"yes\"?>");
  EXPECT_EQ(lines[1], "<DATAPACKET Version=\"2.0\">");
  EXPECT_EQ(lines[4],
            "<FIELD FieldName=\"Canal_1\" DisplayLabel=\"Canal_1\" FieldType=\"Float\" FieldClass=\"TField\"/>");
  EXPECT_EQ(lines[5],
            "<FIELD FieldName=\"Canal_1_2\" DisplayLabel=\"Canal_1_2\" FieldType=\"String\" FieldClass=\"TField\"/>");
  EXPECT_EQ(lines[10], "<ROWDATA>");
  // The degree sign is a letter of no name; UTF-8 since no encoding is named.
  EXPECT_EQ(lines[11],
            "<ROW Canal_1=\"12.5\" Canal_1_2=\"&lt;&amp;&gt; &quot;q&quot; 'a'\" _1st=\"tab&#9;here&#13;&#10;xy\" "
                       "a_b_=\"\"/>");
  EXPECT_EQ(lines[12], "</ROWDATA>");
  EXPECT_EQ(lines[13], "</DATAPACKET>");

  exporter.AllowCaptions = false;
  exporter.Options().StandAlone = false;
  const std::string text = ExportToMemory(exporter, source);
  EXPECT_EQ(text.find("METADATA"), std::string::npos);
  EXPECT_EQ(Lines(text)[0], "<?xml version=\"1.0\" standalone=\"no\"?>");
}

TEST(XmlPacket, WrittenInTheEncodingItNames) {
  TextSource source({{"Unidade", ectString}}, {{"25 \xB0" "C \x80 caf\xE9"}});
  TVantrix3XML exporter;
  EXPECT_NE(ExportToMemory(exporter, source).find("25 \xC2\xB0" "C \xE2\x82\xAC caf\xC3\xA9"), std::string::npos);

  exporter.Options().Encoding = "ISO-8859-1";
  std::string text = ExportToMemory(exporter, source);
  EXPECT_EQ(Lines(text)[0], "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?>");
  EXPECT_NE(text.find("25 \xB0" "C &#8364; caf\xE9"), std::string::npos);  // no euro sign in Latin-1

  exporter.Options().Encoding = "UTF-16";
  text = ExportToMemory(exporter, source);
  EXPECT_EQ(text.substr(0, 6), std::string("\xFE\xFF\0<\0?", 6));

  // A name the system doesn't know: an error before anything is written, the old file kept.
  exporttest::TempFolder folder;
  exporter.FileName = folder / "t.xml";
  exporttest::WriteFile(exporter.FileName, "old");
  exporter.Options().Encoding = "no-such-charset";
  source.ClearEof();
  EXPECT_THROW(exporter.Execute(), EVantrixError);
  EXPECT_EQ(exporttest::ReadFile(exporter.FileName), "old");
  exporter.Options().Encoding = "EBCDIC-US";
  EXPECT_THROW(exporter.Execute(), EVantrixError);
}

TEST(XmlPacket, AnAbortLeavesAClosedDocument) {
  exporttest::NumberedSource source(10, {ectString});
  TVantrix3XML exporter;
  exporter.OnExportedRecord = [](TVantrix3& sender, int recNo) {
    if (recNo == 1) sender.Abort();
  };
  const std::vector<std::string> lines = Lines(ExportToMemory(exporter, source));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3], "<ROW Column0=\"r2c0\"/>");
  EXPECT_EQ(lines[lines.size() - 2], "</ROWDATA>");
  EXPECT_EQ(lines.back(), "</DATAPACKET>");
}

TEST(SqlScript, StatementsTheDatabasesTake) {
  TextSource source({{"A", ectInteger}, {"B", ectString}}, {{"1", "x"}, {"", "it's"}, {"2", ""}, {"3", "z"},
                                                             {"4", "w"}});
  TVantrix3SQL exporter;
  exporter.TableName = "T";
  EXPECT_EQ(Lines(ExportToMemory(exporter, source)).at(0), "INSERT INTO T");
  const std::string script = ExportToMemory(exporter, source);
  EXPECT_EQ(script.substr(0, 49), "INSERT INTO T\r\n  (A,B)\r\nVALUES(1,'x');\r\n\r\nINSERT ");
  // An empty number is null, not a hole in the statement.
  EXPECT_NE(script.find("VALUES(null,'it''s');"), std::string::npos);

  exporter.CommitRecCount = 2;
  exporter.CommitAfterScript = true;
  exporter.Footer = {"-- fim"};
  std::vector<std::string> commits;
  for (const std::string& line : Lines(ExportToMemory(exporter, source)))
    if (line.rfind("VALUES", 0) == 0 || line == "COMMIT WORK;") commits.push_back(line.substr(0, 8));
  EXPECT_EQ(commits, (std::vector<std::string>{"VALUES(1", "COMMIT W", "VALUES(n", "VALUES(2", "COMMIT W", "VALUES(3",
                                               "VALUES(4", "COMMIT W", "COMMIT W"}));
  EXPECT_EQ(Lines(ExportToMemory(exporter, source)).back(), "-- fim");
}

TEST(SqlScript, NumbersWithoutGroupingAndQuotedNames) {
  TextSource source({{"Valor medido", ectFloat}, {"N", ectInteger}, {"Ok", ectBoolean}, {"Quando", ectDate}},
                    {{"1234,5", "1234567", "True", "25/12/2026"}, {"abc", "", "no", ""}});
  TVantrix3SQL exporter;
  exporter.TableName = "Leituras \"A\"";
  exporter.CreateTable = true;
  exporter.FormatValues = true;  // pictures with grouping first: 1.234,50 and 1.234.567
  const std::vector<std::string> lines = Lines(ExportToMemory(exporter, source, exporttest::BrSettings()));
  EXPECT_EQ(lines[0], "CREATE TABLE \"Leituras \"\"A\"\"\"(");
  EXPECT_EQ(lines[1], "  \"Valor medido\"  DOUBLE PRECISION,");
  EXPECT_EQ(lines[4], "  Quando  DATE);");
  EXPECT_EQ(lines[7], "  (\"Valor medido\",N,Ok,Quando)");
  EXPECT_EQ(lines[8], "VALUES(1234.50,1234567,true,'25/12/2026');");
  EXPECT_EQ(lines[12], "VALUES(null,null,false,'');");

  exporter.TableName = "  ";
  EXPECT_THROW(ExportToMemory(exporter, source), EVantrixError);
  EXPECT_EQ(SqlIdentifier("main.Leituras"), "main.Leituras");
  EXPECT_EQ(SqlIdentifier("2a"), "\"2a\"");
  // Reserved words in any case, alone or as a dotted part; a word that only starts like one
  // stays plain.
  EXPECT_EQ(SqlIdentifier("TABLE"), "\"TABLE\"");
  EXPECT_EQ(SqlIdentifier("Order"), "\"Order\"");
  EXPECT_EQ(SqlIdentifier("main.values"), "\"main.values\"");
  EXPECT_EQ(SqlIdentifier("Tables"), "Tables");
  EXPECT_EQ(SqlIdentifier("Zone_1"), "Zone_1");
}

// Each statement of the script as SQLite takes it, the count of rows in `table` and the sum of
// `column` after it, or SQLite's complaint.
std::string RunInSqlite(const std::string& script, const std::string& table, const std::string& column) {
  exporttest::TempFolder folder;
  exporttest::WriteFile(folder / "t.sql", script);
  const char* program =
      "import sqlite3, sys\n"
      "db = sqlite3.connect(':memory:')\n"
      "try:\n"
      "    db.executescript(open(sys.argv[1], encoding='cp1252').read())\n"
      "    print(*db.execute('select count(*), sum(%s) from %s' % (sys.argv[3], sys.argv[2])).fetchone())\n"
      "except sqlite3.Error as e:\n"
      "    print('sqlite:', e)\n";
  using devconfigtest::Quoted;
  return devconfigtest::RunTool("/usr/bin/python3 -c " + Quoted(program) + " " + Quoted(folder / "t.sql") + " " +
                                Quoted(table) + " " + Quoted(column))
      .out;
}

// A column's name is one name, dot and all; so is a table name made from a file's, while one
// the caller gives may name its schema. SQLite runs each script whole.
TEST(SqlScript, DottedNamesAreOneNameUnlessTheyNameASchema) {
  TextSource source({{"Pump.speed", ectFloat}, {"Where", ectString}}, {{"1.5", "a"}, {"2", "b"}});
  TVantrix3SQL exporter;
  exporter.CreateTable = true;
  exporter.TableName = "Readings";
  std::string script = ExportToMemory(exporter, source);
  EXPECT_EQ(Lines(script).at(1), "  \"Pump.speed\"  DOUBLE PRECISION,");
  EXPECT_EQ(RunInSqlite(script, "Readings", "\"Pump.speed\""), "2 3.5\n");

  exporter.TableName = "READINGS.V2";
  exporter.QualifiedTableName = false;
  script = ExportToMemory(exporter, source);
  EXPECT_EQ(Lines(script).at(0), "CREATE TABLE \"READINGS.V2\"(");
  EXPECT_NE(script.find("INSERT INTO \"READINGS.V2\"\r\n"), std::string::npos);
  EXPECT_EQ(RunInSqlite(script, "\"READINGS.V2\"", "\"Pump.speed\""), "2 3.5\n");

  exporter.TableName = "main.Readings";
  exporter.QualifiedTableName = true;
  script = ExportToMemory(exporter, source);
  EXPECT_EQ(Lines(script).at(0), "CREATE TABLE main.Readings(");
  EXPECT_EQ(RunInSqlite(script, "Readings", "\"Pump.speed\""), "2 3.5\n");
  EXPECT_EQ(SqlName("main.Readings"), "\"main.Readings\"");
  EXPECT_EQ(SqlName("Zone_1"), "Zone_1");
  EXPECT_EQ(SqlName("Order"), "\"Order\"");
}

TEST(LaTeXDocument, EscapesWhatLaTeXWouldNotPrintAsItself) {
  std::string text;
  AppendLaTeXEscaped("50% #1 $2 a_b {c} \\ ~ ^ | < > \"q\" 1\xB2 5\xB5m \xD7 \x81!", text);
  EXPECT_EQ(text, "50\\% \\#1 \\$2 a\\_b \\{c\\} \\textbackslash{} \\textasciitilde{} \\textasciicircum{} \\textbar{} "
                  "$<$ $>$ ''q'' 1$^{2}$ 5$\\mu$m $\\times$ !");

  TextSource source({{"Nome", ectString}, {"Valor", ectFloat}}, {{"50%", "1.5"}});
  TVantrix3LaTeX exporter;
  exporter.Options().DocumentParams.clear();
  exporter.Options().SetCodePage(0);
  EXPECT_EQ(exporter.Options().CodePage(), 1252);
  const std::vector<std::string> lines = Lines(ExportToMemory(exporter, source));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "\\documentclass{article}", "\\usepackage[cp1252]{inputenc}", "\\usepackage[T1]{fontenc}",
                       "\\usepackage[english]{babel}",
                       "\\begin{document}", "", "\\par\\bigskip", "\\begin{tabular}{|l|r|}", "\\hline", "Nome & Valor",
                       "\\\\", "\\hline", "50\\% & 1.50", "\\\\", "\\hline", "\\end{tabular}", "", "\\end{document}"}));
}

// Every letter of the code page is typeset as itself (Icelandic ones too) and the document,
// with its preamble, builds in pdflatex.
TEST(LaTeXDocument, EveryLetterComesBackFromPdflatex) {
  if (std::system("command -v pdflatex >/dev/null && command -v pdftotext >/dev/null") != 0)
    GTEST_SKIP() << "needs pdflatex and pdftotext";
  exporttest::TempFolder folder;
  TextSource source({{"Nome", ectString}}, {{"\xD0 \xF0 \xDE \xFE"}, {"caf\xE9 \xC6r\xF8"}});
  TVantrix3LaTeX exporter;
  exporter.Preambula = {"\\usepackage{array}"};
  exporttest::WriteFile(folder / "t.tex", ExportToMemory(exporter, source));
  const std::string build = "cd " + folder.Path() +
                            " && pdflatex -halt-on-error -interaction=batchmode t.tex >/dev/null 2>&1"
                            " && pdftotext t.pdf t.txt";
  ASSERT_EQ(std::system(build.c_str()), 0) << exporttest::ReadFile(folder / "t.log");
  // Blanks between letters of bitmap fonts may not come back: the letters are compared.
  std::string text = exporttest::ReadFile(folder / "t.txt");
  std::erase(text, ' ');
  EXPECT_NE(text.find("\u00D0\u00F0\u00DE\u00FE"), std::string::npos) << text;
  EXPECT_NE(text.find("caf\u00E9\u00C6r\u00F8"), std::string::npos) << text;
}

TEST(LaTeXDocument, InTheCodePageItDeclaresAndWholeAfterAnAbort) {
  exporttest::NumberedSource source(10, {ectString});
  TVantrix3LaTeX exporter;
  exporter.Options().SetCodePage(850);
  exporter.Header = {"Caf\xE9"};
  exporter.OnExportedRecord = [](TVantrix3& sender, int recNo) {
    if (recNo == 1) sender.Abort();
  };
  const std::string text = ExportToMemory(exporter, source);
  EXPECT_NE(text.find("\\usepackage[cp850]{inputenc}"), std::string::npos);
  EXPECT_NE(text.find("Caf\x82\r\n"), std::string::npos);  // é in code page 850
  const std::string end = "r2c0\r\n\\\\\r\n\\hline\r\n\\end{tabular}\r\n\r\n\\end{document}\r\n";
  ASSERT_GE(text.size(), end.size());
  EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

}  // namespace

namespace {

// The dialog's option holders set the plain exporters before a run.
TEST(PlainOptions, TheDialogsHoldersSetTheExporters) {
  vantrix::TVantrixCSVOptions csv(nullptr);
  csv.Comma = ';';
  csv.Quote = '\'';
  csv.QuoteStrings = false;
  vantrix::TVantrix3ASCII ascii;
  vantrix::ApplyOptions(csv, ascii);
  EXPECT_EQ(ascii.ExportType(), vantrix::etCSV);
  EXPECT_EQ(std::string() + ascii.CSVComma + ascii.CSVQuote, ";'");
  EXPECT_FALSE(ascii.CSVQuoteStrings);
  vantrix::TVantrixTXTOptions txt(nullptr);
  txt.AutoCalcColWidth = false;
  txt.ColSpacing = 4;
  vantrix::ApplyOptions(txt, ascii);
  EXPECT_EQ(ascii.ExportType(), vantrix::etTXT);
  EXPECT_FALSE(ascii.AutoCalcColWidth);
  EXPECT_EQ(ascii.TXTSpacing, 4);

  vantrix::TVantrixXMLOptions xmlOptions(nullptr);
  xmlOptions.Standalone = false;
  xmlOptions.Encoding = "ISO-8859-1";
  vantrix::TVantrix3XML xml;
  vantrix::ApplyOptions(xmlOptions, xml);
  EXPECT_FALSE(xml.Options().StandAlone);
  EXPECT_EQ(xml.Options().Encoding, "ISO-8859-1");
  EXPECT_EQ(xml.Options().Version, "1.0");

  vantrix::TVantrixSQLOptions sqlOptions(nullptr);
  sqlOptions.TableName = "T";
  sqlOptions.CreateTable = true;
  sqlOptions.CommitRecCount = 10;
  sqlOptions.CommitAfterScript = true;
  sqlOptions.CommitStatement = "COMMIT;";
  sqlOptions.StatementTerm = '!';
  vantrix::TVantrix3SQL sql;
  vantrix::ApplyOptions(sqlOptions, sql);
  EXPECT_EQ(sql.TableName + sql.CommitStatement + sql.StatementTerm, "TCOMMIT;!");
  EXPECT_TRUE(sql.CreateTable && sql.CommitAfterScript);
  EXPECT_EQ(sql.CommitRecCount, 10);
}

}  // namespace
