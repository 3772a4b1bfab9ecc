#include "chart/file_lock.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace chart {

namespace {

// The longest sleep between two tries: on a file system that reports no closes, waiting turns
// into trying every 10 ms.
constexpr std::chrono::milliseconds kLongestSleep{10};

// Locks `file` (open on `path`), trying until `wait` has passed. `flock` cannot wait with a
// limit, so it is tried without waiting, and between tries the waiter sleeps until someone
// closes the lock file: a holder gives the lock up by closing it, or by dying. Waiting games so
// try again the moment the lock is free, as a blocked `flock` would; a waiter that slept a
// fixed while instead lost nearly every turn to a game saving in a tight loop (9 s waits with
// eight such games, where waking on the close kept every wait under a second).
int lockWithin(const std::string& path, int file, std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  bool watching = false;
  int closes = -1;  // an inotify descriptor watching the lock file, once a try has failed
  int error = 0;
  while (true) {
    if (::flock(file, LOCK_EX | LOCK_NB) == 0) {
      error = 0;
      break;
    }
    error = errno;
    if (error == EINTR) continue;
    const auto now = std::chrono::steady_clock::now();
    if (error != EWOULDBLOCK || now >= deadline) break;
    if (!watching) {
      // Watched before the next try, so a close between that try and the sleep still wakes it.
      // Without a watch, `poll` below only sleeps.
      watching = true;
      closes = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
      if (closes >= 0 && ::inotify_add_watch(closes, path.c_str(), IN_CLOSE) < 0) {
        ::close(closes);
        closes = -1;
      }
      continue;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
    pollfd watch{closes, POLLIN, 0};
    ::poll(&watch, 1, int(std::min(left + std::chrono::milliseconds(1), kLongestSleep).count()));
    char events[1024];
    while (closes >= 0 && ::read(closes, events, sizeof events) > 0) {
    }
  }
  if (closes >= 0) ::close(closes);
  return error;
}

}  // namespace

int FileLock::acquire(std::chrono::milliseconds wait) {
  if (fd >= 0) return 0;
  // Opened for each hold and closed at its end: a process forked between two holds inherits no
  // lock, and a lock file removed by hand is made again at the next hold.
  const int file = ::open(path_.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
  if (file < 0) return errno;
  if (const int error = lockWithin(path_, file, wait)) {
    ::close(file);
    return error;
  }
  fd = file;
  return 0;
}

void FileLock::release() {
  if (fd < 0) return;
  // Closing drops the lock (unless a forked child still shares this open file; an explicit
  // unlock would take it from that child as well) and wakes the games waiting for it.
  ::close(fd);
  fd = -1;
}

}  // namespace chart
