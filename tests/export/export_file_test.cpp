// Exports into files and onto the clipboard: the old file survives every failed or refused
// run, what is no regular file is never replaced, folders are made as needed, and results are
// shown through the shell service.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <optional>

#include "export/library_strings.h"
#include "export/vantrix3_ascii.h"
#include "export/vantrix3_dbf.h"
#include "export/vantrix3_html.h"
#include "export/vantrix3_pdf.h"
#include "export/vantrix3_rtf.h"
#include "export/vantrix3_sql.h"
#include "export/vantrix3_xml.h"
#include "run_fixtures.h"
#include "support/acl_checks.h"
#include "support/another_user.h"
#include "support/file_modes.h"

namespace {

using namespace vantrix;
using exporttest::FakeShell;
using exporttest::NumberedSource;
using exporttest::ReadFile;
using exporttest::RecordingExporter;
using exporttest::TempFolder;
using exporttest::WriteFile;

class FileExport : public ::testing::Test {
 protected:
  FileExport() : source_(3, {ectString}) {
    exporter_.SetExportSource(esCustom);
    exporter_.SetCustomSource(&source_);
    exporter_.SetShellService(&shell_);
    exporter_.AllowCaptions = false;
    exporter_.FileName = folder_ / "out.txt";
  }
  TVantrixRunResult Run() {
    source_.ClearEof();
    return exporter_.Execute();
  }
  // An exporter of each format that writes a file, this test's own among them.
  std::vector<TVantrix3Text*> EveryFormat() {
    csv_.SetExportType(etCSV);
    txt_.SetExportType(etTXT);
    sql_.TableName = "T";
    return {&csv_, &txt_, &pdf_, &rtf_, &html_, &sql_, &dbf_, &xml_, &exporter_};
  }
  // Every way a file is written here: an export in each format, and the options save.
  std::vector<std::function<void(const std::string&)>> EverySave() {
    std::vector<std::function<void(const std::string&)>> saves;
    for (TVantrix3Text* e : EveryFormat()) {
      saves.push_back([this, e](const std::string& path) {
        e->SetExportSource(esCustom);
        e->SetCustomSource(&source_);
        e->FileName = path;
        source_.ClearEof();
        e->Execute();
      });
    }
    saves.push_back([this](const std::string& path) { csv_.SavePropertiesToFile(path); });
    return saves;
  }
  std::string Message(const std::function<void()>& action) {
    try {
      action();
    } catch (const EVantrixError& e) {
      return e.what();
    }
    return "no error";
  }

  TempFolder folder_;
  NumberedSource source_;
  RecordingExporter exporter_;
  FakeShell shell_;
  TVantrix3ASCII csv_, txt_;
  TVantrix3PDF pdf_;
  TVantrix3RTF rtf_;
  TVantrix3HTML html_;
  TVantrix3SQL sql_;
  TVantrix3DBF dbf_;
  TVantrix3XML xml_;
};

TEST_F(FileExport, WritesTheFileAndMakesMissingFolders) {
  exporter_.FileName = folder_ / "a/b/c/out.txt";
  EXPECT_EQ(Run(), rrCompleted);
  EXPECT_EQ(ReadFile(folder_ / "a/b/c/out.txt"), "r1c0\r\nr2c0\r\nr3c0\r\nend\r\n");
  EXPECT_EQ(std::filesystem::directory_iterator(folder_ / "a/b/c")->path().filename(), "out.txt");

  WriteFile(folder_ / "plain", "x");
  exporter_.FileName = folder_ / "plain/sub/out.txt";
  EXPECT_EQ(Message([&] { Run(); }), "Directory \"" + folder_ / "plain/sub" + "\" not found and cannot be created");
  exporter_.FileName.clear();
  EXPECT_EQ(Message([&] { Run(); }), "Result file name not present");
}

TEST_F(FileExport, ARefusedOrFailedRunLeavesTheOldFileAlone) {
  WriteFile(exporter_.FileName, "old");
  chmod(exporter_.FileName.c_str(), 0640);
  source_.OnGetNextRecord = nullptr;  // a custom source with nobody to ask is empty
  exporter_.ExportEmpty = false;
  EXPECT_EQ(Message([&] { Run(); }), "Export source (CustomSource) is empty");
  EXPECT_EQ(ReadFile(exporter_.FileName), "old");

  exporter_.ExportEmpty = true;
  source_.OnGetNextRecord = [](TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo >= 3; };
  exporter_.throwAtRow = 1;
  EXPECT_THROW(Run(), std::runtime_error);
  EXPECT_EQ(ReadFile(exporter_.FileName), "old");

  exporter_.throwAtRow = -1;
  exporter_.OnBeginExport = [](TVantrix3& sender) { sender.Abort(); };
  EXPECT_EQ(Run(), rrAbortedBeforeOutput);
  EXPECT_EQ(ReadFile(exporter_.FileName), "old");
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"out.txt"});  // no partial file beside it

  // A later abort keeps a whole document of the rows written so far.
  exporter_.OnBeginExport = nullptr;
  exporter_.OnExportedRecord = [](TVantrix3& sender, int) { sender.Abort(); };
  EXPECT_EQ(Run(), rrAborted);
  EXPECT_EQ(ReadFile(exporter_.FileName), "r1c0\r\nend\r\n");
  struct stat st {};
  stat(exporter_.FileName.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_TRUE(shell_.calls.empty());
}

// Only a regular file is replaced: a named pipe or a device named as the output is refused by
// every format before anything is written, in words that name it, and stays what it was.
TEST_F(FileExport, ANamedPipeOrADeviceIsRefusedByEveryFormat) {
  const auto targets = exporttest::NonRegularFiles(folder_);
  ASSERT_FALSE(targets.empty());
  for (const auto& [path, kind] : targets) {
    const unsigned before = exporttest::FileKind(path);
    for (TVantrix3Text* e : EveryFormat()) {
      e->SetExportSource(esCustom);
      e->SetCustomSource(&source_);
      e->FileName = path;
      source_.ClearEof();
      EXPECT_EQ(Message([&] { e->Execute(); }),
                "Cannot create the file \"" + path + "\": it is " + kind + ", and only a regular file is replaced");
      EXPECT_EQ(exporttest::FileKind(path), before) << path;
    }
  }
  EXPECT_EQ(folder_.Names().size(), targets.size());  // nothing made beside them
}

// A file its user may not write (mode 0444, or, for root working here as nobody, another
// user's file in a folder everybody may write) is refused by every format, and as an options
// file, as opening it would be, though a rename could replace it: it keeps its text and owner.
TEST_F(FileExport, AFileItsUserMayNotWriteIsRefusedByEveryFormat) {
  ASSERT_EQ(chmod(folder_.Path().c_str(), 0777), 0);
  std::vector<std::string> targets = {folder_ / "locked.txt"};
  if (testsupport::WorkRunsAsAnotherUser()) targets.push_back(folder_ / "others.txt");
  for (const std::string& path : targets) WriteFile(path, "old");
  ASSERT_EQ(chmod(targets.front().c_str(), 0444), 0);
  bool cannotSwitch = false;
  const std::optional<std::string> messages = testsupport::RunAsAnotherUser([&] {
    std::string out;
    for (TVantrix3Text* e : EveryFormat()) {
      e->SetExportSource(esCustom);
      e->SetCustomSource(&source_);
      for (const std::string& path : targets) {
        e->FileName = path;
        source_.ClearEof();
        out += Message([&] { e->Execute(); }) + "\n";
      }
    }
    // The exporters' options files too.
    for (const std::string& path : targets) out += Message([&] { csv_.SavePropertiesToFile(path); }) + "\n";
    return out;
  }, &cannotSwitch);
  if (cannotSwitch) GTEST_SKIP() << "root here may not work as another user";
  ASSERT_TRUE(messages.has_value());
  std::string expected;
  for (size_t i = 0; i < EveryFormat().size(); ++i)
    for (const std::string& path : targets) expected += "Cannot create the file \"" + path + "\": Permission denied\n";
  for (const std::string& path : targets) expected += "Cannot write the file \"" + path + "\": Permission denied\n";
  EXPECT_EQ(*messages, expected);
  for (const std::string& path : targets) {
    EXPECT_EQ(ReadFile(path), "old") << path;
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, geteuid()) << path;
  }
  EXPECT_EQ(folder_.Names().size(), targets.size());
}

// Root (a program run with sudo) replacing another user's file leaves it theirs, in every
// format and as an options file, so that its owner may still write it.
TEST_F(FileExport, AnotherUsersFileReplacedByRootStaysTheirs) {
  if (geteuid() != 0) GTEST_SKIP() << "only root may replace a file and give it to another user";
  const std::string path = folder_ / "theirs.out";
  auto ownerAndMode = [&] {
    struct stat st {};
    stat(path.c_str(), &st);
    return std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid) + " " + std::to_string(st.st_mode & 0777);
  };
  const auto saves = EverySave();
  for (size_t i = 0; i < saves.size(); ++i) {
    WriteFile(path, "old");
    if (chown(path.c_str(), testsupport::kNobody, 100) != 0) GTEST_SKIP() << "root here may not give a file away";
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    saves[i](path);
    EXPECT_NE(ReadFile(path), "old") << i;
    EXPECT_EQ(ownerAndMode(), "65534:100 416") << i;
  }
}

// Every format and the options save give a new file in a folder with a default ACL what the ACL
// gives a file made there, whatever the umask, and keep a replaced file's own ACL whole.
TEST_F(FileExport, EverySaveGivesTheRightsTheAccessControlListsSay) {
  const std::string shared = folder_ / "shared";
  ASSERT_EQ(mkdir(shared.c_str(), 0700), 0);
  if (!testsupport::SetAcl(shared, testsupport::kSharedFolderAcl, true)) GTEST_SKIP() << "no ACL on this file system";
  const testsupport::ScopedUmask mask(022);
  const std::string ownAcl = testsupport::kNamedWriterAcl;
  const auto saves = EverySave();
  for (size_t i = 0; i < saves.size(); ++i) {
    const std::string fresh = shared + "/new" + std::to_string(i), kept = folder_ / ("kept" + std::to_string(i));
    WriteFile(kept, "old");
    ASSERT_TRUE(testsupport::SetAcl(kept, ownAcl));
    saves[i](fresh);
    saves[i](kept);
    EXPECT_EQ(testsupport::AclText(fresh), testsupport::kNewFileInSharedFolder) << i;
    EXPECT_EQ(testsupport::AclText(kept), ownAcl) << i;
    EXPECT_NE(ReadFile(kept), "old") << i;
  }
}

TEST_F(FileExport, ResultsAreShownAndPrintedUnlessAborted) {
  exporter_.ShowFile = true;
  exporter_.PrintFile = true;
  std::vector<std::string> errors;
  exporter_.OnShowResultError = [&](TVantrix3Text&, const std::string& message) { errors.push_back(message); };
  EXPECT_EQ(Run(), rrCompleted);
  EXPECT_EQ(shell_.calls, (std::vector<std::string>{"open " + exporter_.FileName, "print " + exporter_.FileName}));
  EXPECT_TRUE(errors.empty());

  shell_.calls.clear();
  shell_.answer = "not printable here";
  EXPECT_EQ(Run(), rrCompleted);
  EXPECT_EQ(errors, (std::vector<std::string>{"not printable here", "not printable here"}));

  shell_.calls.clear();
  exporter_.OnExportedRecord = [](TVantrix3& sender, int) { sender.Abort(); };
  EXPECT_EQ(Run(), rrAborted);
  EXPECT_TRUE(shell_.calls.empty());
}

TEST_F(FileExport, TheMemoryExporterPutsTheWholeTextOnTheClipboard) {
  class Clip : public TVantrix3Memory {
    void WriteDataRow() override { GetWriter()->WriteLn(Row()[0].GetExportedValue(true)); }
  } clip;
  clip.SetExportSource(esCustom);
  clip.SetCustomSource(&source_);
  clip.SetShellService(&shell_);
  EXPECT_EQ(clip.Execute(), rrCompleted);
  EXPECT_EQ(shell_.calls, (std::vector<std::string>{"clipboard r1c0\r\nr2c0\r\nr3c0\r\n"}));

  shell_.calls.clear();
  clip.OnBeginExport = [](TVantrix3& sender) { sender.Abort(); };
  source_.ClearEof();
  EXPECT_EQ(clip.Execute(), rrAbortedBeforeOutput);
  EXPECT_TRUE(shell_.calls.empty());

  clip.OnBeginExport = nullptr;
  shell_.answer = "No clipboard without a desktop";
  source_.ClearEof();
  EXPECT_EQ(Message([&] { clip.Execute(); }), "No clipboard without a desktop");
}

}  // namespace
