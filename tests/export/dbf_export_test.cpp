// The dBase table byte by byte: header, descriptors and records; field names that fit and
// never repeat; numbers as values in fields that hold them; the memo file of large objects.
#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "export/library_strings.h"
#include "export/short_field_names.h"
#include "export/vantrix3_dbf.h"
#include "export/model_source.h"
#include "plain_fixtures.h"

namespace {

using namespace vantrix;
using exporttest::ExportToMemory;
using exporttest::TextSource;

int U16(const std::string& bytes, size_t at) {
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}
uint32_t U32(const std::string& bytes, size_t at) {
  return static_cast<uint32_t>(U16(bytes, at)) | static_cast<uint32_t>(U16(bytes, at + 2)) << 16;
}

TDateTime Date(int y, int m, int d) {
  TDateTime t = 0;
  platform::TryEncodeDate(y, m, d, t);
  return t;
}

// The descriptor of field i: name, type, offset, length, decimals.
struct Field {
  std::string name;
  char type;
  uint32_t offset;
  int length, decimals;
  bool operator==(const Field&) const = default;
};
Field Descriptor(const std::string& dbf, int i) {
  const size_t at = 32 + 32 * static_cast<size_t>(i);
  std::string name = dbf.substr(at, 11);
  name.resize(name.find('\0'));
  return {name, dbf[at + 11], U32(dbf, at + 12), static_cast<unsigned char>(dbf[at + 16]),
          static_cast<unsigned char>(dbf[at + 17])};
}

TEST(DbfLayout, AnEmptyTableIsHeaderDescriptorsAndEndMarks) {
  TextSource source({{"Nome", ectString}, {"Valor", ectFloat}, {"Quando", ectDate}}, {});
  TVantrix3DBF exporter;
  exporter.ExportDate = Date(2015, 6, 7);
  const std::string dbf = ExportToMemory(exporter, source);
  ASSERT_EQ(dbf.size(), 32u + 3 * 32 + 2);
  EXPECT_EQ(dbf[0], '\x03');
  EXPECT_EQ(dbf.substr(1, 3), std::string("\x0F\x06\x07", 3));  // 2015-06-07
  EXPECT_EQ(U32(dbf, 4), 0u);
  EXPECT_EQ(U16(dbf, 8), 4 * 32 + 1);
  EXPECT_EQ(U16(dbf, 10), 1 + 15 + 15 + 8);
  EXPECT_EQ(dbf[29], '\x03');  // code page 1252
  EXPECT_EQ(Descriptor(dbf, 0), (Field{"NOME", 'C', 0, 15, 0}));
  EXPECT_EQ(Descriptor(dbf, 1), (Field{"VALOR", 'N', 15, 15, 4}));
  EXPECT_EQ(Descriptor(dbf, 2), (Field{"QUANDO", 'D', 30, 8, 0}));
  EXPECT_EQ(dbf.substr(dbf.size() - 2), "\x0D\x1A");
}

TEST(DbfNames, FitTenCharactersAndNeverRepeat) {
  TShortFieldNameGenerator names;
  EXPECT_EQ(names.GetShortFieldName("TemperatureA"), "Temperatur");
  EXPECT_EQ(names.GetShortFieldName("TemperatureB"), "Temperat~1");
  EXPECT_EQ(names.GetShortFieldName("TemperatureC"), "Temperat~2");
  EXPECT_EQ(names.GetShortFieldName("TEMPERAT~3"), "TEMPERAT~3");
  EXPECT_EQ(names.GetShortFieldName("temperatureD"), "temperat~4");  // ~3 is taken already

  TextSource source({{"TemperatureA", ectString}, {"TemperatureB", ectString}, {"TemperatureC", ectString},
                     {"Umidade relativa", ectString}, {"UMIDADE RELATIVA 2", ectString}, {"Canal\x01x", ectString}},
                    {});
  TVantrix3DBF exporter;
  const std::string dbf = ExportToMemory(exporter, source);
  std::vector<std::string> fields;
  for (int i = 0; i < 6; ++i) fields.push_back(Descriptor(dbf, i).name);
  EXPECT_EQ(fields, (std::vector<std::string>{"TEMPERATUR", "TEMPERAT~1", "TEMPERAT~2", "UMIDADE RE", "UMIDADE ~1",
                                              "CANAL_X"}));
}

TEST(DbfRecords, HoldTheValuesInFieldsOfTheirOwnLength) {
  TextSource source({{"Value", ectFloat}, {"N", ectInteger}, {"Big", ectBigint}, {"Ok", ectBoolean},
                     {"Quando", ectDate}, {"Hora", ectTime}, {"Nome", ectString}},
                    {{"3,14159", "1234", "12345678901234567890", "true", "25/12/2026", "10:20:30", "caf\xE9"},
                     {"", "null", "", "FALSE", "", "", "NULL"},
                     {"123456,7", "x", "-5", "?", "31/02/2026", "", "a text longer than fifteen"}});
  TVantrix3DBF exporter;
  exporter.ColumnsPrecision = {"Value=8,2"};
  // pt_BR: 1.234 is the formatted integer; the field takes the value.
  const std::string dbf = ExportToMemory(exporter, source, exporttest::BrSettings());
  EXPECT_EQ(Descriptor(dbf, 0), (Field{"VALUE", 'N', 0, 8, 2}));
  EXPECT_EQ(Descriptor(dbf, 5), (Field{"HORA", 'C', 48, 20, 0}));
  const size_t headerSize = static_cast<size_t>(U16(dbf, 8));
  const size_t recordSize = static_cast<size_t>(U16(dbf, 10));
  ASSERT_EQ(recordSize, 1u + 8 + 11 + 20 + 1 + 8 + 20 + 15);
  ASSERT_EQ(dbf.size(), headerSize + 3 * recordSize + 1);
  EXPECT_EQ(U32(dbf, 4), 3u);
  auto record = [&](int r) { return dbf.substr(headerSize + static_cast<size_t>(r) * recordSize, recordSize); };
  EXPECT_EQ(record(0), " " "    3.14" "       1234" "12345678901234567890" "T" "20261225" "10:20:30            "
                       "caf\xE9           ");
  // Empty and null numbers are blanks, not the null text.
  EXPECT_EQ(record(1), " " "        " "           " "                    " "F" "        " "                    "
                       "               ");
  // Too long for its field: asterisks; not a number or a date: blanks; texts cut.
  EXPECT_EQ(record(2), " " "********" "           " "                  -5" " " "        " "                    "
                       "a text longer t");
}

// A number field holds up to 255 characters, a text field up to 254 (the longer text cut).
TEST(DbfLayout, LengthsAreKeptToWhatTheDescriptorHolds) {
  const std::string longText = std::string(253, 'a') + "bc";
  TextSource source({{"Big", ectFloat}, {"Tiny", ectFloat}, {"Text", ectString}, {"Long", ectString}},
                    {{"1", "2", "x", longText}});
  source.Columns().GetItem(2)->SetSize(0);
  source.Columns().GetItem(3)->SetSize(400);
  TVantrix3DBF exporter;
  exporter.ColumnsPrecision = {"Big=300,400", "Tiny=0,3"};
  exporter.ColumnsLength = {"Long=400"};
  const std::string dbf = ExportToMemory(exporter, source);
  EXPECT_EQ(Descriptor(dbf, 0), (Field{"BIG", 'N', 0, 255, 254}));
  EXPECT_EQ(Descriptor(dbf, 1), (Field{"TINY", 'N', 255, 1, 0}));
  EXPECT_EQ(Descriptor(dbf, 2), (Field{"TEXT", 'C', 256, 1, 0}));
  EXPECT_EQ(Descriptor(dbf, 3), (Field{"LONG", 'C', 257, 254, 0}));
  EXPECT_EQ(dbf.size(), static_cast<size_t>(U16(dbf, 8)) + 1 + 255 + 1 + 1 + 254 + 1);
  // 1 with 254 decimals fits no field.
  EXPECT_EQ(dbf.substr(dbf.size() - 259), "**2x" + longText.substr(0, 254) + "\x1A");
}

TEST(DbfLayout, AsManyFieldsAsTheHeaderSizeHoldsAndNoMore) {
  for (const int fields : {2046, 2047}) {
    std::vector<std::pair<std::string, TVantrixColType>> columns;
    for (int i = 0; i < fields; ++i) columns.emplace_back("Leitura" + std::to_string(i), ectString);
    TextSource source(columns, {});
    TVantrix3DBF exporter;
    if (fields == 2047) {
      std::string message;
      try {
        ExportToMemory(exporter, source);
      } catch (const EVantrixError& e) {
        message = e.what();
      }
      EXPECT_EQ(message, "A dBase table holds at most 2046 fields");
      continue;
    }
    const std::string dbf = ExportToMemory(exporter, source);
    EXPECT_EQ(U16(dbf, 8), 2047 * 32 + 1);
    std::set<std::string> names;  // cut and told apart still
    for (int i = 0; i < fields; ++i) names.insert(Descriptor(dbf, i).name);
    EXPECT_EQ(names.size(), 2046u);
  }
}

TEST(DbfMemo, LargeObjectsGoToTheMemoFileBesideATableFile) {
  exporttest::TableModel model({"Id", "Data"}, {{1, QByteArray("first")}, {2, QByteArray()},
                                                {3, QByteArray(600, 'z')}});
  TVantrixModelSource data(&model);
  data.SetField(0, {ftInteger, 0, true, 0});
  data.SetField(1, {ftBlob, 0, true, 0});
  TVantrix3DBF exporter;
  exporter.ExportedFields = {"Id", "Data"};  // large objects are exported when named
  exporter.SetExportSource(esDataSet);
  exporter.SetDataSet(&data);
  exporttest::TempFolder folder;
  exporter.FileName = folder / "t.dbf";
  ASSERT_EQ(exporter.Execute(), rrCompleted);
  const std::string dbf = exporttest::ReadFile(folder / "t.dbf");
  const std::string dbt = exporttest::ReadFile(folder / "t.dbt");
  EXPECT_EQ(dbf[0], '\x83');
  EXPECT_EQ(Descriptor(dbf, 1), (Field{"DATA", 'M', 11, 10, 0}));
  const size_t headerSize = static_cast<size_t>(U16(dbf, 8));
  EXPECT_EQ(dbf.substr(headerSize + 12, 10), "         1");
  EXPECT_EQ(dbf.substr(headerSize + 22 + 12, 10), std::string(10, ' '));
  EXPECT_EQ(dbf.substr(headerSize + 44 + 12, 10), "         2");
  ASSERT_EQ(dbt.size(), 4u * 512);
  EXPECT_EQ(U32(dbt, 0), 4u);  // the next free block
  EXPECT_EQ(dbt.substr(512, 8), "first\x1A\x1A" + std::string(1, '\0'));
  EXPECT_EQ(dbt.substr(1024, 600), std::string(600, 'z'));
  EXPECT_EQ(dbt.substr(1624, 2), "\x1A\x1A");

  // Into memory there is no memo file: the field is blank and the header says so.
  MemoryOutputStream out;
  exporter.ExportToStream(out);
  EXPECT_EQ(out.Bytes()[0], '\x03');
  EXPECT_EQ(out.Bytes().substr(headerSize + 12, 10), std::string(10, ' '));

  // A memo file whose name is that of a file the run reads is refused, and both stay.
  exporter.FileName = folder / "u.dbf";
  exporter.ReadFiles = {folder / "t.dbt"};
  ASSERT_EQ(symlink((folder / "t.dbt").c_str(), (folder / "u.dbt").c_str()), 0);
  EXPECT_EQ(exporttest::ErrorMessage([&] { exporter.Execute(); }),
            "Cannot write the file \"" + (folder / "u.dbt") + "\": it is \"" + (folder / "t.dbt") +
                "\", a file this export reads");
  EXPECT_EQ(exporttest::ReadFile(folder / "t.dbt"), dbt);
  EXPECT_FALSE(std::filesystem::exists(folder / "u.dbf"));
}

}  // namespace
