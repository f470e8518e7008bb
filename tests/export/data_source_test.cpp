// The data-source layer over item models and custom sources: counting, navigation,
// bookmarks and cell texts, by the rules of each source kind.
#include <gtest/gtest.h>

#include <stdexcept>

#include "export/columns.h"
#include "export/custom_source.h"
#include "export/data_source.h"
#include "export/formats.h"
#include "export/library_strings.h"
#include "export/model_source.h"
#include "export/text_measure.h"
#include "export/vantrix3_text.h"
#include "export_fixtures.h"

namespace {

using namespace vantrix;
using exporttest::CSettings;
using exporttest::GridRows;
using exporttest::TableModel;

TVantrixSourceRefs Refs(TVantrixSource kind, TVantrixModelSource* model, TVantrixCustomSource* custom = nullptr) {
  TVantrixSourceRefs refs;
  refs.source = kind;
  refs.dataSet = kind == esDataSet ? model : nullptr;
  refs.listView = kind == esListView ? model : nullptr;
  refs.dbGrid = kind == esDBGrid ? model : nullptr;
  refs.stringGrid = kind == esStringGrid ? model : nullptr;
  refs.customSource = custom;
  return refs;
}

// Records until the end test stops a walk from the first record after skipping.
int RecordsWalked(const TVantrixSourceRefs& refs, int skip, int limit) {
  int counter = 0;
  VantrixFirst(refs);
  VantrixSkip(refs, skip, nullptr, counter);
  counter = 0;
  while (!VantrixEof(refs, skip, limit, counter) && counter < 1000) VantrixNext(refs, counter);
  return counter;
}

TEST(DataSource, CountingRulesOfGridsListsAndCustomSources) {
  TableModel grid({"a", "b"}, GridRows(11, 2));
  TVantrixModelSource stringGrid(&grid);
  stringGrid.SetFixedRows(1);
  const TVantrixSourceRefs gridRefs = Refs(esStringGrid, &stringGrid);
  EXPECT_EQ(RecordsWalked(gridRefs, 2, 0), 8);
  EXPECT_EQ(RecordsWalked(gridRefs, 2, 20), 8);
  EXPECT_EQ(RecordsWalked(gridRefs, 2, 3), 3);
  EXPECT_EQ(RecordsWalked(gridRefs, 50, 0), 0);
  EXPECT_FALSE(VantrixIsEmpty(gridRefs));
  // On the last row a Next only counts; the count ends the walk.
  stringGrid.SetCurrentRow(10);
  int counter = 4;
  VantrixNext(gridRefs, counter);
  EXPECT_EQ(counter, 5);
  EXPECT_EQ(stringGrid.CurrentRow(), 10);

  TableModel items({"x"}, GridRows(3, 1));
  TVantrixModelSource listView(&items);
  const TVantrixSourceRefs listRefs = Refs(esListView, &listView);
  EXPECT_TRUE(VantrixEof(listRefs, 5, 0, 0));
  EXPECT_EQ(RecordsWalked(listRefs, 1, 0), 2);

  TableModel onlyCaptions({"a"}, GridRows(1, 1));
  TVantrixModelSource captionsOnly(&onlyCaptions);
  captionsOnly.SetFixedRows(1);
  EXPECT_TRUE(VantrixIsEmpty(Refs(esStringGrid, &captionsOnly)));

  TVantrixCustomSource custom;
  const TVantrixSourceRefs customRefs = Refs(esCustom, nullptr, &custom);
  EXPECT_TRUE(VantrixEof(customRefs, 0, 0, 0));  // nobody to ask for records
  EXPECT_TRUE(VantrixIsEmpty(customRefs));
  custom.OnGetNextRecord = [](TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo >= 4; };
  EXPECT_FALSE(VantrixIsEmpty(customRefs));
  EXPECT_EQ(RecordsWalked(customRefs, 1, 0), 3);
  EXPECT_TRUE(VantrixIsEmpty(customRefs));  // at its end now

  TableModel rows({"v"}, GridRows(3, 1));
  TVantrixModelSource dataSet(&rows);
  const TVantrixSourceRefs setRefs = Refs(esDataSet, &dataSet);
  EXPECT_EQ(RecordsWalked(setRefs, 1, 0), 2);
  dataSet.SetActive(false);
  EXPECT_FALSE(VantrixIsActive(setRefs));
}

// A skip count may come from an options file: past the end of the data the skip stops, each
// kind by its own end, instead of stepping through billions of records that are not there.
TEST(DataSource, ASkipPastTheEndStopsAtTheLastRecordOfEachKind) {
  TableModel rows({"v"}, GridRows(3, 1));
  TVantrixModelSource model(&rows);
  TableModel grid({"a"}, GridRows(11, 1));
  TVantrixModelSource stringGrid(&grid);
  stringGrid.SetFixedRows(1);
  TVantrixCustomSource custom;
  custom.OnGetNextRecord = [](TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo >= 4; };
  const std::pair<TVantrixSourceRefs, int> cases[] = {
      {Refs(esDataSet, &model), 3}, {Refs(esDBGrid, &model), 3}, {Refs(esListView, &model), 3},
      {Refs(esStringGrid, &stringGrid), 10}, {Refs(esCustom, nullptr, &custom), 4}};
  for (const auto& [refs, records] : cases) {
    custom.ClearEof();
    VantrixFirst(refs);
    int counter = 0, skipped = 0;
    VantrixSkip(refs, 2147483647,
                [&skipped](int) {
                  if (++skipped > 100) throw std::runtime_error("still skipping past the end");
                },
                counter);
    EXPECT_EQ(skipped, records) << VantrixSourceAsString(refs.source);
    EXPECT_TRUE(VantrixEof(refs, 2147483647, 0, 0)) << VantrixSourceAsString(refs.source);
  }
}

TEST(DataSource, MissingSourcesAreReportedByKind) {
  TVantrixSourceRefs refs;
  refs.source = esDBGrid;
  TVantrixModelSource noModel;
  refs.dbGrid = &noModel;  // a grid without data is as good as none
  try {
    VantrixCheckSource(refs);
    FAIL();
  } catch (const EVantrixError& e) {
    EXPECT_STREQ(e.what(), "Export source (DBGrid) is not assigned");
  }
  refs.source = esCustom;
  EXPECT_THROW(VantrixCheckSource(refs), EVantrixError);
  TVantrixCustomSource custom;
  refs.customSource = &custom;
  EXPECT_NO_THROW(VantrixCheckSource(refs));
  EXPECT_EQ(VantrixSource(refs), &custom);
}

TEST(DataSource, BookmarksReturnEachKindToWhereItStood) {
  TableModel rows({"v"}, GridRows(5, 1));
  TVantrixModelSource model(&rows);
  for (TVantrixSource kind : {esDataSet, esStringGrid}) {
    const TVantrixSourceRefs refs = Refs(kind, &model);
    model.SetCurrentRow(3);
    const int mark = VantrixGetBookmark(refs);
    VantrixFirst(refs);
    VantrixGotoBookmark(refs, mark);
    EXPECT_EQ(model.CurrentRow(), 3) << kind;
  }
  model.SetCurrentRow(-1);  // a list view with nothing selected
  EXPECT_EQ(VantrixGetBookmark(Refs(esListView, &model)), 0);

  TVantrixCustomSource custom;
  custom.OnGetNextRecord = [](TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo >= 2; };
  const TVantrixSourceRefs refs = Refs(esCustom, nullptr, &custom);
  int counter = 0;
  VantrixNext(refs, counter);
  const int mark = VantrixGetBookmark(refs);
  VantrixNext(refs, counter);
  ASSERT_TRUE(custom.Eof());
  VantrixGotoBookmark(refs, mark);  // also clears the end flag
  EXPECT_EQ(custom.RecNo(), 2);
  EXPECT_FALSE(custom.Eof());
}

TEST(DataSource, FormattingReadsTheTextByTypeOrGivesNothing) {
  const struct {
    TVantrixColType type;
    const char* picture;
    const char* value;
    const char* text;
  } cases[] = {
      {ectInteger, "#,##0", "abc", "0"},  // not a number: the picture of 0
      {ectFloat, "#,##0.00", "abc", ""},
      {ectDate, "dd/mm/yyyy", "abc", ""},
      {ectInteger, "#,##0", "1234567", "1,234,567"},
      {ectInteger, "#,##0", "2147483648", "0"},  // beyond 32 bits
      {ectBigint, "#,##0", "2147483648", "2,147,483,648"},
      {ectFloat, "0.00", "1e3", "1000.00"},
      {ectCurrency, "#,##0.00 \"$\"", "-12.345", "-12.35 $"},
      {ectDateTime, "yyyy-mm-dd hh:nn", "5 Mar 2024 14:07", "2024-03-05 14:07"},
      {ectString, "#,##0", "1234", "1234"},
  };
  for (const auto& c : cases) {
    std::string text = "stale";
    VantrixFormatData(c.value, c.picture, c.type, text, nullptr, CSettings());
    EXPECT_EQ(text, c.text) << c.value;
  }
  // The normaliser runs on what was formatted, never on a failed conversion.
  int calls = 0;
  const TVantrixTextNormaliser upper = [&](std::string& t) {
    ++calls;
    t = "<" + t + ">";
  };
  std::string text = "12";
  VantrixFormatData(text, "0.0", ectFloat, text, upper, CSettings());  // the value may be the text itself
  EXPECT_EQ(text, "<12.0>");
  VantrixFormatData("x", "0.0", ectFloat, text, upper, CSettings());
  EXPECT_EQ(text, "");
  EXPECT_EQ(calls, 1);
}

TEST(DataSource, AvailableAndExportedColumns) {
  TableModel rows({"Name", "Photo", "Size"}, {{QString("a"), QByteArray("\x89PNG"), 3}});
  TVantrixModelSource dataSet(&rows);
  std::vector<TVantrixAvailableColumn> available;
  TStrings exported;
  VantrixGetColumns(Refs(esDataSet, &dataSet), {"size", "nope", "Name"}, available, exported);
  EXPECT_EQ(exported, (TStrings{"size", "Name"}));
  ASSERT_EQ(available.size(), 1u);
  EXPECT_EQ(available[0], (TVantrixAvailableColumn{"Photo", 1}));  // a blob field is tagged

  TableModel grid({"a", "b", "c"}, GridRows(2, 3));
  TVantrixModelSource stringGrid(&grid);
  VantrixGetColumns(Refs(esStringGrid, &stringGrid), {"2"}, available, exported);
  EXPECT_EQ(available, (std::vector<TVantrixAvailableColumn>{{"0", 0}, {"1", 0}}));
}

}  // namespace
