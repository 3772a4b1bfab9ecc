// Loaded into the real game with LD_PRELOAD by bench/input_latency.sh: measures how long an input
// event takes to reach the screen. A thread pushes a key-down into SDL's queue every 40 to 60 ms
// (one at a time, marked so it is known again); when the game takes it from the queue, the
// frame being prepared is the first whose charts see it. For each event one line goes to the
// file named by ALOFT_LATENCY_FILE: the time from the push to the end of that frame's buffer
// swap in microseconds, and how many frames were presented meanwhile, that one included (1: the
// next frame; 2: a frame was already being drawn when it arrived). The game itself is unchanged
// and unaware of it.
#include <SDL.h>
#include <dlfcn.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

constexpr Uint32 kMark = 0xA10F7;

std::int64_t nowNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::atomic<std::int64_t> pushedAt{0};  // the push time of the event in the queue; 0: none
std::atomic<std::int64_t> presents{0};  // frames presented so far
std::atomic<std::int64_t> presentsAtPush{0};
std::int64_t seenPushTime = 0;  // main thread: the event taken for the coming frame
std::int64_t seenPresentsAtPush = 0;

void pushEvents() {
  for (int n = 0;; ++n) {
    // Steps of 40 to 60 ms, not a multiple of the 10 ms frame: arrivals fall all over a frame.
    std::this_thread::sleep_for(std::chrono::microseconds(40000 + (n * 7919) % 20000));
    if (pushedAt.load() != 0) continue;
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = SDLK_x;
    event.key.keysym.scancode = SDL_SCANCODE_X;
    event.key.keysym.unused = kMark;
    presentsAtPush.store(presents.load());
    pushedAt.store(nowNs());
    SDL_PushEvent(&event);
  }
}

FILE* output() {
  static FILE* file = [] {
    const char* path = std::getenv("ALOFT_LATENCY_FILE");
    return path ? std::fopen(path, "w") : nullptr;
  }();
  return file;
}

}  // namespace

extern "C" int SDL_PollEvent(SDL_Event* event) {
  using Poll = int (*)(SDL_Event*);
  static const auto poll = reinterpret_cast<Poll>(dlsym(RTLD_NEXT, "SDL_PollEvent"));
  const int got = poll(event);
  if (got && event && event->type == SDL_KEYDOWN && event->key.keysym.unused == kMark) {
    seenPresentsAtPush = presentsAtPush.load();
    seenPushTime = pushedAt.exchange(0);
  }
  return got;
}

extern "C" void SDL_GL_SwapWindow(SDL_Window* window) {
  using Swap = void (*)(SDL_Window*);
  static const auto swap = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
  static const bool started = [] {
    std::thread(pushEvents).detach();
    return true;
  }();
  (void)started;
  swap(window);
  const std::int64_t presented = presents.fetch_add(1) + 1;
  if (seenPushTime == 0 || output() == nullptr) return;
  std::fprintf(output(), "%lld %lld\n", static_cast<long long>((nowNs() - seenPushTime) / 1000),
               static_cast<long long>(presented - seenPresentsAtPush));
  std::fflush(output());
  seenPushTime = 0;
}
