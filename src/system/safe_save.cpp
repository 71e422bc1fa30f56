// Saving a file so that an interrupted save never loses it.
#include "system/safe_save.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

SaveSteps save_steps = {::mkostemp, ::pwrite, ::fsync, ::ftruncate};

namespace {

// Every byte at offset at, through interruptions and short writes; false (errno set) otherwise.
bool write_at(int fd, const char* bytes, std::size_t size, off_t at) {
  while (size > 0) {
    const ssize_t n = save_steps.pwrite(fd, bytes, size, at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes += n;
    size -= static_cast<std::size_t>(n);
    at += n;
  }
  return true;
}

// The folder part of path ("." when it has none) into out.
void folder_of(const char* path, char* out, std::size_t capacity) {
  const char* slash = std::strrchr(path, '/');
  if (!slash) {
    std::snprintf(out, capacity, ".");
    return;
  }
  const int length = slash == path ? 1 : static_cast<int>(slash - path);
  std::snprintf(out, capacity, "%.*s", length, path);
}

// The rename only lasts a power cut once the folder itself is on the disk. In the browser this
// fsync is what writes the page's storage, and the game waits until it is written.
void sync_folder_of(const char* path) {
  char folder[4096];
  folder_of(path, folder, sizeof folder);
  const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// What a new file gets: the mode the player's umask allows for a document.
mode_t new_file_mode() {
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return 0666 & ~mask;
}

// A name mkostemp made for target: its own name, a dot and six letters or digits.
bool temp_name_of(const char* name, const char* base) {
  const std::size_t n = std::strlen(base);
  if (std::strncmp(name, base, n) != 0 || name[n] != '.' || std::strlen(name) != n + 7) return false;
  for (const char* c = name + n + 1; *c; ++c)
    if (!((*c >= 'A' && *c <= 'Z') || (*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9'))) return false;
  return true;
}

// Removes what killed saves of target left beside it. Only files that can be nothing else:
// our name pattern, a plain file (no link, no second name) of ours, unchanged for a while, as
// a save in progress (another game's) writes and renames its file within moments.
void remove_stale_temp_files(const char* target) {
  char folder[4096];
  folder_of(target, folder, sizeof folder);
  const char* slash = std::strrchr(target, '/');
  const char* base = slash ? slash + 1 : target;
  const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return;
  }
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    struct stat st {};
    if (!temp_name_of(entry->d_name, base) || ::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISREG(st.st_mode) && st.st_nlink == 1 && st.st_uid == ::geteuid() && st.st_mtime <= now - kStaleTempSeconds)
      ::unlinkat(fd, entry->d_name, 0);
  }
  ::closedir(dir);
}

}  // namespace

bool follow_links(const char* path, char* out, std::size_t capacity) {
  if (std::snprintf(out, capacity, "%s", path) >= static_cast<int>(capacity)) return false;
  for (int hops = 0; hops < 40; ++hops) {
    char link[4096];
    const ssize_t n = ::readlink(out, link, sizeof link - 1);
    if (n < 0) return true;  // no link (or nothing there): this is the file
    link[n] = '\0';
    char base[4096];
    folder_of(out, base, sizeof base);
    const int written = link[0] == '/' ? std::snprintf(out, capacity, "%s", link)
                                       : std::snprintf(out, capacity, "%s/%s", base, link);
    if (written < 0 || written >= static_cast<int>(capacity)) return false;
  }
  errno = ELOOP;
  return false;
}

Replaced replace_file(const char* target, const char* bytes, std::size_t size) {
  // A name of its own for every save, so two games saving at once never share one.
  char temp[4096];
  if (std::snprintf(temp, sizeof temp, "%s.XXXXXX", target) >= static_cast<int>(sizeof temp)) {
    errno = ENAMETOOLONG;
    return Replaced::NoTempFile;
  }
  remove_stale_temp_files(target);
  const int fd = save_steps.make_temp(temp, O_CLOEXEC);
  if (fd < 0) return Replaced::NoTempFile;
  struct stat old {};
  if (::stat(target, &old) == 0 && S_ISREG(old.st_mode)) {
    ::fchmod(fd, old.st_mode & 07777);
    // Only a member of the group may hand the file to it; otherwise the group is the player's.
    if (::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
    }
  } else {
    ::fchmod(fd, new_file_mode());
  }
  bool ok = write_at(fd, bytes, size, 0) && save_steps.fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && ok) ok = false, error = errno;
  if (ok && std::rename(temp, target) != 0) ok = false, error = errno;
  if (!ok) {
    ::unlink(temp);
    errno = error;
    return Replaced::Failed;
  }
  sync_folder_of(target);
  return Replaced::Done;
}

bool rewrite_in_place(int fd, const char* bytes, std::size_t size) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return false;
  const off_t old_length = st.st_size;
  // The old bytes the new ones cover, to put back if a step fails.
  std::string old(std::min<std::size_t>(size, static_cast<std::size_t>(old_length)), '\0');
  for (std::size_t got = 0; got < old.size();) {
    const ssize_t n = ::pread(fd, old.data() + got, old.size() - got, static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    got += static_cast<std::size_t>(n);
  }
  const off_t length = static_cast<off_t>(size);
  bool ok = write_at(fd, bytes, size, 0) && save_steps.fsync(fd) == 0;
  if (ok && old_length > length) ok = save_steps.ftruncate(fd, length) == 0;
  if (!ok) {
    const int error = errno;
    write_at(fd, old.data(), old.size(), 0);
    if (::fstat(fd, &st) == 0 && st.st_size != old_length) save_steps.ftruncate(fd, old_length);
    save_steps.fsync(fd);
    errno = error;
    return false;
  }
  return save_steps.fsync(fd) == 0;
}

FolderLock::FolderLock(const char* file) {
  char folder[4096];
  folder_of(file, folder, sizeof folder);
  fd_ = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing lets the lock go
}
