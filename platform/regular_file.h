#pragma once
// The one way the program opens a file to read it (or to add to it). Only a regular file is
// opened, and without waiting: a named pipe would hold the reader until somebody wrote into it
// (the program would never start with one in place of its workspace), and a device may never
// end (a link to /dev/zero reads until memory runs out). A device is not even opened, since
// opening a serial port can change its lines. Symbolic links are followed.
#include <sys/types.h>

#include <cstdio>
#include <string>

namespace platform {

// What stood in the way of a file that was not opened or read, for a caller that treats the
// cases apart: a missing file passed over in silence, a named pipe refused with a message.
enum class FileFailure {
  kNone,
  kMissing,     // nothing at the path (or a link to nothing)
  kNotRegular,  // a named pipe, a device, a socket, a folder: never read
  kCannotOpen,  // the system would not open it (no permission, ...)
  kCannotRead,  // opened, but reading it failed
};

// What a file that is not a regular file is, in words that follow "it is" ("a named pipe",
// "a device", "a socket", "a folder"); "not a regular file" for anything else.
std::string FileKindText(mode_t mode);

// A descriptor open for reading on the regular file the path names, or -1 with the reason in
// error (when given): as the system says it ("No such file or directory"), or "it is a named
// pipe" and the like for what is not a regular file. The caller closes it.
int OpenRegularFileForReading(const std::string& path, std::string* error = nullptr,
                              FileFailure* failure = nullptr);

// The whole text of the regular file the path names; false, with the reason as above and
// text left empty, when it cannot be opened or read.
bool ReadRegularFile(const std::string& path, std::string& text, std::string* error = nullptr,
                     FileFailure* failure = nullptr);

// The same for the other ways a file is opened (open(2)'s flags: O_WRONLY | O_APPEND to add
// to it, O_RDWR to change it in place, O_WRONLY | O_CREAT | O_TRUNC to create or empty it):
// only a regular file, or a new one where O_CREAT allows it, and without waiting, since
// opening a named pipe to write waits for a reader as opening it to read waits for a writer.
// Only the open does not wait: the descriptor comes back blocking, as reads and writes expect.
int OpenRegularFile(const std::string& path, int flags, std::string* error = nullptr,
                    FileFailure* failure = nullptr);

// The regular file as a stdio stream for reading, for a library that reads through one; null
// with the reason as above. The caller closes it.
std::FILE* OpenRegularFileStream(const std::string& path, std::string* error = nullptr,
                                 FileFailure* failure = nullptr);

}  // namespace platform
