#pragma once
// Whether two paths name one file. Names are no guide: a hard link, a symbolic link or a path
// through ".." names the same file by another name, and two equal relative names can name two
// files from two folders. The system's identity of the file (its device and inode) is.
#include <string>

namespace platform {

// True when both paths name an existing file (symbolic links followed) and it is the same one.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace platform
