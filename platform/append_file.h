#pragma once
// Files written by appending: created or emptied, made to end at a line end, and given more
// bytes at their end. Nothing is held open between calls, so other programs may read the file
// (and the history viewer may open it) while it grows. Only a regular file (or a new one) is
// opened, and without waiting: a named pipe or a device in its place is refused, and the error
// text says what it is ("it is a named pipe").
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

bool FileExists(const std::string& path);

// Creates the file empty, or empties an existing one. False with the system's text otherwise.
bool CreateEmptyFile(const std::string& path, std::string* error = nullptr);

// Makes the file end at a line end before more lines are appended: a last line cut short (a
// writer killed in its middle) is taken off back to the line feed before it, as readers never
// took it for data; a file without any line feed gets one. False with the system's text when
// the file cannot be read or changed.
bool EndAtLineEnd(const std::string& path, std::string* error = nullptr);

// Hands the file's bytes from its start to `take`, a block at a time, until `take` returns false
// or the file ends: a reader that needs only the first lines reads no further than them. False
// with the system's text when the file cannot be opened or read.
bool ReadFromStart(const std::string& path, const std::function<bool(std::string_view)>& take,
                   std::string* error = nullptr);

// Appends the bytes at the file's end (the file must exist). Returns how many were written:
// all of them, or fewer when the system refused the rest (the error text says why).
size_t AppendToFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

}  // namespace platform
