#pragma once
// Work done as a user who may not write the test's locked files. Root, whom permissions do
// not stop, does it as nobody (65534) in a child process; any other user does it in a child
// as itself, where a file of mode 0444 is locked all the same. The work's text comes back.
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

inline constexpr uid_t kNobody = 65534;

// Whether the work runs as another user than the owner of the files the test makes.
inline bool WorkRunsAsAnotherUser() { return geteuid() == 0; }

// The text the work returned; nullopt when the child could not be made or did not end well,
// and then cannotSwitch (when given) says whether root here may not become another user (a
// container without the leave to), so that a test can skip rather than fail. As nobody the
// work belongs to the groups given besides nobody's own.
inline std::optional<std::string> RunAsAnotherUser(const std::function<std::string()>& work,
                                                   bool* cannotSwitch = nullptr,
                                                   const std::vector<gid_t>& groups = {}) {
  constexpr int kCannotSwitch = 77;
  if (cannotSwitch != nullptr) *cannotSwitch = false;
  int fds[2];
  if (pipe(fds) != 0) return std::nullopt;
  const pid_t child = fork();
  if (child < 0) {
    close(fds[0]);
    close(fds[1]);
    return std::nullopt;
  }
  if (child == 0) {
    close(fds[0]);
    if (WorkRunsAsAnotherUser() && (setgroups(groups.size(), groups.data()) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
      _exit(kCannotSwitch);
    const std::string text = work();
    for (size_t at = 0; at < text.size();) {
      const ssize_t n = write(fds[1], text.data() + at, text.size() - at);
      if (n <= 0) _exit(3);
      at += static_cast<size_t>(n);
    }
    _exit(0);
  }
  close(fds[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    if (cannotSwitch != nullptr) *cannotSwitch = WIFEXITED(status) && WEXITSTATUS(status) == kCannotSwitch;
    return std::nullopt;
  }
  return text;
}

}  // namespace testsupport
