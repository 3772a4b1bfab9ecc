// An exclusive lock shared between processes: `flock` on a lock file. The kernel drops it when
// the holder closes the file or dies, so a game killed while holding it never blocks the next.
#pragma once

#include <chrono>
#include <string>

namespace chart {

class FileLock {
 public:
  // Nothing is opened until the first `acquire`.
  explicit FileLock(std::string path) : path_(std::move(path)) {}
  ~FileLock() { release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the lock, waiting up to `wait` while another process holds it. Returns 0, EWOULDBLOCK
  // when the wait ran out, or the errno of opening the lock file (which is created if missing;
  // its folder must exist).
  int acquire(std::chrono::milliseconds wait);
  // Gives the lock up; nothing when it is not held.
  void release();
  bool held() const { return fd >= 0; }

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  int fd = -1;  // open, and locked, only while held
};

}  // namespace chart
