// The frame timer's sense of time: the real monotonic clock, or a fixed step per frame for
// reproducible runs.
#pragma once

#include <limits>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since an arbitrary origin.
  virtual double now() const = 0;
  // Waits until the next frame tick is due and advances to it. The real clock sleeps (never
  // spins) until the tick `interval` seconds after the previous one; the fixed-step clock
  // returns at once, one step later.
  virtual void waitForNextTick() = 0;
  // Forget the tick schedule, e.g. after a pause, so the next wait starts a fresh interval
  // instead of hurrying to catch up with the ticks that were missed.
  virtual void restartTicks() = 0;
  // The longest a frame may last; a longer stall is played as this long.
  virtual double longestFrame() const { return std::numeric_limits<double>::infinity(); }
};

class MonotonicClock final : public Clock {
 public:
  // A real clock can stall (a loaded machine, a suspended process): `longest` caps the frame
  // the game then plays.
  MonotonicClock(double interval, double longest);
  // The interval after the tick being waited for next; a replay sets each frame's recorded length.
  void setInterval(double seconds) { interval = seconds; }
  double now() const override;
  void waitForNextTick() override;
  void restartTicks() override;
  double longestFrame() const override { return longest; }

 private:
  double interval;
  double longest;
  double nextTick = -1;
};

class FixedStepClock final : public Clock {
 public:
  explicit FixedStepClock(double tickLength) : step(tickLength) {}
  double now() const override { return double(ticks) * step; }
  void waitForNextTick() override { ++ticks; }
  void restartTicks() override {}

 private:
  double step;
  long long ticks = 0;
};

}  // namespace platform
