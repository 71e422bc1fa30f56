#pragma once
// Saving a file the player keeps (the settings, the high-score table) so that a crash, a kill
// or a full disk at any moment leaves the old contents or the new ones whole. A link is
// followed: its target is replaced in its own folder and the link stays. A replaced file keeps
// its mode and group, so a table shared by a group stays shared. Only the in-place rewrite
// allocates from the game's heap (reading the folder takes the C library's buffer), so a
// round may save the settings.
#include <sys/types.h>

#include <cstddef>

// The file a path finally names, links followed (a dangling link names its target); the path
// itself when it is no link. False when it does not fit or the links loop.
bool follow_links(const char* path, char* out, std::size_t capacity);

enum class Replaced { Done, Failed, NoTempFile };

// Writes bytes under a unique name beside target (target.XXXXXX), flushes them to the disk and
// renames them over it. NoTempFile: nothing could be made in the folder and nothing was
// touched. Failed: the old file is as it was. errno tells why. First it removes the files of
// that name pattern which killed saves left: plain files of this user, untouched for
// kStaleTempSeconds (a save in progress is never that slow).
Replaced replace_file(const char* target, const char* bytes, std::size_t size);
inline constexpr int kStaleTempSeconds = 10;

// For a folder where nothing new can be made: the new bytes written over the old, then the
// length cut. Until the cut the file is the new bytes followed by the old ones' tail, so its
// reader must stop at the end of what was written. A failing step puts the old bytes back.
// fd is open for reading and writing on a regular file.
bool rewrite_in_place(int fd, const char* bytes, std::size_t size);

// The steps a save takes on an open file; tests stand in ones that fail.
struct SaveSteps {
  int (*make_temp)(char* name_template, int flags);  // mkostemp
  ssize_t (*pwrite)(int fd, const void* bytes, std::size_t size, off_t at);
  int (*fsync)(int fd);
  int (*ftruncate)(int fd, off_t length);
};
extern SaveSteps save_steps;

// An advisory lock (flock) on the folder a file lives in, held while the file is read, changed
// and saved, so that two running games take turns. The folder, not the file, as a save renames
// a new file over the old one. Not getting it (an unreadable folder) only loses the turns.
class FolderLock {
 public:
  explicit FolderLock(const char* file);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};
