#pragma once
// Files written by appending: created or emptied, tested for writing, and given more bytes at
// their end. Nothing is held open between calls, so other programs may read the file (and
// the history viewer may open it) while it grows.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

bool FileExists(const std::string& path);

// Creates the file empty, or empties an existing one. False with the system's text otherwise.
bool CreateEmptyFile(const std::string& path, std::string* error = nullptr);

// Opens an existing file for writing and closes it again without changing it: true when it
// can be appended to.
bool FileIsWritable(const std::string& path, std::string* error = nullptr);

// Appends the bytes at the file's end (the file must exist). Returns how many were written:
// all of them, or fewer when the system refused the rest (the error text says why).
size_t AppendToFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

}  // namespace platform
