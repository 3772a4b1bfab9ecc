// Two real games on one preference file, each playing a scripted run that lands at its own
// frame: both keep what the other saved, and of one mode's two runs the longer time stays. The
// kept runs are steered by mouse, by keys alone and by two controllers acting as one: a single
// misplaced press would store another time.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/flight.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

// A mode on the 480 x 320 window: its button's middle, the Down presses that focus it, turning
// step in degrees a frame and speed in units a second.
struct Mode {
  const char* key;
  int buttonY, downs;
  float turnStep, speed;
};
constexpr Mode kHard{"Hard", 52, 1, 5.0f, 18.0f};
constexpr Mode kEasy{"Easy", 196, 2, 2.0f, 8.0f};

constexpr int kChooseFrame = 700;  // the logos are over after 6 seconds

enum class Way { Mouse, Keys, Pads };

// One run: the mode, the press that starts the clock, and the right arrow held for the frames
// [turnFrom, turnTo), which turns the climbing flyer over into a dive.
struct ScriptedRun {
  Mode mode;
  int startFrame, turnFrom, turnTo;
  Way way = Way::Mouse;

  // The frame in which the flyer comes back down to the landing height.
  int landingFrame() const {
    return ::landingFrame(mode.turnStep, mode.speed, startFrame, turnFrom, turnTo);
  }
  // The run's time as the six digits stored, in hundredths.
  nlohmann::json digits() const { return storedDigits(landingFrame() - startFrame + 1); }
  std::string script() const {
    std::string text;
    const auto at = [&](int frame, const std::string& event) {
      text += std::to_string(frame) + " " + event + "\n";
    };
    const bool pads = way == Way::Pads;
    const auto tap = [&](int frame, const std::string& key, const std::string& button) {
      at(frame, pads ? "pad-down 1 " + button : "key-down " + key);
      at(frame + 1, pads ? "pad-up 1 " + button : "key-up " + key);
    };
    if (way == Way::Mouse) {
      at(kChooseFrame, "mouse-move 240 " + std::to_string(mode.buttonY));
      at(kChooseFrame, "mouse-down left");
      at(kChooseFrame + 1, "mouse-up left");
    } else {
      // Down focuses and Return clicks (D-pad and A); a key reaching the charts would start.
      if (pads) at(650, "pad-connect 1");
      for (int press = 0; press < mode.downs; ++press) tap(kChooseFrame + 2 * press, "Down", "down");
      tap(kChooseFrame + 2 * mode.downs, "Return", "a");
    }
    tap(startFrame, "Space", "a");
    if (!pads) {
      at(turnFrom, "key-down Right");
      at(turnTo, "key-up Right");
      return text;
    }
    // The second controller's stick: a nudge inside the dead zone turns nothing; pushed while
    // the first's D-pad holds the turn, it holds it alone until its controller goes.
    at(690, "pad-connect 2");
    at(turnFrom - 20, "pad-stick 2 5000");
    at(turnFrom - 10, "pad-stick 2 0");
    at(turnFrom, "pad-down 1 right");
    at(turnFrom + 10, "pad-stick 2 32767");
    at(turnFrom + 18, "pad-up 1 right");
    at(turnTo, "pad-disconnect 2");
    return text;
  }
};

struct Race {
  const char* name;
  ScriptedRun first;  // lands at an earlier frame than `second`
  ScriptedRun second;
};

class TwoGames : public ::testing::TestWithParam<Race> {};

// Both games read the empty file at start: one saving what it had read would drop the other's
// time. The landings lie 100 frames or more apart; the outcome must not depend on their order.
TEST_P(TwoGames, BothKeepWhatTheOtherSaved) {
  const Race& race = GetParam();
  ASSERT_LT(race.first.landingFrame() + 100, race.second.landingFrame());
  ScratchDirectory directory("two-games");
  const fs::path prefs = directory / "preferences.json";
  const std::string frames = std::to_string(race.second.landingFrame() + 10);
  std::vector<std::vector<std::string>> games;
  for (const ScriptedRun& run : {race.first, race.second}) {
    const fs::path script = directory / ("script-" + std::to_string(games.size()));
    writeText(script, run.script());
    games.push_back({"--headless", "--size", "480x320", "--fixed-step", "0.01", "--prefs", prefs,
                     "--script", script, "--frames", frames});
  }

  const std::vector<ProgramResult> results = runProgramsTogether(gameBinary(), games);

  for (const ProgramResult& result : results) EXPECT_EQ(result.exitStatus, 0) << result.err;
  // Each mode's longer time (six digits compare as lists).
  nlohmann::json expected = nlohmann::json::object();
  for (const ScriptedRun& run : {race.first, race.second}) {
    if (!expected.contains(run.mode.key) || expected[run.mode.key] < run.digits()) {
      expected[run.mode.key] = run.digits();
    }
  }
  EXPECT_EQ(nlohmann::json::parse(readText(prefs), nullptr, false), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Races, TwoGames,
    ::testing::Values(
        Race{"HardThenEasy", {kHard, 760, 800, 836, Way::Pads}, {kEasy, 960, 1000, 1090, Way::Keys}},
        Race{"LongerHardLandsFirst", {kHard, 760, 860, 896, Way::Keys}, {kHard, 1100, 1140, 1176}},
        Race{"ShorterHardLandsFirst", {kHard, 760, 800, 836}, {kHard, 900, 1000, 1036}}),
    [](const ::testing::TestParamInfo<Race>& race) { return race.param.name; });

}  // namespace
