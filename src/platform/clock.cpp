#include "platform/clock.h"

#include <chrono>
#include <thread>

#include "platform/events.h"

namespace platform {

MonotonicClock::MonotonicClock(double tickInterval, double longestTick)
    : interval(tickInterval), longest(longestTick) {}

double MonotonicClock::now() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void MonotonicClock::waitForNextTick() {
  const double start = now();
  if (nextTick < 0) nextTick = start;
  // Slept in slices, so a quit signal is seen within one.
  constexpr double kSlice = 0.02;
  for (double left = nextTick - start; left > 0 && quitSignal() == 0; left = nextTick - now()) {
    std::this_thread::sleep_for(std::chrono::duration<double>(left < kSlice ? left : kSlice));
  }
  // Like a repeating timer, a late tick is not made up for: the schedule moves on from now.
  const double tick = nextTick;
  nextTick = tick + interval;
  if (nextTick < now()) nextTick = now() + interval;
}

void MonotonicClock::restartTicks() { nextTick = -1; }

}  // namespace platform
