#pragma once
// Writing every byte to a file descriptor: the system may take fewer than asked or be
// interrupted, and a file that takes no more (a full disk) is an error.
#include <sys/types.h>

#include <cstddef>

namespace platform {

// Writes the bytes at the descriptor's position, or at `offset` when it is not negative.
// Returns how many were written: all of them, or fewer with errno saying why.
size_t WriteAll(int fd, const char* data, size_t size, off_t offset = -1);

}  // namespace platform
