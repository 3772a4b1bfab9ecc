// Whole runs of the game as scripted input, drawn from a seeded random generator: a click on
// the EASY or the HARD button, a key that starts the run after a random wait, random turns, and
// then a steering that lands the flyer for sure: nose up until it has reached the ceiling, a
// half turn, nose down to the ground. Each run ends with a wait for the stats screen to be back.
//
// The script depends only on the seed and the window size (std::mt19937 is the same everywhere),
// so a soak can be repeated exactly. Its frame counts assume frames of 0.01 seconds; longer
// frames only carry the flyer further in the same frames, so the landing still comes in time.
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
