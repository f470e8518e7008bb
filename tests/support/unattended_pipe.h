#pragma once
// A named pipe nobody writes to or reads from. Whoever still waits in its open after 20 seconds
// is let go (the other end is opened and closed, again until the pipe goes), so a test of code
// that waits fails in seconds instead of hanging.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <future>
#include <string>
#include <thread>

namespace testsupport {

class UnattendedPipe {
 public:
  explicit UnattendedPipe(std::string path) : path_(std::move(path)) {
    ::mkfifo(path_.c_str(), 0600);
    watchdog_ = std::thread([this, gone = gone_.get_future()] {
      for (int ms = 20000; gone.wait_for(std::chrono::milliseconds(ms)) != std::future_status::ready; ms = 50) {
        const int ends[] = {::open(path_.c_str(), O_RDONLY | O_NONBLOCK), ::open(path_.c_str(), O_WRONLY | O_NONBLOCK)};
        for (const int end : ends)
          if (end >= 0) ::close(end);
      }
    });
  }
  ~UnattendedPipe() {
    gone_.set_value();
    watchdog_.join();
    ::unlink(path_.c_str());
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::promise<void> gone_;
  std::thread watchdog_;
};

}  // namespace testsupport
