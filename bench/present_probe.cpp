// Loaded into the real game with LD_PRELOAD by bench/game_timing: after every presented frame
// (SDL's buffer swap) it writes the monotonic clock's reading in nanoseconds, 8 bytes, to the
// file descriptor named by ALOFT_PRESENT_FD. The game itself is unchanged and unaware of it.
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

struct SDL_Window;

namespace {

int presentFd() {
  static const int fd = [] {
    const char* text = std::getenv("ALOFT_PRESENT_FD");
    return text ? std::atoi(text) : -1;
  }();
  return fd;
}

}  // namespace

extern "C" void SDL_GL_SwapWindow(SDL_Window* window) {
  using Swap = void (*)(SDL_Window*);
  static const auto swap = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
  swap(window);
  if (presentFd() < 0) return;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const std::int64_t ns = std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
  // A full pipe only delays the game; a closed one ends the reports.
  if (write(presentFd(), &ns, sizeof ns) != sizeof ns) return;
}
