// The library's numbered texts: the table, the hook and the replacement file.
#include <gtest/gtest.h>

#include <set>

#include "export/library_strings.h"
#include "export_fixtures.h"

namespace {

using namespace vantrix;

class LibraryStrings : public ::testing::Test {
 protected:
  void TearDown() override {
    VantrixLocale().SetHook(nullptr);
    VantrixLocale().UnloadDll();
  }
  exporttest::TempFolder folder_;
};

TEST_F(LibraryStrings, TableIdsAreUniqueSortedAndInRange) {
  const std::vector<int> ids = BuiltInLibraryStringIds();
  ASSERT_GT(ids.size(), 400u);
  for (size_t i = 0; i < ids.size(); ++i) {
    EXPECT_GE(ids[i], kFirstLibraryString);
    EXPECT_LE(ids[i], kLastLibraryString);
    if (i > 0) {
      EXPECT_LT(ids[i - 1], ids[i]) << "ids must be unique and ascending for the lookup";
    }
    EXPECT_FALSE(BuiltInLibraryString(ids[i]).empty()) << ids[i];
  }
  EXPECT_EQ(VantrixLoadStr(kStrSourceNotAssigned), "Export source (%s) is not assigned");
  EXPECT_EQ(VantrixLoadStr(kStrCannotCreateDir), "Directory \"%s\" not found and cannot be created");
  // The alignment items are not in id order: Left, Right, Center.
  EXPECT_EQ(VantrixLoadStr(34113), "Left");
  EXPECT_EQ(VantrixLoadStr(34114), "Right");
  EXPECT_EQ(VantrixLoadStr(34115), "Center");
  EXPECT_EQ(VantrixLoadStr(34146), "  Sample");  // blanks are part of the text
  EXPECT_EQ(VantrixLoadStr(34164), "Add \"Create Table\" statement");
  EXPECT_EQ(VantrixLoadStr(34001), "");  // an id no text is given for
  EXPECT_EQ(VantrixLoadStr(33999), "");
}

TEST_F(LibraryStrings, HookAnswersFirstAndAnEmptyAnswerFallsBack) {
  VantrixLocale().SetHook([](int id, std::string& text) {
    if (id == 34019) text = "Tem certeza?";
  });
  EXPECT_EQ(VantrixLoadStr(34019), "Tem certeza?");
  EXPECT_EQ(VantrixLoadStr(34020), "Do you want to abort export?");
}

TEST_F(LibraryStrings, ReplacementFileTranslatesAndCanBeDropped) {
  const std::string path = folder_ / "pt.lng";
  exporttest::WriteFile(path, "34019=Tem certeza?\r\n34020= Abortar a\\nexporta\xE7\xE3o? \n"
                              "junk line\n34999=out of range\n34021\n 34022 =Valor:\n34023=\n");
  ASSERT_TRUE(VantrixLocale().LoadDll(path));
  EXPECT_TRUE(VantrixLocale().Loaded());
  EXPECT_EQ(VantrixLoadStr(34019), "Tem certeza?");
  EXPECT_EQ(VantrixLoadStr(34020), " Abortar a\nexporta\xE7\xE3o? ");  // exactly, blanks kept
  EXPECT_EQ(VantrixLoadStr(34022), "Valor:");
  EXPECT_EQ(VantrixLoadStr(34023), "");  // an explicit empty text
  EXPECT_EQ(VantrixLoadStr(34021), "New format value");  // left out: the built-in text
  EXPECT_EQ(VantrixLoadStr(34999), "");

  const std::string longText(5000, 'x');
  exporttest::WriteFile(path, "34019=" + longText + "\n");
  ASSERT_TRUE(VantrixLocale().LoadDll(path));  // replaces the previous file
  EXPECT_EQ(VantrixLoadStr(34019).size(), 1023u);
  EXPECT_EQ(VantrixLoadStr(34022), "Enter Value:");

  EXPECT_FALSE(VantrixLocale().LoadDll(folder_ / "missing.lng"));
  EXPECT_FALSE(VantrixLocale().Loaded());
  EXPECT_EQ(VantrixLoadStr(34019), "Are you sure?");
}

TEST_F(LibraryStrings, MessagesAreFormattedWithTheirArguments) {
  EXPECT_EQ(FormatLibraryText("Export source (%s) is empty", {"CustomSource"}), "Export source (CustomSource) is empty");
  EXPECT_EQ(FormatLibraryText("%d rows/sec, 100%% %s", {"12"}), "12 rows/sec, 100% %s");
  try {
    RaiseLibraryError(kStrSourceClosed, "DataSet");
    FAIL();
  } catch (const EVantrixError& e) {
    EXPECT_STREQ(e.what(), "Export source (DataSet) is closed");
  }
}

}  // namespace
