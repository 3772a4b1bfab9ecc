// The real game, headless with a fixed frame length, playing whole hard runs from a script to the
// stats screen after them; the splash and stats pictures, in 3 : 2 windows and others.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/flight.h"
#include "support/picture.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// The logos are over after 6 seconds: the HARD button (middle at 480, 104 of the default
// 960 x 640 window) is clicked at 700, the run starts at 760, the stats screen is shot at 1000.
constexpr int kStartFrame = 760;
constexpr int kShotFrame = 1000;

// The hard-mode flyer (5 degrees a turning frame, 18 units a second) from the start frame on.
int hardLanding(int turnFrom, int turnTo) {
  return landingFrame(5.0f, 18.0f, kStartFrame, turnFrom, turnTo);
}

// The last of `frames` frames played from `script` with the preference file `prefs`, in a
// window of `size` (the default when empty).
Picture shotAfter(int frames, const fs::path& prefs, const std::string& script = "",
                  const std::string& size = "") {
  const fs::path png = prefs.string() + ".png";
  std::vector<std::string> extra{"--screenshot", png};
  if (!size.empty()) extra.insert(extra.end(), {"--size", size});
  const ProgramResult result = playScript(script, frames, prefs, extra);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  return readPng(png).value_or(Picture{});
}

// The stats screen at `kShotFrame` after a hard run turning right over [turnFrom, turnTo).
Picture playHardRun(const fs::path& prefs, int turnFrom, int turnTo) {
  std::string script = "700 mouse-move 480 104\n700 mouse-down left\n701 mouse-up left\n"
                       "760 key-down Space\n761 key-up Space\n";
  script +=
      std::to_string(turnFrom) + " key-down Right\n" + std::to_string(turnTo) + " key-up Right\n";
  return shotAfter(kShotFrame, prefs, script);
}

// The rows of the hard time line (2 units high at height 2.5, depth -20) on a stats screen of the
// default 960 x 640; none in a picture of another size.
std::vector<std::uint8_t> hardTimeLine(const Picture& shot) {
  const auto row = [&](int fromTop) { return shot.rgba.begin() + (640 - fromTop) * 960 * 4; };
  if (shot.width != 960 || shot.height != 640) return {};
  return {row(282), row(214)};
}

// A hard run over a stored easy time: its time is stored beside the easy one and drawn on the
// stats screen after it. (The set-aside of unusable stored times and the races of longer and
// shorter runs are in damaged_preferences_test.cpp and two_games_test.cpp.)
TEST(WholeRun, ARunIsStoredAndShownOnTheStatsScreen) {
  const ScratchDirectory directory{"whole-run"};
  const fs::path prefs = directory / "prefs.json";
  writeText(prefs, R"({"Easy": [0, 0, 4, 2, 1, 7]})");
  // Climb for 40 frames, turn right for 36 (5 degrees a frame: nose down), dive to the ground.
  const int landing = hardLanding(kStartFrame + 40, kStartFrame + 76);
  ASSERT_GT(landing, kStartFrame + 76);
  ASSERT_LT(landing, kShotFrame);
  const json bothTimes = {{"Easy", {0, 0, 4, 2, 1, 7}},
                          {"Hard", storedDigits(landing - kStartFrame + 1)}};

  const Picture shot = playHardRun(prefs, kStartFrame + 40, kStartFrame + 76);
  EXPECT_EQ(json::parse(readText(prefs), nullptr, false), bothTimes);

  // The hard time line as drawn from the stored time, and not as from another one.
  writeText(directory / "known.json", bothTimes.dump());
  writeText(directory / "other.json", json{{"Hard", storedDigits(4321)}}.dump());
  const std::vector<std::uint8_t> timeLine = hardTimeLine(shot);
  ASSERT_FALSE(timeLine.empty());
  EXPECT_TRUE(timeLine == hardTimeLine(shotAfter(kShotFrame, directory / "known.json")));
  EXPECT_FALSE(timeLine == hardTimeLine(shotAfter(kShotFrame, directory / "other.json")));
}

// Lit pixels in the band of rows between two heights above the middle, as fractions of half the
// height.
int litBetween(const Picture& picture, double low, double high) {
  const auto rowAt = [&](double fromMiddle) {
    return int(picture.height / 2.0 * (1 + fromMiddle));
  };
  return picture.litIn(0, rowAt(low), picture.width, rowAt(high));
}

// The first picture, eight units wide at depth 5, reaches 36 % of the way from the middle to
// the top; the second, four wide at depth 3, 60 %.
TEST(Program, TheSplashShowsTheFirstPictureThenTheSecond) {
  const ScratchDirectory directory{"splash"};
  const Picture first = shotAfter(100, directory / "prefs.json");
  ASSERT_GT(first.width, 0);
  EXPECT_GT(litBetween(first, -0.3, 0.3), 1000);
  EXPECT_EQ(litBetween(first, 0.4, 1.0), 0);
  EXPECT_EQ(litBetween(first, -1.0, -0.4), 0);
  // The picture's transparent parts are drawn without blending: the screenshot shows them as
  // the screen does, opaque, not as holes.
  for (std::size_t alpha = 3; alpha < first.rgba.size(); alpha += 4) {
    ASSERT_EQ(first.rgba[alpha], 255) << "pixel " << alpha / 4;
  }

  const Picture second = shotAfter(450, directory / "prefs.json");
  EXPECT_GT(litBetween(second, 0.4, 0.6), 1000);
  EXPECT_EQ(litBetween(second, 0.65, 1.0), 0);
}

// 800 x 600 keeps an 800 x 533 picture with bars of 33 pixels above and below; 1000 x 500 a
// 750 x 500 one with bars of 125 on each side. In it, from the camera's starting place, the
// floor fills the picture up to just above the middle and the sky wall the rest.
TEST(Program, TheStatsScreenShowsGrassBelowAndSkyAboveWithBarsInOtherShapes) {
  const ScratchDirectory directory{"bars"};
  const Picture tall = shotAfter(700, directory / "prefs.json", "", "800x600");
  ASSERT_EQ(tall.width, 800);
  ASSERT_EQ(tall.height, 600);
  EXPECT_EQ(tall.litIn(0, 0, 800, 33) + tall.litIn(0, 566, 800, 600), 0);
  EXPECT_EQ(tall.litIn(0, 33, 800, 34) + tall.litIn(0, 565, 800, 566), 1600);

  const Picture wide = shotAfter(700, directory / "prefs.json", "", "1000x500");
  ASSERT_EQ(wide.width, 1000);
  EXPECT_EQ(wide.litIn(0, 0, 125, 500) + wide.litIn(875, 0, 1000, 500), 0);
  EXPECT_EQ(wide.litIn(125, 0, 126, 500) + wide.litIn(874, 0, 875, 500), 1000);
  const Picture::Colour grass = wide.meanIn(125, 0, 875, 125);
  EXPECT_GT(grass.green, std::max(grass.red, grass.blue) + 20);
  const Picture::Colour sky = wide.meanIn(125, 375, 875, 500);
  EXPECT_GT(sky.blue, std::max(sky.red + 20, 150.0));
}

}  // namespace
