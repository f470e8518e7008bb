// Exporter properties in INI files: the exact text written for every section, and the load
// that takes it back (lines that hold "=" included); files in UTF-8 and UTF-16.
#include <gtest/gtest.h>

#include "export/library_strings.h"
#include "platform/ini_file.h"
#include "run_fixtures.h"

namespace {

using namespace vantrix;
using exporttest::ReadFile;
using exporttest::RecordingExporter;
using exporttest::TempFolder;
using exporttest::WriteFile;

void SetEverything(TVantrix3FormatText& e) {
  e.GoToFirstRecord = false;
  e.CurrentRecordOnly = true;
  e.ExportRecCount = 5;
  e.SkipRecCount = 2;
  e.AutoCalcStrType = true;
  e.CaptionRow = 3;
  e.ExportedFields = {"Temp", "Hora"};
  e.FileName = "/srv/relat\xF3rios/out.txt";
  e.ShowFile = true;
  e.Header = {"Relat\xF3rio = di\xE1rio", ""};
  e.AllowCaptions = false;
  e.Captions = {"Temp=Temperatura = \xB0" "C"};
  e.Formats().SetFloatFormat("0.000");
  e.Formats().SetBooleanTrue("sim");
  e.Formats().SetBooleanFalse("n\xE3o");
  e.Formats().SetNullString("(null)");
  e.UserFormats = {"Temp=0.0"};
}

constexpr const char* kGolden =
    "[OTHER]\r\nkeep=1\r\n"
    "[GENERAL]\r\nGoToFirstRecord=0\r\nExportEmpty=1\r\nCurrentRecordOnly=1\r\nExportRecCount=5\r\nSkipRecCount=2\r\n"
    "OnlyVisibleFields=0\r\nAutocalcStrType=1\r\nCaptionRow=3\r\nFileName=/srv/relat\xF3rios/out.txt\r\nShowFile=1\r\n"
    "PrintFile=0\r\nAllowCaptions=0\r\n"
    "[FIELDS]\r\nfield0=Temp\r\nfield1=Hora\r\n"
    "[HEADER]\r\nline0=Relat\xF3rio = di\xE1rio\r\nline1=\r\n"
    "[CAPTIONS]\r\nline0=Temp=Temperatura = \xB0" "C\r\n"
    "[FORMATS]\r\nInteger=#,###,##0\r\nFloat=0.000\r\nDate=d mmm yyyy\r\nTime=hh:nn:ss\r\n"
    "DateTime=d mmm yyyy hh:nn:ss\r\nCurrency=#,###,##0.00\r\nBooleanTrue=sim\r\nBooleanFalse=n\xE3o\r\n"
    "NullString=(null)\r\n"
    "[USER_FORMATS]\r\nline0=Temp=0.0\r\n";

TEST(Persistence, FormatTextSavesEverySectionAndLoadsItBack) {
  TempFolder folder;
  const std::string path = folder / "options.ini";
  // Stale list entries go; sections of others stay.
  WriteFile(path, "[OTHER]\r\nkeep=1\r\n[FIELDS]\r\nfield0=a\r\nfield1=b\r\nfield2=c\r\n[FOOTER]\r\nline0=old\r\n");
  RecordingExporter saved;
  SetEverything(saved);
  saved.SavePropertiesToFile(path);
  EXPECT_EQ(ReadFile(path), kGolden);

  RecordingExporter loaded;
  loaded.Footer = {"will go"};
  loaded.LoadPropertiesFromFile(path);
  EXPECT_EQ(loaded.Captions, saved.Captions);
  EXPECT_EQ(loaded.Header, saved.Header);
  EXPECT_TRUE(loaded.Footer.empty());
  EXPECT_EQ(loaded.ExportedFields, saved.ExportedFields);
  EXPECT_EQ(loaded.UserFormats, saved.UserFormats);
  EXPECT_EQ(loaded.FileName, saved.FileName);
  EXPECT_EQ(loaded.Formats().NullString(), "(null)");
  EXPECT_EQ(loaded.Formats().BooleanFalse(), "n\xE3o");
  EXPECT_FALSE(loaded.GoToFirstRecord);
  EXPECT_EQ(loaded.CaptionRow, 3);
  loaded.SavePropertiesToFile(folder / "again.ini");  // what was loaded saves the same text
  EXPECT_EQ("[OTHER]\r\nkeep=1\r\n" + ReadFile(folder / "again.ini"), kGolden);
}

TEST(Persistence, MissingKeysKeepValuesAndEmptyFormatsTakeDefaults) {
  TempFolder folder;
  const std::string path = folder / "partial.ini";
  WriteFile(path, "[GENERAL]\nSkipRecCount=x\nExportRecCount=7\n[FORMATS]\nInteger=\nFloat=\nNullString=  -  \n");
  RecordingExporter e;
  e.SkipRecCount = 4;
  e.Formats().SetIntegerFormat("0");
  e.Formats().SetFloatFormat("0.0");
  e.LoadPropertiesFromFile(path);
  EXPECT_EQ(e.SkipRecCount, 4);
  EXPECT_EQ(e.ExportRecCount, 7);
  EXPECT_EQ(e.Formats().IntegerFormat(), "#,###,##0");
  EXPECT_EQ(e.Formats().FloatFormat(), "");
  EXPECT_EQ(e.Formats().NullString(), "-");
}

TEST(Persistence, SqlFormatTextKeepsFormatsWithoutCaptions) {
  TempFolder folder;
  const std::string path = folder / "sql.ini";
  class Sql : public TVantrix3FormatTextSQL {
  } sql;
  sql.Formats().SetSettings(exporttest::CSettings());
  sql.Formats().ResetFormats();
  sql.Footer = {"COMMIT;"};
  sql.UserFormats = {"a=0"};
  sql.SavePropertiesToFile(path);
  const std::string text = ReadFile(path);
  EXPECT_NE(text.find("[FOOTER]\r\nline0=COMMIT;\r\n[FORMATS]\r\nInteger=#,###,##0\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[USER_FORMATS]\r\nline0=a=0\r\n"), std::string::npos);
  EXPECT_EQ(text.find("CAPTIONS"), std::string::npos);
  EXPECT_EQ(text.find("AllowCaptions"), std::string::npos);
}

TEST(Persistence, ASaveThatCannotBeWrittenIsReported) {
  TempFolder folder;
  RecordingExporter e;
  try {
    e.SavePropertiesToFile(folder / "missing/options.ini");
    FAIL();
  } catch (const EVantrixError& error) {
    EXPECT_NE(std::string(error.what()).find("options.ini"), std::string::npos);
  }
}

// A file in UTF-16 is not taken for one without options: the load says it cannot read it, and
// neither the exporter nor the file changes. One behind the UTF-8 byte-order mark loads its
// texts in code page 1252 and saves back as UTF-8.
TEST(Persistence, AUtf16FileIsToldAndAUtf8OneIsConverted) {
  TempFolder folder;
  const std::string path = folder / "options.ini";
  const std::string wide("\xFF\xFE[\0G\0]\0\r\0\n\0", 10);
  WriteFile(path, wide);
  RecordingExporter e;
  e.Header = {"kept"};
  try {
    e.LoadPropertiesFromFile(path);
    FAIL() << "no error";
  } catch (const EVantrixError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot read the file \"" + path + "\": it is UTF-16 text; save it as UTF-8 or as ANSI (code page 1252)");
  }
  EXPECT_EQ(e.Header, TStrings{"kept"});
  EXPECT_EQ(ReadFile(path), wide);

  WriteFile(path, "\xEF\xBB\xBF[HEADER]\r\nline0=T\xC3\xADtulo \xE2\x88\x9A\r\n");
  e.LoadPropertiesFromFile(path);
  EXPECT_EQ(e.Header, TStrings{"T\xEDtulo ?"});
  e.SavePropertiesToFile(path);
  EXPECT_EQ(ReadFile(path).substr(0, 14), "\xEF\xBB\xBF[GENERAL]\r\n");
  EXPECT_NE(ReadFile(path).find("[HEADER]\r\nline0=T\xC3\xADtulo ?\r\n"), std::string::npos);
}

}  // namespace
