// A save that cannot complete leaves the workspace file that was there byte for byte, leaves
// no temporary file behind, and the save command says so instead of reporting success.
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "environment_fixture.h"
#include "environment_script.h"

namespace {

enum class Failure { kReadOnlyFolder, kFullFileSystem, kFileSizeLimit };

struct FailureCase {
  const char* name;
  Failure failure;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class SaveFailureTest : public envtest::ProgramTest, public testing::WithParamInterface<FailureCase> {
 protected:
  void TearDown() override {
    if (limited_) setrlimit(RLIMIT_FSIZE, &oldLimit_);
    if (!folder_.isEmpty()) QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (mounted_) umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
    ProgramTest::TearDown();
  }

  // A folder of its own; for root (whom permissions do not stop) a small file system mounted
  // there, which can be filled or made read-only. False when the failure cannot be made here.
  bool MakeFolder(Failure failure) {
    folder_ = File("work");
    if (!QDir().mkpath(folder_)) return false;
    const bool root = geteuid() == 0;
    if (failure == Failure::kFileSizeLimit) return true;
    if (!root) return failure == Failure::kReadOnlyFolder;
    mounted_ = mount("tmpfs", QFile::encodeName(folder_).constData(), "tmpfs", 0, "size=256k") == 0;
    return mounted_;
  }

  void Break(Failure failure, qint64 oldSize) {
    const QByteArray path = QFile::encodeName(folder_);
    switch (failure) {
      case Failure::kReadOnlyFolder:
        if (mounted_) {
          ASSERT_EQ(mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
        } else {
          ASSERT_TRUE(QFile::setPermissions(folder_, QFile::ReadOwner | QFile::ExeOwner));
        }
        break;
      case Failure::kFullFileSystem: {
        QFile filler(folder_ + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        break;
      }
      case Failure::kFileSizeLimit:
        // Writing past the limit fails (and its signal is ignored), as on a full disk.
        signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &oldLimit_), 0);
        rlimit small = oldLimit_;
        small.rlim_cur = static_cast<rlim_t>(oldSize + 100);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        limited_ = true;
        break;
    }
  }

  QString folder_;
  bool mounted_ = false;
  bool limited_ = false;
  rlimit oldLimit_{};
};

TEST_P(SaveFailureTest, LeavesTheOldFileByteIdenticalAndSaysSo) {
  if (!MakeFolder(GetParam().failure)) GTEST_SKIP() << "this failure needs a file system of its own (root only)";
  const QString file = folder_ + QStringLiteral("/workspace.env");
  AddDisplay(envtest::OfKind(DisplayKind::LedDigits, 10), {0, 0, 200, 150});
  ASSERT_TRUE(View().SaveEnvironment(file));
  const QByteArray old = envtest::FileBytes(file);

  // A bigger workspace, saved over the old file through the menu command.
  for (int i = 0; i < 8; ++i) AddDisplay(envtest::Chart({"a", "b", "c", "d"}), {10 * i, 10 * i, 300, 200});
  Break(GetParam().failure, old.size());
  if (HasFatalFailure()) return;
  user_.files = {file};
  user_.answers = {true};
  View().SalvarambienteClick();

  EXPECT_EQ(envtest::FileBytes(file), old);
  ASSERT_EQ(user_.messages.size(), 2) << user_.messages.join('\n').toStdString();
  EXPECT_EQ(user_.messages[0], View().Messages()[app::kMsgFileExistsChoice]);
  EXPECT_TRUE(user_.messages[1].startsWith(View().Messages()[app::kMsgFileOpenProblem]));
  QStringList left = QDir(folder_).entryList(QDir::Files);
  left.removeAll(QStringLiteral("filler"));
  EXPECT_EQ(left, QStringList{QStringLiteral("workspace.env")});
}

INSTANTIATE_TEST_SUITE_P(Environment, SaveFailureTest,
                         testing::Values(FailureCase{"read_only_folder", Failure::kReadOnlyFolder},
                                         FailureCase{"full_file_system", Failure::kFullFileSystem},
                                         FailureCase{"file_size_limit", Failure::kFileSizeLimit}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
