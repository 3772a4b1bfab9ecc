// The real game, headless with a fixed frame length, playing whole runs from a script: the logos,
// a click on the HARD button, a key, the right arrow held until the flyer turns over, the landing,
// and the stats screen after it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <nlohmann/json.hpp>
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
  void SetUp() override {
    char pattern[] = "/tmp/aloft-whole-run-XXXXXX";
    directory = mkdtemp(pattern);
  }
  void TearDown() override { fs::remove_all(directory); }

  // Plays `frames` frames with `script`; returns the exit status.
  int play(const std::string& script, int frames, const fs::path& prefs,
           const fs::path& screenshot) {
    const fs::path scriptFile = directory / "script.txt";
    std::ofstream(scriptFile) << script;
    const ProgramResult result = runProgram(
        gameBinary(), {"--headless", "--fixed-step", "0.01", "--prefs", prefs, "--script",
                       scriptFile, "--frames", std::to_string(frames), "--screenshot", screenshot});
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
    std::ifstream in(prefs);
    return nlohmann::json::parse(in, nullptr, false);
  }

  fs::path directory;
};

TEST_F(WholeRun, ALongerRunIsStoredAndShownAndAShorterOneIsNot) {
  const fs::path prefs = directory / "prefs.json";
  // Climb for 40 frames, turn right for 36 (5 degrees a frame: nose down), dive to the ground.
  const int landing = landingFrame(kStartFrame + 40, kStartFrame + 76);
  ASSERT_GT(landing, kStartFrame + 76);
  ASSERT_LT(landing, kShotFrame);
  const nlohmann::json best = digitsOfRun(landing - kStartFrame + 1);

  const fs::path afterRun = directory / "after-run.png";
  ASSERT_EQ(
      play(hardRunScript(kStartFrame + 40, kStartFrame + 76, true), kShotFrame, prefs, afterRun),
      0);
  EXPECT_EQ(stored(prefs), (nlohmann::json{{"Hard", best}}));

  // The same screen drawn from a stored time, and from another one.
  const fs::path knownPrefs = directory / "known.json";
  const fs::path known = directory / "known.png";
  std::ofstream(knownPrefs) << nlohmann::json{{"Hard", best}}.dump();
  ASSERT_EQ(play("", kShotFrame, knownPrefs, known), 0);
  const fs::path otherPrefs = directory / "other.json";
  const fs::path other = directory / "other.png";
  std::ofstream(otherPrefs) << nlohmann::json{{"Hard", digitsOfRun(4321)}}.dump();
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
  EXPECT_EQ(stored(prefs), (nlohmann::json{{"Hard", best}}));
}

// A stored hard time the charts cannot read (a text) would stop the stats screen with a
// diagnostic on every start. It is set aside instead: the run is played and saved, the easy time
// stays, and the file as it was is kept beside the new one.
TEST_F(WholeRun, AnUnusableStoredTimeIsSetAsideAndTheNextRunSaved) {
  const fs::path prefs = directory / "prefs.json";
  const std::string before = R"({"Easy": [0, 0, 4, 2, 1, 7], "Hard": "fast"})";
  std::ofstream(prefs) << before;
  const int landing = landingFrame(kStartFrame + 40, kStartFrame + 76);
  ASSERT_EQ(play(hardRunScript(kStartFrame + 40, kStartFrame + 76, true), kShotFrame, prefs,
                 directory / "shot.png"),
            0);
  EXPECT_EQ(stored(prefs), (nlohmann::json{{"Easy", {0, 0, 4, 2, 1, 7}},
                                           {"Hard", digitsOfRun(landing - kStartFrame + 1)}}));
  int asides = 0;
  for (const auto& entry : fs::directory_iterator(directory)) {
    if (!entry.path().filename().string().starts_with("prefs.json.corrupt-")) continue;
    ++asides;
    std::ifstream in(entry.path());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before);
  }
  EXPECT_EQ(asides, 1);
}

}  // namespace
