// Whole runs of the game as scripted input from a seeded random generator: a click on EASY or
// HARD, a start key after a random wait, random turns, then a steering that lands for sure (nose
// up to the ceiling, a half turn, down to the ground) and a wait for the stats screen. The script
// depends only on the seed and the window size, so a soak repeats exactly. Its frame counts
// assume frames of 0.01 s; longer ones only carry the flyer further.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "platform/window.h"

class RandomRuns {
 public:
  // The frame of the first click on a freshly started game: the logos last 6 seconds.
  static constexpr std::int64_t kFirstRunFrame = 700;

  RandomRuns(std::uint32_t seed, platform::Size window);

  // Appends the script lines of the next run, its click in `frame`, to `script`. Returns the
  // frame of the next run's click.
  std::int64_t appendRun(std::int64_t frame, std::string& script);

 private:
  int between(int low, int high);  // uniform in [low, high]

  std::mt19937 random;
  platform::Size window;
};
