#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"

namespace platform {

namespace {

// While a waiter is blocked in `flock`, a timer of its own thread sends it this signal: first
// when the wait is over, then every few milliseconds, so a signal that came just before the
// waiter blocked again is followed by another. The handler does nothing; the point is the
// interrupted `flock`.
const int kWakeSignal = SIGRTMIN + 4;
constexpr long kRepeatNanoseconds = 2'000'000;

void ignoreWake(int) {}

bool installWakeHandler() {
  struct sigaction action {};
  action.sa_handler = ignoreWake;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: the blocked flock returns EINTR
  return ::sigaction(kWakeSignal, &action, nullptr) == 0;
}

// A timer that interrupts the calling thread's blocking calls from `wait` on.
class WakeTimer {
 public:
  explicit WakeTimer(std::chrono::milliseconds wait) {
    static const bool installed = installWakeHandler();
    if (!installed) return;
    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = kWakeSignal;
    event._sigev_un._tid = ::gettid();  // sigev_notify_thread_id, which this C library does not name
    if (::timer_create(CLOCK_MONOTONIC, &event, &timer) != 0) return;
    armed = true;
    itimerspec when{};
    const auto count = wait.count() > 0 ? wait.count() : 1;
    when.it_value.tv_sec = time_t(count / 1000);
    when.it_value.tv_nsec = long(count % 1000) * 1'000'000;
    when.it_interval.tv_nsec = kRepeatNanoseconds;
    ::timer_settime(timer, 0, &when, nullptr);
  }
  ~WakeTimer() {
    if (armed) ::timer_delete(timer);
  }
  WakeTimer(const WakeTimer&) = delete;
  WakeTimer& operator=(const WakeTimer&) = delete;
  bool armed = false;

 private:
  timer_t timer{};
};

// Locks `file`, blocked in the kernel's queue up to `wait`. Waiters blocked there get the lock
// the moment its holder lets go; waiters that tried now and then lost nearly every turn to a
// game saving in a tight loop.
int lockWithin(int file, std::chrono::milliseconds wait) {
  if (::flock(file, LOCK_EX | LOCK_NB) == 0) return 0;
  if (errno != EWOULDBLOCK || wait.count() <= 0) return errno;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  WakeTimer timer(wait);
  if (!timer.armed) return EWOULDBLOCK;
  while (true) {
    if (::flock(file, LOCK_EX) == 0) return 0;
    if (errno != EINTR) return errno;
    // A wake from the timer, or another signal: the game's own quit signals included, which
    // the frame sees once this returns.
    if (std::chrono::steady_clock::now() >= deadline) return EWOULDBLOCK;
  }
}

}  // namespace

int FileLock::acquire(std::chrono::milliseconds wait) {
  if (fd >= 0) return 0;
  // Opened for each hold and closed at its end: a process forked between two holds inherits no
  // lock, and a lock file removed by hand is made again at the next hold. Never through a link
  // (a planted one would make its target), and never anything but a regular file.
  const int file =
      ::open(path_.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  if (file < 0) return errno;
  struct stat status {};
  int error = ::fstat(file, &status) != 0 ? errno
              : !S_ISREG(status.st_mode) ? kNotRegularFile
                                          : lockWithin(file, wait);
  if (error != 0) {
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

}  // namespace platform
