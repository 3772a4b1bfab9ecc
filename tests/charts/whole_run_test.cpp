// The real game, headless with a fixed frame length, playing whole runs from a script: the logos,
// a click on the HARD button, a key, the right arrow held until the flyer turns over, the landing,
// and the stats screen after it. Also the splash and stats pictures, in 3 : 2 windows and others.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "support/picture.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

// The HARD button's middle on the default 960 x 640 window, and the frames of the script.
constexpr int kHardX = 480;
constexpr int kHardY = 104;
constexpr int kClickFrame = 700;  // the logos are over after 6 seconds
constexpr int kStartFrame = 760;
constexpr int kShotFrame = 1000;  // the stats screen again, after the run

// Rows [top, bottom) of a picture, counted from the top, every pixel.
std::vector<std::uint8_t> rows(const std::optional<Picture>& picture, int top, int bottom) {
  if (!picture) return {};
  const auto row = [&](int fromTop) {
    return picture->rgba.begin() + std::ptrdiff_t(picture->height - fromTop) * picture->width * 4;
  };
  return {row(bottom), row(top)};
}

// The hard-mode flyer from the start frame on, the right arrow held for the frames
// [turnFrom, turnTo): the frame in which it comes back down to the landing height.
int landingFrame(int turnFrom, int turnTo) {
  float x = 0.0f, height = 1.5f, heading = 0.0f;
  bool launched = false;
  const float frameLength = 0.01f;
  for (int frame = kStartFrame; frame < kStartFrame + 10000; ++frame) {
    if (frame >= turnFrom && frame < turnTo) heading = heading - 5.0f;
    const float radians = 3.1415927f * heading / -180.0f;
    x = 18.0f * std::sin(radians) * frameLength + x;
    height = 18.0f * std::cos(radians) * frameLength + height;
    if (height >= 30.0f) height = 30.0f;
    if (height > 3.0f) launched = true;
    if (launched && height <= 3.0f) return frame;
  }
  return -1;
}

// The time of a run as the six digits the time display stores.
nlohmann::json digitsOfRun(int hundredths) {
  const int minutes = hundredths / 6000, seconds = hundredths / 100 % 60, rest = hundredths % 100;
  return {minutes / 10, minutes % 10, seconds / 10, seconds % 10, rest / 10, rest % 10};
}

class WholeRun : public ::testing::Test {
 protected:
  // Plays `frames` frames with `script`; returns the exit status.
  static int play(const std::string& script, int frames, const fs::path& prefs,
                  const fs::path& screenshot) {
    const ProgramResult result = playScript(script, frames, prefs, {"--screenshot", screenshot});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return result.exitStatus;
  }
  static std::string hardRunScript(int turnFrom, int turnTo, bool spaceFirst) {
    std::string script = std::to_string(kClickFrame) + " mouse-move " + std::to_string(kHardX) +
                         " " + std::to_string(kHardY) + "\n" + std::to_string(kClickFrame) +
                         " mouse-down left\n" + std::to_string(kClickFrame + 1) +
                         " mouse-up left\n";
    if (spaceFirst) {
      script += std::to_string(kStartFrame) + " key-down Space\n" +
                std::to_string(kStartFrame + 1) + " key-up Space\n";
    }
    script +=
        std::to_string(turnFrom) + " key-down Right\n" + std::to_string(turnTo) + " key-up Right\n";
    return script;
  }
  static nlohmann::json stored(const fs::path& prefs) {
    return nlohmann::json::parse(readText(prefs), nullptr, false);
  }

  ScratchDirectory directory{"whole-run"};
};

// The run starts from a stored hard time the charts cannot read (a text), which would stop the
// stats screen with a diagnostic on every start. It is set aside instead: the run is played and
// saved, the easy time stays, and the file as it was is kept beside the new one.
TEST_F(WholeRun, ALongerRunIsStoredOverAnUnusableTimeAndShownAndAShorterOneIsNot) {
  const fs::path prefs = directory / "prefs.json";
  const std::string before = R"({"Easy": [0, 0, 4, 2, 1, 7], "Hard": "fast"})";
  writeText(prefs, before);
  // Climb for 40 frames, turn right for 36 (5 degrees a frame: nose down), dive to the ground.
  const int landing = landingFrame(kStartFrame + 40, kStartFrame + 76);
  ASSERT_GT(landing, kStartFrame + 76);
  ASSERT_LT(landing, kShotFrame);
  const nlohmann::json best = digitsOfRun(landing - kStartFrame + 1);
  const nlohmann::json bothTimes = {{"Easy", {0, 0, 4, 2, 1, 7}}, {"Hard", best}};

  const fs::path afterRun = directory / "after-run.png";
  ASSERT_EQ(
      play(hardRunScript(kStartFrame + 40, kStartFrame + 76, true), kShotFrame, prefs, afterRun),
      0);
  EXPECT_EQ(stored(prefs), bothTimes);
  int asides = 0;
  for (const auto& entry : fs::directory_iterator(directory.path())) {
    if (!entry.path().filename().string().starts_with("prefs.json.corrupt-")) continue;
    ++asides;
    EXPECT_EQ(readText(entry.path()), before);
  }
  EXPECT_EQ(asides, 1);

  // The same screen drawn from a stored time, and from another one.
  const fs::path knownPrefs = directory / "known.json";
  const fs::path known = directory / "known.png";
  writeText(knownPrefs, bothTimes.dump());
  ASSERT_EQ(play("", kShotFrame, knownPrefs, known), 0);
  const fs::path otherPrefs = directory / "other.json";
  const fs::path other = directory / "other.png";
  writeText(otherPrefs, nlohmann::json{{"Hard", digitsOfRun(4321)}}.dump());
  ASSERT_EQ(play("", kShotFrame, otherPrefs, other), 0);

  // The hard time line: 2 units high at height 2.5, depth -20.
  const auto shot = readPng(afterRun), expected = readPng(known), different = readPng(other);
  ASSERT_TRUE(shot);
  ASSERT_EQ(shot->width, 960);
  ASSERT_EQ(shot->height, 640);
  EXPECT_TRUE(rows(shot, 214, 282) == rows(expected, 214, 282));
  EXPECT_FALSE(rows(shot, 214, 282) == rows(different, 214, 282));

  // The right arrow as the first key: one small loop, a much shorter run.
  const int shortLanding = landingFrame(kStartFrame, kStartFrame + 60);
  ASSERT_LT(shortLanding, landing);
  ASSERT_EQ(play(hardRunScript(kStartFrame, kStartFrame + 60, false), kShotFrame, prefs,
                 directory / "second.png"),
            0);
  EXPECT_EQ(stored(prefs), bothTimes);
}

// A screenshot of the last of `frames` frames, without input, in a window of `size` if given.
Picture screenshotAfter(int frames, const std::string& size = "") {
  const std::string png =
      ::testing::TempDir() + "aloft-" + std::to_string(frames) + "-" + size + ".png";
  std::filesystem::remove(png);
  std::vector<std::string> arguments = {"--headless",           "--fixed-step", "0.01", "--frames",
                                        std::to_string(frames), "--screenshot", png};
  if (!size.empty()) arguments.insert(arguments.end(), {"--size", size});
  const ProgramResult result = runProgram(gameBinary(), arguments);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  auto picture = readPng(png);
  EXPECT_TRUE(picture) << png;
  return picture ? *picture : Picture{};
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
  const Picture first = screenshotAfter(100);
  ASSERT_GT(first.width, 0);
  EXPECT_GT(litBetween(first, -0.3, 0.3), 1000);
  EXPECT_EQ(litBetween(first, 0.4, 1.0), 0);
  EXPECT_EQ(litBetween(first, -1.0, -0.4), 0);
  // The picture's transparent parts are drawn without blending: the screenshot shows them as
  // the screen does, opaque, not as holes.
  for (std::size_t alpha = 3; alpha < first.rgba.size(); alpha += 4) {
    ASSERT_EQ(first.rgba[alpha], 255) << "pixel " << alpha / 4;
  }

  const Picture second = screenshotAfter(450);
  ASSERT_GT(second.width, 0);
  EXPECT_GT(litBetween(second, 0.4, 0.6), 1000);
  EXPECT_EQ(litBetween(second, 0.65, 1.0), 0);
}

// 800 x 600 keeps an 800 x 533 picture with bars of 33 pixels above and below; 1000 x 500 a
// 750 x 500 one with bars of 125 on each side. In it, from the camera's starting place, the
// floor fills the picture up to just above the middle and the sky wall the rest.
TEST(Program, TheStatsScreenShowsGrassBelowAndSkyAboveWithBarsInOtherShapes) {
  const Picture tall = screenshotAfter(700, "800x600");
  ASSERT_EQ(tall.width, 800);
  ASSERT_EQ(tall.height, 600);
  EXPECT_EQ(tall.litIn(0, 0, 800, 33), 0);
  EXPECT_EQ(tall.litIn(0, 566, 800, 600), 0);
  EXPECT_EQ(tall.litIn(0, 33, 800, 34), 800);
  EXPECT_EQ(tall.litIn(0, 565, 800, 566), 800);

  const Picture wide = screenshotAfter(700, "1000x500");
  ASSERT_EQ(wide.width, 1000);
  EXPECT_EQ(wide.litIn(0, 0, 125, 500), 0);
  EXPECT_EQ(wide.litIn(875, 0, 1000, 500), 0);
  EXPECT_EQ(wide.litIn(125, 0, 126, 500), 500);
  EXPECT_EQ(wide.litIn(874, 0, 875, 500), 500);
  const Picture::Colour grass = wide.meanIn(125, 0, 875, 125);
  EXPECT_GT(grass.green, grass.red + 20);
  EXPECT_GT(grass.green, grass.blue + 20);
  const Picture::Colour sky = wide.meanIn(125, 375, 875, 500);
  EXPECT_GT(sky.blue, sky.red + 20);
  EXPECT_GT(sky.blue, 150);
}

}  // namespace
