#include "system_call_faults.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace faults {

namespace {

constexpr std::size_t kCallKinds = 5;

struct Armed {
  std::array<int, kCallKinds> failingOccurrence{};  // 0: none
  std::array<int, kCallKinds> error{};
  std::array<int, kCallKinds> seen{};
  std::size_t writeLimit = 0;  // 0: unlimited
};

Armed& armed() {
  static Armed state;
  return state;
}

// Counts the call and says whether it is the one that must fail; `error` is then its errno.
bool failsNow(Call call, int& error) {
  Armed& state = armed();
  const auto kind = std::size_t(call);
  if (++state.seen[kind] != state.failingOccurrence[kind]) return false;
  error = state.error[kind];
  return true;
}

// Whether the call must fail; errno is then set to its error.
bool failsWithErrno(Call call) {
  int error = 0;
  if (!failsNow(call, error)) return false;
  errno = error;
  return true;
}

template <typename Function>
Function next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

void failCall(Call call, int occurrence, int error) {
  armed().failingOccurrence[std::size_t(call)] = occurrence;
  armed().error[std::size_t(call)] = error;
}

void shortenWrites(std::size_t bytes) { armed().writeLimit = bytes; }

void reset() { armed() = Armed{}; }

}  // namespace faults

using faults::Call;

extern "C" ssize_t write(int fd, const void* data, size_t size) {
  static const auto real = faults::next<ssize_t (*)(int, const void*, size_t)>("write");
  int error = 0;
  if (faults::failsNow(Call::Write, error)) {
    if (error == 0) return 0;
    errno = error;
    return -1;
  }
  const std::size_t limit = faults::armed().writeLimit;
  return real(fd, data, limit != 0 && size > limit ? limit : size);
}

extern "C" int fsync(int fd) {
  static const auto real = faults::next<int (*)(int)>("fsync");
  return faults::failsWithErrno(Call::Fsync) ? -1 : real(fd);
}

extern "C" int close(int fd) {
  static const auto real = faults::next<int (*)(int)>("close");
  const bool fails = faults::failsWithErrno(Call::Close);
  const int closed = real(fd);  // the descriptor is gone even when close reports an error
  return fails ? -1 : closed;
}

extern "C" int link(const char* from, const char* to) noexcept {
  static const auto real = faults::next<int (*)(const char*, const char*)>("link");
  return faults::failsWithErrno(Call::Link) ? -1 : real(from, to);
}

extern "C" int rename(const char* from, const char* to) noexcept {
  static const auto real = faults::next<int (*)(const char*, const char*)>("rename");
  return faults::failsWithErrno(Call::Rename) ? -1 : real(from, to);
}
