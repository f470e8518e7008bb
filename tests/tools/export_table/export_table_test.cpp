// The export tool's tables: CSV files read as people write them, and the rows dump of what
// the run makes of them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLocale>
#include <QProcess>
#include <QProcessEnvironment>

#include "export/output_stream.h"
#include "export/vantrix3.h"
#include "export/vantrix3_dbf.h"
#include "export/vantrix3_sql.h"
#include "tests/export/export_fixtures.h"
#include "tests/support/unattended_pipe.h"
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
            "  0: name \"Nome\" caption \"Nome\" type String width 15 align left format \"\" sql \"CHAR(15)\" length 5\r\n"
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

std::string ExportOf(vantrix::TVantrix3& exporter, vantrix::TVantrixCustomSource& source) {
  exporter.SetExportSource(vantrix::esCustom);
  exporter.SetCustomSource(&source);
  source.ClearEof();
  vantrix::MemoryOutputStream out;
  exporter.ExportToStream(out);
  return out.Bytes();
}

// Columns take the size of their longest text, so that tables of declared sizes keep every
// text whole: a dBase text field up to the 254 characters it holds, an SQL column whatever it is.
TEST(ExportTable, CsvColumnsAreSizedFromTheirLongestText) {
  exporttest::TempFolder folder;
  const std::string path = folder / "t.csv";
  const std::string note(5000, 'n'), medium(40, 'm');
  exporttest::WriteFile(path, "Nota;Curto;Medio;Vazio\r\nx;ab;" + medium + ";\r\n" + note + ";a;b;\r\n");
  exporttable::CsvTable table;
  std::string error;
  ASSERT_TRUE(table.Load(path, exporttest::CSettings(), error)) << error;

  vantrix::TVantrix3SQL sql;
  sql.TableName = "T";
  sql.CreateTable = true;
  const std::string script = ExportOf(sql, table.Source());
  for (const char* declared : {"Nota  CHAR(5000)", "Curto  CHAR(15)", "Medio  CHAR(40)", "Vazio  CHAR(15)"})
    EXPECT_NE(script.find(declared), std::string::npos) << declared << "\n" << script.substr(0, 300);
  EXPECT_NE(script.find("'" + note + "'"), std::string::npos);

  vantrix::TVantrix3DBF dbf;
  const std::string bytes = ExportOf(dbf, table.Source());
  ASSERT_GT(bytes.size(), 32u * 5);
  std::vector<int> lengths;
  for (size_t f = 0; f < 4; ++f) lengths.push_back(static_cast<unsigned char>(bytes[32 + 32 * f + 16]));
  EXPECT_EQ(lengths, (std::vector<int>{254, 2, 40, 1}));
  EXPECT_NE(bytes.find(note.substr(0, 254) + "a "), std::string::npos);  // cut only where the field ends
  EXPECT_NE(bytes.find(medium), std::string::npos);
}

// Runs the tool where files hold at most one block and writes past it fail (their signal
// ignored): a full disk.
int RunOnFullDisk(const QStringList& arguments, QByteArray& message) {
  QProcess tool;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  tool.setProcessEnvironment(environment);
  tool.start("/bin/sh", QStringList{"-c", "trap '' XFSZ; ulimit -f 1; exec \"$0\" \"$@\"", EXPORT_TABLE} + arguments);
  if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit) return -1;
  message = tool.readAllStandardError();
  return tool.exitCode();
}

// The clipboard's text goes to a file as every export's does: on a full disk the run fails
// with a message and the file that was there is left as it was, with no piece beside it.
TEST(ExportTable, ClipboardOutputThatCannotBeWrittenLeavesTheFileBefore) {
  exporttest::TempFolder folder;
  const std::string path = folder / "clip.txt";
  exporttest::WriteFile(path, "before");
  QByteArray message;
  EXPECT_EQ(RunOnFullDisk({"--format", "clipboard", "--rows", "500", "--output", QString::fromStdString(path)}, message), 1);
  EXPECT_TRUE(message.contains("export_table: ")) << message.toStdString();
  EXPECT_EQ(exporttest::ReadFile(path), "before");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"clip.txt"});
}

// The tool run offscreen: its exit code, and what it said last on its error output (the
// clipboard's platform may say something of its own first).
int RunOffscreen(const QStringList& arguments, std::string& said) {
  QProcess tool;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  tool.setProcessEnvironment(environment);
  tool.start(EXPORT_TABLE, arguments);
  if (!tool.waitForFinished(60000)) return -1;
  const QList<QByteArray> lines = tool.readAllStandardError().trimmed().split('\n');
  said = lines.last().toStdString();
  return tool.exitCode();
}

// An output the tool never replaces, in any format: a named pipe, or the CSV table it reads
// (named by a link). It is refused with its name, and stays as it was.
TEST(ExportTable, APipeOrTheTableReadIsNoOutput) {
  exporttest::TempFolder folder;
  const std::string pipe = folder / "pipe", table = folder / "t.csv", link = folder / "same.csv";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  exporttest::WriteFile(table, "A;B\r\n1;2\r\n");
  ASSERT_EQ(symlink(table.c_str(), link.c_str()), 0);
  const QString csv = QString::fromStdString(table);
  for (const char* format : {"csv", "txt", "pdf", "xls", "rows", "clipboard"}) {
    std::string said;
    EXPECT_EQ(RunOffscreen({"--format", format, "--rows", "5", "--output", QString::fromStdString(pipe)}, said), 1);
    EXPECT_EQ(said, "export_table: Cannot create the file \"" + pipe +
                        "\": it is a named pipe, and only a regular file is replaced") << format;
    EXPECT_EQ(RunOffscreen({"--format", format, "--csv", csv, "--output", QString::fromStdString(link)}, said), 1);
    EXPECT_EQ(said, "export_table: Cannot write the file \"" + link + "\": it is \"" + table +
                        "\", a file this export reads") << format;
  }
  EXPECT_EQ(exporttest::FileKind(pipe), unsigned{S_IFIFO});
  EXPECT_EQ(exporttest::ReadFile(table), "A;B\r\n1;2\r\n");
  EXPECT_EQ(folder.Names().size(), 3u);
}

// A history file cut short by a full disk is no file to test with: the tool says so.
TEST(ExportTable, AHistoryFileThatCannotBeWrittenWholeFails) {
  exporttest::TempFolder folder;
  QByteArray message;
  EXPECT_EQ(RunOnFullDisk({"--write-history", QString::fromStdString(folder / "run.mpc"), "--lines", "1000"}, message), 1);
  EXPECT_TRUE(message.contains("cannot write")) << message.toStdString();
}

// A history file the tool can't open is told as such, with the system's reason or what stands
// in its place (a pipe or a device is never read), and a file it can open that holds no history
// as that; none leaves an output behind.
TEST(ExportTable, AHistoryFileThatCannotBeReadSaysWhy) {
  exporttest::TempFolder folder;
  exporttest::WriteFile(folder / "notes.mpc", "just some words\nand more\nand more\n01/13/2026\n");
  const testsupport::UnattendedPipe pipe(folder / "pipe.mpc");  // a tool that waits in its open is let go
  ASSERT_EQ(symlink("/dev/null", (folder / "device.mpc").c_str()), 0);
  const struct { std::string history, said; } cases[] = {
      {folder / "missing.mpc", "cannot open " + (folder / "missing.mpc") + ": No such file or directory"},
      {folder.Path(), "cannot open " + folder.Path() + ": it is a folder"},
      {folder / "pipe.mpc", "cannot open " + (folder / "pipe.mpc") + ": it is a named pipe"},
      {folder / "device.mpc", "cannot open " + (folder / "device.mpc") + ": it is a device"},
      {folder / "notes.mpc", (folder / "notes.mpc") + " is no history file this program can read"},
  };
  for (const auto& c : cases) {
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C");  // the system's reasons in its own words
    tool.setProcessEnvironment(environment);
    tool.start(EXPORT_TABLE, {"--history", QString::fromStdString(c.history), "--output",
                              QString::fromStdString(folder / "out.csv")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 1) << c.history;
    EXPECT_EQ(tool.readAllStandardError().toStdString(), "export_table: " + c.said + "\n");
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "out.csv"));
}

// Damaged lines are left out of the export, and the tool says so in the viewer's words: what
// happened, the file, the first damaged line and how many there were. A whole file says nothing.
TEST(ExportTable, AHistoryFileWithDamagedLinesIsExportedWithoutThemAndSaysSo) {
  exporttest::TempFolder folder;
  const std::string header = " , , Sonda\n , , Temp\n , , \xB0" "C\n";
  exporttest::WriteFile(folder / "damaged.mpc", header + "05/12/2026, 14:34:51.000, 20.5\n31/02/2026, 14:34:52.000, 20.6\n"
                                                         "xx/12/2026, 14:34:53.000, 20.7\n05/12/2026, 14:34:54.000, 20.8\n");
  exporttest::WriteFile(folder / "whole.mpc", header + "05/12/2026, 14:34:51.000, 20.5\n");
  const std::string table = "\"\";\"\";\"Sonda\"\r\n\"\";\"\";\"Temp\"\r\n\"\";\"\";\"\xB0" "C\"\r\n"
                            "\"05/12/2026\";\"14:34:51.000\";\"20.5\"\r\n";
  const struct { std::string history, said, exported; } cases[] = {
      {folder / "damaged.mpc",
       "Erro na leitura do arquivo! Linhas danificadas foram deixadas de fora.\n" + (folder / "damaged.mpc") +
           "\nLinha 5: a data \"31/02/2026\" não existe.\n2 linhas deixadas de fora ao todo.\n",
       table + "\"05/12/2026\";\"14:34:54.000\";\"20.8\"\r\n"},
      {folder / "whole.mpc", "", table},
  };
  for (const auto& c : cases) {
    QProcess tool;
    tool.start(EXPORT_TABLE, {"--history", QString::fromStdString(c.history), "--locale", "en_GB", "--output",
                              QString::fromStdString(folder / "out.csv")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0) << c.history;
    EXPECT_EQ(tool.readAllStandardError().toStdString(), c.said);
    EXPECT_EQ(exporttest::ReadFile(folder / "out.csv"), c.exported);
  }
}

}  // namespace
