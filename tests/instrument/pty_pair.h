#pragma once
// Test fixtures on real pseudo-terminals: a pty pair whose slave side the code under test
// opens by path, and a temporary port folder announcing it as comN.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
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
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) throw std::runtime_error("openpt");
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) throw std::runtime_error("ptsname");
    slavePath_ = name;
    // Held open so the line never hangs up between the opens of the code under test.
    keeper_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    tcgetattr(keeper_, &tio);
    cfmakeraw(&tio);
    tcsetattr(keeper_, TCSANOW, &tio);
  }
  ~PtyPair() {
    if (keeper_ >= 0) close(keeper_);
    CloseMaster();
  }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  int master() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }
  void CloseMaster() {
    if (master_ >= 0) close(master_);
    master_ = -1;
  }

  void Send(const std::vector<uint8_t>& bytes) const {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) throw std::runtime_error("pty write");
      done += static_cast<size_t>(n);
    }
  }
  // Bytes that reach the master within `wait`, read until the line is quiet for `quiet`.
  std::vector<uint8_t> Receive(std::chrono::milliseconds wait, std::chrono::milliseconds quiet = std::chrono::milliseconds(5)) const {
    std::vector<uint8_t> got;
    pollfd p{master_, POLLIN, 0};
    int timeout = static_cast<int>(wait.count());
    while (poll(&p, 1, timeout) > 0 && (p.revents & POLLIN)) {
      uint8_t buf[512];
      const ssize_t n = read(master_, buf, sizeof buf);
      if (n <= 0) break;
      got.insert(got.end(), buf, buf + n);
      timeout = static_cast<int>(quiet.count());
    }
    return got;
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
  void Link(int number, const std::string& target, const std::string& friendlyName = "") const {
    const std::string link = path_ + "/com" + std::to_string(number);
    std::filesystem::create_symlink(target, link);
    if (!friendlyName.empty()) {
      FILE* f = fopen((link + ".name").c_str(), "wb");
      fprintf(f, "%s\n", friendlyName.c_str());
      fclose(f);
    }
  }

 private:
  std::string path_;
};

}  // namespace testing_support
