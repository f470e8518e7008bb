#include "ui/program_directory.h"

#include <utility>

namespace ui {
namespace {
std::string& Directory() {
  static std::string directory;
  return directory;
}
}  // namespace

const std::string& ProgramDirectory() { return Directory(); }

void SetProgramDirectory(std::string directory) {
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  Directory() = std::move(directory);
}

std::string ProgramFilePath(std::string_view fileName) {
  const std::string& dir = Directory();
  if (dir.empty()) return std::string(fileName);
  std::string path = dir;
  if (path.back() != '/') path += '/';
  path += fileName;
  return path;
}

}  // namespace ui
