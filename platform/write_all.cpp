#include "platform/write_all.h"

#include <unistd.h>

#include <cerrno>

namespace platform {

size_t WriteAll(int fd, const char* data, size_t size, off_t offset) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = offset < 0 ? ::write(fd, data + done, size - done)
                                 : ::pwrite(fd, data + done, size - done, offset + static_cast<off_t>(done));
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      if (n == 0) errno = EIO;
      break;
    }
  }
  return done;
}

}  // namespace platform
