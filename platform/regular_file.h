#pragma once
// The one way the program opens a file to read it. Only a regular file is opened, and
// without waiting: a named pipe would hold the reader until somebody wrote into it (the
// program would never start with one in place of its workspace), and a device may never end
// (a link to /dev/zero reads until memory runs out). A device is not even opened, since
// opening a serial port can change its lines. Symbolic links are followed.
#include <sys/types.h>

#include <string>

namespace platform {

// What a file that is not a regular file is, in words that follow "it is" ("a named pipe",
// "a device", "a socket", "a folder"); "not a regular file" for anything else.
std::string FileKindText(mode_t mode);

// A descriptor open for reading on the regular file the path names, or -1 with the reason in
// error (when given): as the system says it ("No such file or directory"), or "it is a named
// pipe" and the like for what is not a regular file. The caller closes it.
int OpenRegularFileForReading(const std::string& path, std::string* error = nullptr);

// The whole text of the regular file the path names; false, with the reason as above and
// text left empty, when it cannot be opened or read.
bool ReadRegularFile(const std::string& path, std::string& text, std::string* error = nullptr);

}  // namespace platform
