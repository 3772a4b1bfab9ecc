// Two real games started together on one preference file, each playing a scripted run (headless,
// fixed frame length) that lands at its own frame: both keep what the other saved, and of two
// runs of one mode the longer time stays, whichever of them lands first.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

// A mode as the game chart flies it on the 480 x 320 window: its button's middle, turning step
// in degrees a frame and speed in units a second.
struct Mode {
  const char* key;
  int buttonY;
  float turnStep;
  float speed;
};
constexpr Mode kHard{"Hard", 52, 5.0f, 18.0f};
constexpr Mode kEasy{"Easy", 196, 2.0f, 8.0f};

constexpr int kClickFrame = 700;  // the logos are over after 6 seconds

// One scripted run: the mode clicked, the key that starts the clock, and the right arrow held
// for the frames [turnFrom, turnTo), which turns the climbing flyer over into a dive.
struct ScriptedRun {
  Mode mode;
  int startFrame;
  int turnFrom;
  int turnTo;

  // The frame in which the flyer comes back down to the landing height, as the game chart
  // moves it.
  int landingFrame() const {
    float height = 1.5f, heading = 0.0f;
    bool launched = false;
    for (int frame = startFrame; frame < startFrame + 10000; ++frame) {
      if (frame >= turnFrom && frame < turnTo) heading -= mode.turnStep;
      height += mode.speed * std::cos(3.1415927f * heading / -180.0f) * 0.01f;
      height = std::min(height, 30.0f);
      if (height > 3.0f) launched = true;
      if (launched && height <= 3.0f) return frame;
    }
    return -1;
  }
  // The run's time in hundredths, and as the six digits the time display stores.
  int hundredths() const { return landingFrame() - startFrame + 1; }
  nlohmann::json digits() const {
    const int time = hundredths();
    const int minutes = time / 6000, seconds = time / 100 % 60, rest = time % 100;
    return {minutes / 10, minutes % 10, seconds / 10, seconds % 10, rest / 10, rest % 10};
  }
  std::string script() const {
    const auto line = [](int frame, const std::string& event) {
      return std::to_string(frame) + " " + event + "\n";
    };
    return line(kClickFrame, "mouse-move 240 " + std::to_string(mode.buttonY)) +
           line(kClickFrame, "mouse-down left") + line(kClickFrame + 1, "mouse-up left") +
           line(startFrame, "key-down Space") + line(startFrame + 1, "key-up Space") +
           line(turnFrom, "key-down Right") + line(turnTo, "key-up Right");
  }
};

struct Race {
  const char* name;
  ScriptedRun first;  // lands at an earlier frame than `second`
  ScriptedRun second;
};

void PrintTo(const Race& race, std::ostream* out) { *out << race.name; }

class TwoGames : public ::testing::TestWithParam<Race> {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/aloft-two-games-XXXXXX";
    directory = mkdtemp(pattern);
  }
  void TearDown() override { fs::remove_all(directory); }

  fs::path directory;
};

// Both games read the empty file at start, so a game that saved what it had read would drop
// the other's time. The landings lie a hundred frames or more apart, so on any ordinary
// machine they come in the order named; the outcome must not depend on it.
TEST_P(TwoGames, BothKeepWhatTheOtherSaved) {
  const Race& race = GetParam();
  ASSERT_LT(race.first.landingFrame() + 100, race.second.landingFrame());
  const fs::path prefs = directory / "preferences.json";
  const std::string frames = std::to_string(race.second.landingFrame() + 10);
  std::vector<std::vector<std::string>> games;
  for (const ScriptedRun& run : {race.first, race.second}) {
    const fs::path script = directory / ("script-" + std::to_string(games.size()));
    std::ofstream(script) << run.script();
    games.push_back({"--headless", "--size", "480x320", "--fixed-step", "0.01", "--prefs", prefs,
                     "--script", script, "--frames", frames});
  }

  const std::vector<ProgramResult> results = runProgramsTogether(gameBinary(), games);

  for (const ProgramResult& result : results) EXPECT_EQ(result.exitStatus, 0) << result.err;
  // Each mode's longer time (six digits, most significant first, compare as lists).
  nlohmann::json expected = nlohmann::json::object();
  for (const ScriptedRun& run : {race.first, race.second}) {
    if (!expected.contains(run.mode.key) || expected[run.mode.key] < run.digits()) {
      expected[run.mode.key] = run.digits();
    }
  }
  std::ifstream in(prefs);
  EXPECT_EQ(nlohmann::json::parse(in, nullptr, false), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Races, TwoGames,
    ::testing::Values(
        Race{"HardThenEasy", {kHard, 760, 800, 836}, {kEasy, 960, 1000, 1090}},
        Race{"LongerHardLandsFirst", {kHard, 760, 860, 896}, {kHard, 1100, 1140, 1176}},
        Race{"ShorterHardLandsFirst", {kHard, 760, 800, 836}, {kHard, 900, 1000, 1036}}),
    [](const ::testing::TestParamInfo<Race>& race) { return race.param.name; });

}  // namespace
