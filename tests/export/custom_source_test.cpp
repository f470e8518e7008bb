// The custom row source: its columns, its passes and its values as text.
#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "export/custom_source.h"
#include "export_fixtures.h"

namespace {

using namespace vantrix;
using exporttest::BrSettings;
using exporttest::CSettings;

TEST(CustomSource, ColumnsAreNamedAndRenamedWithoutClashes) {
  TVantrixCustomSource source;
  for (int i = 0; i < 3; ++i) source.Columns().Add();
  EXPECT_EQ(source.Columns().GetItem(0)->ColumnName(), "Column0");
  EXPECT_EQ(source.Columns().GetItem(2)->ColumnName(), "Column2");
  EXPECT_EQ(source.Columns().GetItem(2)->Caption(), "Column2");
  EXPECT_EQ(source.Columns().GetItem(2)->Width(), 15);
  EXPECT_EQ(source.Columns().GetItem(2)->ColumnType(), ectString);
  TVantrixCustomColumn* first = source.Columns().GetItem(0);
  first->SetColumnName("column1");  // another column's name, case ignored
  EXPECT_EQ(first->ColumnName(), "Column0");
  first->SetColumnName("");
  EXPECT_EQ(first->ColumnName(), "Column0");
  first->SetColumnName("Temp");
  EXPECT_EQ(source.ColumnByName("TEMP"), first);
  EXPECT_EQ(source.Columns().IndexOf("column2"), 2);
  EXPECT_EQ(source.ColumnByName("none"), nullptr);
  // The freed name is taken by the next new column.
  EXPECT_EQ(source.Columns().Add()->ColumnName(), "Column0");

  TVantrixCustomSource copy;
  copy.SetColumns(source.Columns());
  ASSERT_EQ(copy.GetColCount(), 4);
  EXPECT_EQ(copy.Columns().GetItem(0)->ColumnName(), "Temp");
  EXPECT_EQ(copy.Columns().GetOwner(), &copy);
}

// Names are found through an index: it must follow every rename, move and deletion, and a
// new column must still get the smallest default number no column carries.
TEST(CustomSource, NameIndexFollowsRenamesMovesAndDeletions) {
  TVantrixCustomSource source;
  TVantrixCustomColumns& columns = source.Columns();
  for (int i = 0; i < 5; ++i) columns.Add();
  columns.GetItem(3)->SetColumnName("\xC1GUA");  // Á
  EXPECT_EQ(columns.IndexOf("\xE1gua"), 3);      // á
  EXPECT_EQ(columns.IndexOf("Column3"), -1);
  columns.Move(4, 0);
  EXPECT_EQ(columns.IndexOf("column4"), 0);
  EXPECT_EQ(columns.IndexOf("Column0"), 1);
  columns.Delete(columns.IndexOf("Column1"));
  EXPECT_EQ(columns.IndexOf("Column1"), -1);
  EXPECT_EQ(columns.IndexOf("Column2"), 2);
  EXPECT_EQ(columns.IndexOf("\xC1gua"), 3);

  columns.GetItem(0)->SetColumnName("x");         // frees 4
  columns.GetItem(1)->SetColumnName("COLUMN6");   // frees 0, takes 6
  columns.GetItem(2)->SetColumnName("Column07");  // frees 2; not how a default is written: 7 stays free
  std::vector<std::string> added;
  for (int i = 0; i < 7; ++i) added.push_back(columns.Add()->ColumnName());
  EXPECT_EQ(added, (std::vector<std::string>{"Column0", "Column1", "Column2", "Column3", "Column4", "Column5",
                                             "Column7"}));
  columns.Delete(columns.IndexOf("x"));
  columns.GetItem(0)->SetColumnName("X");  // the deleted column's name is free again
  EXPECT_EQ(columns.IndexOf("x"), 0);

  columns.Clear();
  EXPECT_EQ(columns.IndexOf("X"), -1);
  EXPECT_EQ(columns.Add()->ColumnName(), "Column0");
  for (int i = 1; i < 3000; ++i) columns.Add();
  for (int i = 0; i < 3000; i += 7) ASSERT_EQ(columns.IndexOf("COLUMN" + std::to_string(i)), i);
}

TEST(CustomSource, PassesEndWhereTheOwnerSaysAndStayEnded) {
  TVantrixCustomSource source;
  std::vector<int> asked;
  source.OnGetNextRecord = [&](TVantrixCustomSource& sender, int recNo, bool& eof) {
    EXPECT_EQ(&sender, &source);
    asked.push_back(recNo);
    eof = recNo >= 5;
  };
  std::vector<int> seen;
  source.First();
  while (!source.Eof()) {
    seen.push_back(source.RecNo());
    source.Next();
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(source.RecNo(), 5);
  EXPECT_EQ(asked, (std::vector<int>{1, 2, 3, 4, 5}));
  source.First();  // the end flag stays: a second pass gives nothing until it is cleared
  EXPECT_TRUE(source.Eof());
  source.Next();
  EXPECT_EQ(asked.size(), 5u);
  source.ClearEof();
  EXPECT_FALSE(source.Eof());

  TVantrixCustomSource endless;  // without a handler the record number just grows
  endless.Next();
  endless.Next();
  EXPECT_EQ(endless.RecNo(), 3);
  EXPECT_FALSE(endless.Eof());
}

TEST(CustomSource, ValuesBecomeTextInTheLocalesForm) {
  TVantrixCustomSource source;
  TVantrixCustomColumn* column = source.Columns().Add();
  EXPECT_EQ(column->AsString(CSettings()), "");  // no handler
  QVariant next;
  int askedRecord = 0;
  source.OnGetColumnValue = [&](TVantrixCustomSource&, int recNo, const TVantrixCustomColumn& c, QVariant& value) {
    EXPECT_EQ(&c, column);
    EXPECT_FALSE(value.isValid());
    askedRecord = recNo;
    value = next;
  };
  source.SetRecNo(7);
  const struct {
    QVariant value;
    bool brazil;
    std::string text;
  } cases[] = {
      {QVariant(), false, ""},
      {QVariant(QString("25 \u00B0C")), false, "25 \xB0" "C"},
      {QVariant(QByteArray("a\xB0;b")), false, "a\xB0;b"},
      {QVariant(1234.5), false, "1234.5"},
      {QVariant(1234.5), true, "1234,5"},
      {QVariant(qint64(-9007199254740993)), false, "-9007199254740993"},
      {QVariant(true), false, "True"},
      {QVariant(QDate(2024, 3, 5)), true, "05/03/2024"},
      {QVariant(QTime(14, 7, 9)), false, "14:07:09"},
      {QVariant(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))), true, "05/03/2024 14:07:09"},
  };
  for (const auto& c : cases) {
    next = c.value;
    EXPECT_EQ(column->AsString(c.brazil ? BrSettings() : CSettings()), c.text) << c.value.typeName();
  }
  EXPECT_EQ(askedRecord, 7);

  TVantrixCustomColumn loose(nullptr);  // in no source
  EXPECT_EQ(loose.AsString(CSettings()), "");
}

}  // namespace
