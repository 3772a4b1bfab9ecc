#include "platform/clock.h"

#include <SDL.h>

#include <thread>
#include <chrono>

namespace platform {

MonotonicClock::MonotonicClock(double tickInterval) : interval(tickInterval) {}

double MonotonicClock::now() const {
  static const double frequency = double(SDL_GetPerformanceFrequency());
  return double(SDL_GetPerformanceCounter()) / frequency;
}

void MonotonicClock::waitForNextTick() {
  const double start = now();
  if (nextTick < 0) nextTick = start;
  if (start < nextTick) {
    std::this_thread::sleep_for(std::chrono::duration<double>(nextTick - start));
  }
  // Like a repeating timer, a late tick is not made up for: the schedule moves on from now.
  const double tick = nextTick;
  nextTick = tick + interval;
  if (nextTick < now()) nextTick = now() + interval;
}

void MonotonicClock::restartTicks() { nextTick = -1; }

}  // namespace platform
