// Bytes set aside on a file system that makes no unnamed temporary files: the spill file is a
// named one then, and it must be gone the moment it is made, so that nothing of it is left
// beside a rich-text document or in the workbook's temporary folder, however the run ends.
//
// Every test of this program runs where opening a file with O_TMPFILE fails as such a file
// system fails it (a seccomp filter, installed for the whole process before the first test),
// so the named fallback is the only road.
#include <gtest/gtest.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "export/document_fixtures.h"
#include "export/export_fixtures.h"
#include "export/text_measure.h"
#include "export/vantrix3_rtf.h"
#include "xls_fixtures.h"

namespace {

namespace fs = std::filesystem;
using exporttest::TempFolder;

#if defined(__x86_64__)
constexpr unsigned kAuditArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr unsigned kAuditArch = AUDIT_ARCH_AARCH64;
#else
constexpr unsigned kAuditArch = 0;
#endif

// open and openat with O_TMPFILE answer EOPNOTSUPP, as on a file system without unnamed
// files; every other call goes through. Empty when the filter is in place, else why not.
std::string RefuseUnnamedFiles() {
  if (kAuditArch == 0) return "no seccomp filter for this processor";
  constexpr unsigned kLowFlags = offsetof(struct seccomp_data, args[2]);  // little-endian: the low half
  // The flag's own bit: O_TMPFILE holds O_DIRECTORY too, which every folder listing opens with.
  constexpr unsigned kTmpfileBit = O_TMPFILE & ~O_DIRECTORY;
  struct sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, arch)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kAuditArch, 1, 0),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, nr)),
#ifdef __NR_open
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_open, 0, 2),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, args[1])),
      BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, kTmpfileBit, 3, 4),
#endif
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 3),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, kLowFlags),
      BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, kTmpfileBit, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EOPNOTSUPP),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  struct sock_fprog program = {static_cast<unsigned short>(std::size(filter)), filter};
  if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) return std::string("no_new_privs: ") + std::strerror(errno);
  // Every thread of the process (Qt's too) gets the filter.
  if (syscall(__NR_seccomp, SECCOMP_SET_MODE_FILTER, SECCOMP_FILTER_FLAG_TSYNC, &program) != 0)
    return std::string("seccomp: ") + std::strerror(errno);
  return {};
}

class WithoutUnnamedFiles : public testing::Environment {
 public:
  void SetUp() override { refusal = RefuseUnnamedFiles(); }
  static inline std::optional<std::string> refusal;
};

[[maybe_unused]] testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new WithoutUnnamedFiles);

// The files open in this process whose names (as the system shows them) lie in the folder and
// are spill files: a removed one shows " (deleted)" after its name.
std::vector<std::string> OpenSpillFiles(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::string target = fs::read_symlink(entry.path(), error).string();
    if (!error && target.starts_with(folder + "/.tervana-spill-")) names.push_back(target);
  }
  return names;
}

bool AllRemoved(const std::vector<std::string>& names) {
  for (const std::string& name : names)
    if (!name.ends_with(" (deleted)")) return false;
  return true;
}

class SpillFallback : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WithoutUnnamedFiles::refusal.has_value());
    if (!WithoutUnnamedFiles::refusal->empty()) GTEST_SKIP() << *WithoutUnnamedFiles::refusal;
    // The file system of this test makes no unnamed files now.
    const int fd = ::open(folder_.Path().c_str(), O_TMPFILE | O_RDWR, 0600);
    ASSERT_LT(fd, 0);
    ASSERT_EQ(errno, EOPNOTSUPP);
  }

  TempFolder folder_;
};

// A long document's body goes through a spill file beside it, removed as soon as made: while
// the run goes the file is open and nameless, and after it, ended well or failed, the folder
// holds the document (or the file that was there) and nothing else.
TEST_F(SpillFallback, NothingIsLeftBesideARichTextDocument) {
  constexpr int kRows = 30000;
  exporttest::TextSource source(exporttest::NumberedCaptions(4), exporttest::NumberedRows(kRows, 4));
  vantrix::FixedTextMeasure measure{8};
  vantrix::TVantrix3RTF rtf;
  rtf.SetTextMeasure(&measure);
  rtf.Formats().SetSettings(exporttest::CSettings());
  rtf.Formats().ResetFormats();
  rtf.SetExportSource(vantrix::esCustom);
  rtf.SetCustomSource(&source);
  rtf.FileName = folder_ / "out.rtf";
  std::vector<std::string> open;
  bool fail = false;
  rtf.OnExportedRecord = [&](vantrix::TVantrix3&, int recNo) {
    if (recNo < kRows - 1 || !open.empty()) return;
    open = OpenSpillFiles(folder_.Path());
    if (fail) throw std::runtime_error("the run fails at its last row");
  };
  ASSERT_EQ(rtf.Execute(), vantrix::rrCompleted);
  ASSERT_EQ(open.size(), 1u);
  EXPECT_TRUE(AllRemoved(open)) << open[0];
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"out.rtf"});

  exporttest::WriteFile(rtf.FileName, "before");
  fail = true;
  open.clear();
  source.ClearEof();
  EXPECT_THROW(rtf.Execute(), std::runtime_error);
  ASSERT_EQ(open.size(), 1u);
  EXPECT_TRUE(AllRemoved(open)) << open[0];
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"out.rtf"});
  EXPECT_EQ(exporttest::ReadFile(rtf.FileName), "before");
}

// A workbook larger than its memory allows goes through a spill file in the temporary folder,
// removed as soon as made: nothing is left there or beside the workbook, ended well or failed.
TEST_F(SpillFallback, NothingIsLeftOfAWorkbookSetAside) {
  constexpr int kRows = 20000;
  TempFolder temporary;
  // The workbook's temporary folder, for this test only.
  struct Tmpdir {
    explicit Tmpdir(const std::string& path) {
      if (const char* value = std::getenv("TMPDIR")) before = value;
      setenv("TMPDIR", path.c_str(), 1);
    }
    ~Tmpdir() {
      if (before) setenv("TMPDIR", before->c_str(), 1);
      else unsetenv("TMPDIR");
    }
    std::optional<std::string> before;
  } tmpdir(temporary.Path());
  xlstest::TextSource source({{"N", vantrix::ectInteger}}, xlstest::Counting(kRows));
  xlstest::XlsExporter xls(source, folder_ / "book.xls");
  xls.SetMemoryLimit(64u << 10);
  std::vector<std::string> open;
  bool fail = false;
  xls.OnExportedRecord = [&](vantrix::TVantrix3&, int recNo) {
    if (recNo < kRows - 1 || !open.empty()) return;
    open = OpenSpillFiles(temporary.Path());
    if (fail) throw std::runtime_error("the run fails at its last row");
  };
  xls.Execute();
  ASSERT_EQ(open.size(), 1u);
  EXPECT_TRUE(AllRemoved(open)) << open[0];
  EXPECT_TRUE(temporary.Names().empty());
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"book.xls"});

  exporttest::WriteFile(xls.FileName, "before");
  fail = true;
  open.clear();
  source.ClearEof();
  EXPECT_THROW(xls.Execute(), std::runtime_error);
  ASSERT_EQ(open.size(), 1u);
  EXPECT_TRUE(AllRemoved(open)) << open[0];
  EXPECT_TRUE(temporary.Names().empty());
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"book.xls"});
  EXPECT_EQ(exporttest::ReadFile(xls.FileName), "before");
}

}  // namespace
