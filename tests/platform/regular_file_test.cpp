// Only a regular file is opened, and nothing waits: what is no regular file is refused at once,
// saying what it is, for reading and writing alike.
#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/fresh_process.h"
#include "support/unattended_pipe.h"

namespace {

namespace fs = std::filesystem;

TEST(RegularFile, WhatIsNoRegularFileIsRefusedAtOnceSayingWhatItIs) {
  const fs::path folder = fs::temp_directory_path() / ("regular_file_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const testsupport::UnattendedPipe pipe(folder / "pipe");
  fs::create_symlink("/dev/null", folder / "device");
  const std::pair<fs::path, std::string> cases[] = {
      {pipe.Path(), "it is a named pipe"}, {folder / "device", "it is a device"}, {folder, "it is a folder"}};
  for (const auto& [path, words] : cases) {
    std::string text = "before", reason;
    platform::FileFailure failure = platform::FileFailure::kNone;
    EXPECT_FALSE(platform::ReadRegularFile(path, text, &reason, &failure));
    EXPECT_EQ(reason + text, words);
    EXPECT_EQ(failure, platform::FileFailure::kNotRegular);
    // Opening a pipe to add to it waits for a reader as opening it to read waits for a writer.
    EXPECT_EQ(platform::OpenRegularFile(path, O_WRONLY | O_APPEND, &reason), -1);
    EXPECT_EQ(reason, words);
  }
  EXPECT_EQ(platform::OpenRegularFile(pipe.Path(), O_WRONLY | O_CREAT | O_TRUNC), -1);
  EXPECT_TRUE(fs::is_fifo(pipe.Path()));  // not created over
  fs::remove_all(folder);
}

// An endless device is not even opened: tried in a fresh child that may hold little memory, so a
// reader that read it fails there instead of filling the machine.
TEST(RegularFile, AnEndlessDeviceIsNotEvenOpened) {
  const fs::path folder = fs::temp_directory_path() / ("regular_file_zero_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  fs::create_symlink("/dev/zero", folder / "zero");
  testsupport::ExpectPassesInFreshProcess(
      [&folder] {
        const rlimit little{rlim_t{512} << 20, rlim_t{512} << 20};
        std::string text;
        return ::setrlimit(RLIMIT_AS, &little) == 0 && !platform::ReadRegularFile(folder / "zero", text);
      },
      60000, [&folder] { fs::remove_all(folder); });
  fs::remove_all(folder);
}

// Not waiting is for the open alone: a regular file comes back blocking, for reading and for
// adding to it, so that a file system that honours the flag gives no EAGAIN to a reader.
TEST(RegularFile, ARegularFileComesBackBlocking) {
  const fs::path path = fs::temp_directory_path() / ("regular_file_blocking_" + std::to_string(::getpid()));
  for (const int flags : {O_WRONLY | O_APPEND | O_CREAT, O_RDONLY, O_RDWR}) {
    const int fd = platform::OpenRegularFile(path, flags);
    ASSERT_GE(fd, 0) << flags;
    EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0) << flags;
    ::close(fd);
  }
  fs::remove(path);
}

}  // namespace
