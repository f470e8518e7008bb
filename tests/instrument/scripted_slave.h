#pragma once
// A slave that answers each request on a pty master with a script written by the test:
// exact bytes, pauses between pieces, or silence. It notes when every request came and when
// every reply ended, so tests can check the master's timing.
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace testing_support {

struct ReplyPiece {
  std::chrono::microseconds pauseBefore{0};
  std::vector<uint8_t> bytes;
};

class ScriptedSlave {
 public:
  using Clock = std::chrono::steady_clock;
  using Script = std::function<std::vector<ReplyPiece>(const std::vector<uint8_t>& request)>;
  struct Exchange {
    std::vector<uint8_t> request;
    Clock::time_point requestAt;
    Clock::time_point replyEndAt;
  };

  ScriptedSlave(int masterFd, Script script) : fd_(masterFd), script_(std::move(script)) {
    if (pipe(stopPipe_) != 0) throw std::runtime_error("pipe");
    thread_ = std::thread([this] { Run(); });
  }
  ~ScriptedSlave() {
    const char stop = 1;
    (void)!write(stopPipe_[1], &stop, 1);
    thread_.join();
    close(stopPipe_[0]);
    close(stopPipe_[1]);
  }

  std::vector<Exchange> exchanges() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return exchanges_;
  }

 private:
  void Run() {
    for (;;) {
      pollfd p[2] = {{fd_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
      if (poll(p, 2, -1) <= 0 || p[1].revents) return;
      if (!(p[0].revents & POLLIN)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        continue;
      }
      Exchange e;
      e.requestAt = Clock::now();
      // One request arrives in one burst; a millisecond of quiet ends it.
      for (;;) {
        uint8_t buf[512];
        const ssize_t n = read(fd_, buf, sizeof buf);
        if (n > 0) e.request.insert(e.request.end(), buf, buf + n);
        pollfd q{fd_, POLLIN, 0};
        if (poll(&q, 1, 1) <= 0 || !(q.revents & POLLIN)) break;
      }
      for (const ReplyPiece& piece : script_(e.request)) {
        if (piece.pauseBefore.count() > 0) std::this_thread::sleep_for(piece.pauseBefore);
        if (!piece.bytes.empty()) (void)!write(fd_, piece.bytes.data(), piece.bytes.size());
      }
      e.replyEndAt = Clock::now();
      std::lock_guard<std::mutex> lock(mutex_);
      exchanges_.push_back(std::move(e));
    }
  }

  int fd_;
  Script script_;
  int stopPipe_[2] = {-1, -1};
  mutable std::mutex mutex_;
  std::vector<Exchange> exchanges_;
  std::thread thread_;
};

}  // namespace testing_support
