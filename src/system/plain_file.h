#pragma once
// Files the player may have replaced with anything (a pipe, a device, a link to /dev/zero, a
// huge file): read only when plain, without ever waiting on them and never past a limit; and
// written whole.
#include <cstddef>

enum class PlainRead { Read, Missing, NotPlain, Failed };

struct PlainReadResult {
  PlainRead outcome;
  std::size_t size;  // bytes read into the buffer
  int error;         // errno when Failed
};

// At most capacity bytes of path into out.
PlainReadResult read_plain_file(const char* path, char* out, std::size_t capacity);

// Every byte, through interruptions; false (errno set) on any error.
bool write_all(int fd, const char* bytes, std::size_t size);
