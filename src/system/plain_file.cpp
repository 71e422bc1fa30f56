// Opening only plain files, never blocking on a pipe or device.
#include "system/plain_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

PlainReadResult read_plain_file(const char* path, char* out, std::size_t capacity) {
  // Not blocking on the open: a FIFO nobody writes to must not stall the game.
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    return {error == ENOENT || error == ENOTDIR ? PlainRead::Missing : PlainRead::Failed, 0, error};
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return {PlainRead::NotPlain, 0, EINVAL};
  }
  std::size_t size = 0;
  while (size < capacity) {
    const ssize_t n = ::read(fd, out + size, capacity - size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      return {PlainRead::Failed, size, error};
    }
    if (n == 0) break;
    size += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return {PlainRead::Read, size, 0};
}

bool write_all(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}
