#pragma once
// Test fixtures on real pseudo-terminals: a pty pair whose slave side the code under test
// opens by path, and a temporary port folder announcing it as comN.
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ports.h"

namespace testing_support {

class PtyPair {
 public:
  PtyPair() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128];
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0)
      throw std::runtime_error("openpt");
    slavePath_ = name;
    // Held open so the line never hangs up between the opens of the code under test.
    keeper_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    tcgetattr(keeper_, &tio);
    cfmakeraw(&tio);
    tcsetattr(keeper_, TCSANOW, &tio);
  }
  ~PtyPair() {
    close(keeper_);
    close(master_);
  }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  int master() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }

  void Send(const std::vector<uint8_t>& bytes) const {
    if (write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
      throw std::runtime_error("pty write");
  }

 private:
  int master_ = -1;
  int keeper_ = -1;
  std::string slavePath_;
};

// A port folder in a fresh temporary directory, made the process's port folder while it lives.
class TempPortFolder {
 public:
  TempPortFolder() {
    char pattern[] = "/tmp/tervana-ports-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = pattern;
    platform::SetPortFolder(path_);
  }
  ~TempPortFolder() {
    platform::SetPortFolder("");
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempPortFolder(const TempPortFolder&) = delete;
  TempPortFolder& operator=(const TempPortFolder&) = delete;

  const std::string& path() const { return path_; }
  // comN pointing at `target`.
  void Link(int number, const std::string& target) const {
    std::filesystem::create_symlink(target, path_ + "/com" + std::to_string(number));
  }

 private:
  std::string path_;
};

}  // namespace testing_support
