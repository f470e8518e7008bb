#pragma once
// What tests of replaced files set for a while and put back (the umask, the working folder),
// and what they look at (a file's owner and mode, the files made beside a target).
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : previous_(umask(mask)) {}
  ~ScopedUmask() { umask(previous_); }
  ScopedUmask(const ScopedUmask&) = delete;
  ScopedUmask& operator=(const ScopedUmask&) = delete;

 private:
  mode_t previous_;
};

// Works in the folder while it lives, so that a bare file name is a file there.
class ScopedWorkingFolder {
 public:
  explicit ScopedWorkingFolder(const std::string& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~ScopedWorkingFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  ScopedWorkingFolder(const ScopedWorkingFolder&) = delete;
  ScopedWorkingFolder& operator=(const ScopedWorkingFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

// The mode in octal ("0644"), the link followed; empty when nothing is there.
inline std::string ModeText(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return {};
  char mode[8];
  std::snprintf(mode, sizeof mode, "%04o", st.st_mode & 07777);
  return mode;
}

// "uid:gid mode", the mode as above; empty when nothing is there.
inline std::string OwnerAndMode(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return {};
  return std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid) + " " + ModeText(path);
}

// The paths of the files in the folder other than those named: what a write made beside them.
inline std::vector<std::string> FilesBesides(const std::string& folder, const std::vector<std::string>& named) {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    bool known = false;
    for (const std::string& name : named) known = known || entry.path().filename() == name;
    if (!known) paths.push_back(entry.path());
  }
  return paths;
}

// The modes of those files.
inline std::vector<mode_t> ModesBesides(const std::string& folder, const std::vector<std::string>& named) {
  std::vector<mode_t> modes;
  for (const std::string& path : FilesBesides(folder, named)) {
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0) modes.push_back(st.st_mode & 07777);
  }
  return modes;
}

}  // namespace testsupport
