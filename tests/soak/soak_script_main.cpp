// Prints random whole runs (random_runs.h) as a script for the game's --script, up to a frame or
// a number of runs; tells on stderr how many runs and the frame after the last one.
#include <CLI/CLI.hpp>
#include <cstdint>
#include <iostream>
#include <string>

#include "random_runs.h"

int main(int argc, char** argv) {
  CLI::App app{"Scripted input of random whole runs of the game"};
  std::uint32_t seed = 1;
  int width = 480;
  int height = 320;
  std::int64_t until = 0;
  int runCount = 0;
  app.add_option("--seed", seed, "Seed of the random generator");
  app.add_option("--width", width, "Window width in points (3 : 2 with the height)")
      ->check(CLI::Range(3, 10000));
  app.add_option("--height", height, "Window height in points")->check(CLI::Range(2, 10000));
  auto* untilOption = app.add_option("--until", until, "No run starts at or after this frame")
                          ->check(CLI::PositiveNumber);
  app.add_option("--runs", runCount, "Number of runs")
      ->check(CLI::PositiveNumber)
      ->excludes(untilOption);
  CLI11_PARSE(app, argc, argv);
  if (until == 0 && runCount == 0) {
    std::cerr << "aloft-soak-script: give --until FRAME or --runs N\n";
    return 2;
  }

  RandomRuns runs(seed, {width, height});
  std::string script = "# random whole runs, seed " + std::to_string(seed) + "\n";
  int count = 0;
  std::int64_t frame = RandomRuns::kFirstRunFrame;
  while (runCount > 0 ? count < runCount : frame < until) {
    frame = runs.appendRun(frame, script);
    ++count;
  }
  std::cout << script;
  std::cerr << count << " runs, over by frame " << frame << "\n";
  return 0;
}
