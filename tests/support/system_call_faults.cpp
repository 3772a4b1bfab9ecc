#include "support/system_call_faults.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace faults {
namespace {

// All zero before any constructor runs, so calls made while the program starts pass through.
struct Armed {
  std::array<int, 5> failingOccurrence{};  // by Call; 0: none
  std::array<int, 5> error{};
  std::array<int, 5> seen{};
  std::size_t writeLimit = 0;
} armed;

// Counts the call; true when it is the one that must fail, with errno set to its error.
bool failsNow(Call call) {
  const auto kind = std::size_t(call);
  if (++armed.seen[kind] != armed.failingOccurrence[kind]) return false;
  errno = armed.error[kind];
  return true;
}

template <typename Function>
Function real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

void failCall(Call call, int occurrence, int error) {
  armed.failingOccurrence[std::size_t(call)] = occurrence;
  armed.error[std::size_t(call)] = error;
}

void shortenWrites(std::size_t bytes) { armed.writeLimit = bytes; }

void reset() { armed = Armed{}; }

}  // namespace faults

using faults::Call;

extern "C" ssize_t write(int fd, const void* data, size_t size) {
  static const auto next = faults::real<ssize_t (*)(int, const void*, size_t)>("write");
  if (faults::failsNow(Call::Write)) return errno == 0 ? 0 : -1;
  const std::size_t limit = faults::armed.writeLimit;
  return next(fd, data, limit != 0 && size > limit ? limit : size);
}

extern "C" int fsync(int fd) {
  static const auto next = faults::real<int (*)(int)>("fsync");
  return faults::failsNow(Call::Fsync) ? -1 : next(fd);
}

extern "C" int close(int fd) {
  static const auto next = faults::real<int (*)(int)>("close");
  const bool fails = faults::failsNow(Call::Close);
  const int closed = next(fd);  // the descriptor is gone even when close reports an error
  return fails ? -1 : closed;
}

extern "C" int link(const char* from, const char* to) noexcept {
  static const auto next = faults::real<int (*)(const char*, const char*)>("link");
  return faults::failsNow(Call::Link) ? -1 : next(from, to);
}

extern "C" int rename(const char* from, const char* to) noexcept {
  static const auto next = faults::real<int (*)(const char*, const char*)>("rename");
  return faults::failsNow(Call::Rename) ? -1 : next(from, to);
}
