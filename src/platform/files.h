// The game's own files on disk: where they are, reading only regular files, writing whole files
// atomically, and the lock the games of one user share. Every file the game writes goes through
// here, and nothing written here follows a link at a name the game chose itself.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The user's home folder: HOME, else the password entry's, else ".".
std::string homeFolder();
// The home folder of the user `name`; empty when there is no such user.
std::string homeFolderOf(const std::string& name);
// The folder holding `path`: its parent, or "." for a bare name.
std::string parentFolder(const std::string& path);

// The errno-like code of a file found to be something other than a regular file.
inline constexpr int kNotRegularFile = -1;

// Why a file step failed: the error and the file it was meant for (the file being written, its
// backup, its lock or its folder, never a staging name).
struct FileError {
  int error = 0;  // 0 when the step worked
  std::string file;
  explicit operator bool() const { return error != 0; }
  // Why, as a phrase: the system's text for the error, or "not a regular file".
  std::string reason() const;
  // "FILE: reason".
  std::string describe() const { return file + ": " + reason(); }
};

enum class FileKind { Missing, Regular, Link, Other };
// What is at `path` itself (a link is not followed).
FileKind kindOf(const std::string& path);
// The file a chain of links at `path` ends at (relative targets taken from the link's folder);
// `path` itself when it is no link. The end need not exist.
std::string followLinks(const std::string& path);

// Reads up to `limit` bytes of `path`, which must be a regular file: it is opened without
// blocking (a named pipe or a device is never waited on) and checked before a byte is read.
// With `followLink` false a link at `path` is refused (ELOOP). ENOENT or ENOTDIR when missing.
FileError readRegularFile(const std::string& path, std::size_t limit, std::string& contents,
                          bool followLink = true);
// Checks that `path` can be opened for reading and is a regular file, for libraries that open a
// file by name; opening a pipe by name would block them.
FileError checkRegularFile(const std::string& path);
// Checks that a file can be made or replaced at `path` (a regular file or nothing there, in a
// folder that takes a new file), by making one there and removing it.
FileError checkWritable(const std::string& path);
// Renames the regular file `from` to `to`, which must not exist yet.
FileError moveAside(const std::string& from, const std::string& to);

enum class KeepBackup { No, Yes };

// Replaces `path` with `contents` so that a crash, a power cut or a kill at any moment leaves
// either the old file or the new one: written and synced under a new unique name in the same
// folder (made with O_EXCL, so no planted link is followed), the current file kept as
// `<path>.bak` when asked, renamed over `path`, the folder synced. Something other than a
// regular file or a link at `path` is never replaced. A failure leaves `path` as it was (but
// for the folder's sync) and no staging file behind; two writers of one path never share a
// staging file.
FileError writeFileAtomically(const std::string& path, std::string_view contents,
                              KeepBackup backup);

// An exclusive lock shared between processes: `flock` on a lock file. The kernel drops it when
// the holder closes the file or dies, so a game killed while holding it never blocks the next.
class FileLock {
 public:
  // Nothing is opened until the first `acquire`.
  explicit FileLock(std::string path) : path_(std::move(path)) {}
  ~FileLock() { release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the lock, blocked in the kernel's queue of waiters up to `wait`. Returns 0,
  // EWOULDBLOCK when the wait ran out, or the error of opening the lock file (created if
  // missing, never through a link; its folder must exist).
  int acquire(std::chrono::milliseconds wait);
  // Gives the lock up; nothing when it is not held.
  void release();
  bool held() const { return fd >= 0; }

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  int fd = -1;  // open, and locked, only while held
};

}  // namespace platform
