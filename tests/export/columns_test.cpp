// The column model: which columns an export takes from its source, and the name, caption,
// type, width, alignment, picture, length and SQL type each gets; the formats' setters and
// the export row's cells.
#include <gtest/gtest.h>

#include "export/columns.h"
#include "export/formats.h"
#include "export/model_source.h"
#include "export/string_list.h"
#include "export/text_measure.h"
#include "export/vantrix3_text.h"
#include "export_fixtures.h"

namespace {

using namespace vantrix;
using exporttest::CSettings;
using exporttest::GridRows;
using exporttest::TableModel;

// A format exporter that lists alignments, as the text and document formats do.
class AligningExporter : public TVantrix3FormatText {
 public:
  AligningExporter() { Formats().SetSettings(CSettings()); Formats().ResetFormats(); }
  const TStrings* OwnerColumnsAlign() const override { return &ColumnsAlign; }
  const TStrings* OwnerColumnsWidth() const override { return &ColumnsWidth; }
  const TStrings* OwnerColumnsLength() const override { return &ColumnsLength; }
};

void Fill(TVantrix3& exporter) {
  exporter.Columns().Clear();
  exporter.Columns().Fill(false);
}

// The per-column lists are looked up through an index: the first line of a name counts, in
// any case of its letters (accents too), a line without "=" names nothing, and a value may
// hold "=". The dialog's editor of such lists sets the first line of a name, removes it for an
// empty value (the next of that name then counts) and adds what is missing at the end.
TEST(NameValueLists, TheFirstLineOfANameCountsInAnyCase) {
  const TStrings lines = {"\xC1rea=1", "x", "\xC1REA=2", "b=3=4", "=e"};
  const TNameIndex index(&lines);
  std::string value;
  EXPECT_TRUE(index.FindValue("\xE1rea", value));
  EXPECT_EQ(value, "1");
  EXPECT_TRUE(index.FindValue("B", value));
  EXPECT_EQ(value, "3=4");
  EXPECT_TRUE(index.FindValue("", value));
  EXPECT_EQ(value, "e");
  EXPECT_FALSE(index.FindValue("x", value));
  EXPECT_FALSE(TNameIndex(nullptr).FindValue("b", value));

  TStrings edited = {"K=0", "A=1", "b=2", "a=3", "C=4"};
  {
    TNameValueEditor editor(edited);
    editor.Set("a", "");
    editor.Set("A", "9");
    editor.Set("zz", "");
    editor.Set("d", "5");
    editor.Set("e=f", "6");  // names no line: added, under "e"
    editor.Set("E", "7");
  }
  EXPECT_EQ(edited, (TStrings{"K=0", "b=2", "A=9", "C=4", "d=5", "E=7"}));
}

TEST(Columns, StringGridColumnsByNumberWithCaptionsAndWidths) {
  TableModel grid({"a", "b", "c", "d"}, GridRows(3, 4));
  TVantrixModelSource stringGrid(&grid);
  const FixedTextMeasure measure(10);
  stringGrid.SetTextMeasure(&measure);
  stringGrid.SetColumnPixelWidth(0, 95);
  AligningExporter exporter;
  exporter.SetExportSource(esStringGrid);
  exporter.SetStringGrid(&stringGrid);
  exporter.ExportedFields = {"0", "3", "4", "x"};
  exporter.Captions = {"3=Third"};
  Fill(exporter);
  ASSERT_EQ(exporter.Columns().Count(), 2);
  EXPECT_EQ(exporter.Columns()[0].Name, "0");
  EXPECT_EQ(exporter.Columns()[0].Caption, "ColNo_0");
  EXPECT_EQ(exporter.Columns()[0].Width, 9);  // 95 pixels / 10 for an "X"
  EXPECT_EQ(exporter.Columns()[1].Caption, "Third");
  EXPECT_EQ(exporter.Columns()[1].Width, 6);  // the default 64 pixels
  EXPECT_EQ(exporter.Columns()[1].Length, 255);
  EXPECT_EQ(exporter.Columns()[1].SQLType, "CHAR(6)");

  exporter.ExportedFields.clear();
  exporter.CaptionRow = 1;
  exporter.ColumnsLength = {"2=abc", "1=40"};
  const FixedTextMeasure blank(0);  // a font whose "X" takes no pixels counts 8
  stringGrid.SetTextMeasure(&blank);
  Fill(exporter);
  ASSERT_EQ(exporter.Columns().Count(), 4);
  EXPECT_EQ(exporter.Columns()[2].Caption, "r1c2");
  EXPECT_EQ(exporter.Columns()[2].Length, 255);  // not a number
  EXPECT_EQ(exporter.Columns()[1].Length, 40);
  EXPECT_EQ(exporter.Columns()[3].Width, 8);
}

TEST(Columns, AlignmentFromTheListOrTheType) {
  TVantrixCustomSource source;
  const TVantrixColType types[] = {ectString, ectString, ectString, ectCurrency, ectBoolean, ectDate};
  for (TVantrixColType type : types) source.Columns().Add()->SetColumnType(type);
  AligningExporter exporter;
  exporter.SetExportSource(esCustom);
  exporter.SetCustomSource(&source);
  exporter.ColumnsAlign = {"Column0=center", "column1=r", "Column2="};
  Fill(exporter);
  const TVantrixColAlign expected[] = {ecaCenter, ecaRight, ecaLeft, ecaRight, ecaCenter, ecaLeft};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(exporter.Columns()[i].Align, expected[i]) << i;

  // An owner without an alignment list leaves the alignment alone.
  TVantrix3FormatText plain;
  plain.SetExportSource(esCustom);
  plain.SetCustomSource(&source);
  Fill(plain);
  EXPECT_EQ(plain.Columns()[3].Align, ecaLeft);
}

TEST(Columns, PicturesFollowTheTypeAndTheUsersFormats) {
  TVantrixCustomSource source;
  const TVantrixColType types[] = {ectInteger, ectBigint, ectFloat, ectCurrency, ectDate, ectTime, ectDateTime, ectString};
  for (TVantrixColType type : types) source.Columns().Add()->SetColumnType(type);
  AligningExporter exporter;
  exporter.SetExportSource(esCustom);
  exporter.SetCustomSource(&source);
  TVantrixFormats& f = exporter.Formats();
  f.SetFloatFormat("0.000");
  exporter.UserFormats = {"Column5=hh:nn"};
  Fill(exporter);
  const TVantrixColumns& c = exporter.Columns();
  EXPECT_EQ(c[0].Format, "#,###,##0");
  EXPECT_EQ(c[1].Format, "#,###,##0");
  EXPECT_EQ(c[2].Format, "0.000");
  EXPECT_EQ(c[3].Format, f.CurrencyFormat());
  EXPECT_EQ(c[4].Format, "d mmm yyyy");
  EXPECT_EQ(c[5].Format, "hh:nn");
  EXPECT_EQ(c[6].Format, "d mmm yyyy hh:nn:ss");
  EXPECT_EQ(c[7].Format, "");
  EXPECT_TRUE(c[2].GetIsDefaultFormat());
  EXPECT_FALSE(c[5].GetIsDefaultFormat());
  EXPECT_FALSE(c[7].AllowFormat);
  EXPECT_TRUE(c[3].IsNumeric);
  EXPECT_EQ(c[2].SQLType, "DOUBLE PRECISION");
  EXPECT_EQ(c[4].SQLType, "DATE");
  EXPECT_EQ(c[7].SQLType, "CHAR(15)");
  TVantrixColumn zeroWidth(nullptr);
  zeroWidth.ColType = ectString;
  zeroWidth.Width = 0;
  EXPECT_EQ(VantrixType2SQLType(zeroWidth), "CHAR(1)");  // never a column of no characters
  zeroWidth.ColType = ectUnknown;
  EXPECT_EQ(VantrixType2SQLType(zeroWidth), "");

  f.SetIntegerFormat("");
  EXPECT_EQ(f.IntegerFormat(), "#,###,##0");
  f.SetFloatFormat("");
  EXPECT_EQ(f.FloatFormat(), "");
  f.SetBooleanTrue("");
  EXPECT_EQ(f.BooleanTrue(), "true");
  f.SetNullString(" \t(null)\r\n ");
  EXPECT_EQ(f.NullString(), "(null)");
  f.SetDateFormat("yyyy");
  f.ResetFormats();
  EXPECT_EQ(f.DateFormat(), "d mmm yyyy");
  EXPECT_EQ(f.NullString(), "(null)");  // not reset
}

TEST(Columns, DataSetFieldsByNameVisibilityAndType) {
  TableModel rows({"Name", "Photo", "Temp", "Hidden", "Ok"},
                  {{QString("a"), QByteArray("\x89"), 21.5, 1, true}, {QVariant(), QByteArray(), QVariant(), 2, false}});
  rows.SetFieldNames({"NAME_F", "PHOTO_F", "TEMP_F", "HIDDEN_F", "OK_F"}, TVantrixModelSource::kFieldNameRole);
  TVantrixModelSource dataSet(&rows);
  TVantrixModelField hidden;
  hidden.visible = false;
  dataSet.SetField(3, hidden);
  TVantrixModelField name;
  name.dataType = ftString;
  name.size = 300;
  name.displayWidth = 12;
  dataSet.SetField(0, name);
  AligningExporter exporter;
  exporter.SetDataSet(&dataSet);
  exporter.OnlyVisibleFields = true;
  Fill(exporter);
  ASSERT_EQ(exporter.Columns().Count(), 3);  // no blob, no hidden field
  EXPECT_EQ(exporter.Columns()[0].Name, "NAME_F");
  EXPECT_EQ(exporter.Columns()[0].Caption, "Name");
  EXPECT_EQ(exporter.Columns()[0].Width, 12);
  EXPECT_EQ(exporter.Columns()[0].Length, 255);
  EXPECT_EQ(exporter.Columns()[0].SQLType, "CHAR(300)");
  EXPECT_EQ(exporter.Columns()[1].ColType, ectFloat);
  EXPECT_EQ(exporter.Columns()[2].ColType, ectBoolean);
  EXPECT_EQ(exporter.Columns()[2].Align, ecaCenter);

  exporter.ExportedFields = {"photo_f", "missing", "hidden_f", "temp_f"};
  Fill(exporter);
  ASSERT_EQ(exporter.Columns().Count(), 2);  // a named blob is taken; missing and hidden are not
  EXPECT_TRUE(exporter.Columns()[0].IsBlob);
  EXPECT_TRUE(exporter.Columns().ContainsBLOB());
  EXPECT_EQ(exporter.Columns()[0].SQLType, "BLOB");
  EXPECT_EQ(exporter.Columns().IndexOfName("TEMP_F"), 1);
}

TEST(Columns, ListViewTypesFromTheFirstItemWhenAsked) {
  TableModel items({"Id", "Reading", "When", "Ok"},
                   {{QString("12"), QString("1.5"), QString("5 Mar 2024"), QString("TRUE")}});
  TVantrixModelSource listView(&items);
  AligningExporter exporter;
  exporter.SetExportSource(esListView);
  exporter.SetListView(&listView);
  Fill(exporter);
  EXPECT_EQ(exporter.Columns()[1].ColType, ectString);
  exporter.AutoCalcStrType = true;
  Fill(exporter);
  const TVantrixColType expected[] = {ectInteger, ectFloat, ectDate, ectBoolean};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(exporter.Columns()[i].ColType, expected[i]) << i;
  exporter.ExportedFields = {"reading", "READING"};  // the last column of that caption wins
  Fill(exporter);
  EXPECT_EQ(exporter.Columns().Count(), 2);
  EXPECT_EQ(exporter.Columns()[0].Number, 1);
}

}  // namespace
