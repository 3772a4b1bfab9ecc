// The real game, headless with a fixed frame length: the volume reaches the sound written by
// SDL's disk driver, a run without a display says so instead of playing unseen, and the view's
// own overlays show when they should.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/window.h"
#include "support/picture.h"
#include "support/run_program.h"

namespace {

// The sound as SDL's disk driver writes it: interleaved 32-bit floats.
std::vector<float> soundOf(const std::string& script, const std::vector<std::string>& options,
                           const ScratchDirectory& directory) {
  const auto sound = directory / "sound.raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", sound.c_str(), 1);
  const ProgramResult result = playScript(script, 820, directory / "prefs.json", options);
  unsetenv("SDL_AUDIODRIVER");
  unsetenv("SDL_DISKAUDIOFILE");
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  const std::string bytes = readText(sound);
  std::vector<float> samples(bytes.size() / sizeof(float));
  std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
  return samples;
}

// The music begins with the stats screen, after the logos. Ctrl+M silences it from the start of
// the output's next buffer (1024 samples for each of two channels) on, and is stored.
TEST(Volume, MuteOptionAndCtrlMSilenceTheSoundFromTheNextBuffer) {
  ScratchDirectory directory("volume");
  const auto heard = [](float sample) { return sample != 0; };
  EXPECT_FALSE(std::ranges::any_of(soundOf("", {"--mute"}, directory), heard)) << "--mute";
  const std::vector<float> samples =
      soundOf("720 key-down Ctrl+m\n721 key-up Ctrl+m\n", {}, directory);
  const std::size_t silentFrom =
      std::size_t(samples.rend() - std::ranges::find_if(samples.rbegin(), samples.rend(), heard));
  constexpr std::size_t kBufferSamples = 1024 * 2;
  EXPECT_GT(silentFrom, 0u);
  EXPECT_LT(silentFrom + kBufferSamples, samples.size());
  EXPECT_EQ(silentFrom % kBufferSamples, 0u) << "silence began inside a buffer";
  EXPECT_EQ(nlohmann::json::parse(readText(directory / "prefs.json"), nullptr, false),
            (nlohmann::json{{"Volume", {{"Percent", 100}, {"Muted", true}}}}));
}

TEST(Display, WithoutOneTheGameSaysSoUnlessHeadless) {
  ScratchDirectory directory("no-display");
  for (const bool headless : {false, true}) {
    std::vector<std::string> arguments = {"-u",
                                          "DISPLAY",
                                          "-u",
                                          "WAYLAND_DISPLAY",
                                          "-u",
                                          "SDL_VIDEODRIVER",
                                          gameBinary(),
                                          "--frames",
                                          "5",
                                          "--prefs",
                                          directory / "prefs.json"};
    if (headless) arguments.push_back("--headless");
    const ProgramResult result = runProgram("/usr/bin/env", arguments);
    EXPECT_EQ(result.exitStatus, headless ? 0 : 1) << result.err;
    EXPECT_EQ(result.err.find(platform::kNoDisplayError) != std::string::npos, !headless);
  }
}

// The last frame of a headless run of `arguments`, written as `png`.
Picture shotOf(std::vector<std::string> arguments, const std::filesystem::path& png) {
  arguments.insert(arguments.end(), {"--screenshot", png});
  const ProgramResult result = runProgram(gameBinary(), arguments);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  return readPng(png).value_or(Picture{});
}

// The first start's hint is white words under the panels: white pixels in the lower half of the
// stats screen that a stored time takes away (the hard time is drawn in the upper half).
TEST(Overlays, TheFirstStartHintShowsOnlyWhileNoTimeIsStored) {
  ScratchDirectory directory("hint");
  const auto whiteBelowMiddle = [&](const char* stored) {
    if (stored != nullptr) writeText(directory / "prefs.json", stored);
    const Picture shot = shotOf({"--headless", "--fixed-step", "0.01", "--frames", "700", "--size",
                                 "480x320", "--prefs", directory / "prefs.json"},
                                directory / "stats.png");
    int white = 0;
    for (int y = 0; y < shot.height / 2; ++y) {
      for (int x = 0; x < shot.width; ++x)
        white += shot.at(x, y)[0] > 240 && shot.at(x, y)[2] > 240;
    }
    std::filesystem::remove(directory / "prefs.json");
    return white;
  };
  const int firstStart = whiteBelowMiddle(nullptr);
  EXPECT_EQ(whiteBelowMiddle(R"({"Volume": {"Percent": 50, "Muted": false}})"), firstStart);
  EXPECT_GT(firstStart, whiteBelowMiddle(R"({"Hard": [0, 0, 0, 5, 7, 5]})") + 100);
}

// A watched replay (here headless) carries a mark a small part of the picture wide; the game it
// recorded did not, and neither does a verification, which draws what the game drew. A replay is
// watched at --size when it is given.
TEST(Overlays, AWatchedReplayIsMarkedAndTheGameItRecordedIsNot) {
  ScratchDirectory directory("replay-mark");
  const std::string session = directory / "session.replay";
  const Picture played =
      shotOf({"--headless", "--fixed-step", "0.01", "--frames", "300", "--size", "480x320",
              "--prefs", directory / "prefs.json", "--record", session},
             directory / "played.png");
  const Picture verified = shotOf({"--verify", session}, directory / "verified.png");
  const Picture watched = shotOf({"--headless", "--replay", session}, directory / "watched.png");
  ASSERT_FALSE(played.rgba.empty());
  EXPECT_TRUE(played.rgba == verified.rgba);
  ASSERT_EQ(watched.rgba.size(), played.rgba.size());
  std::size_t changed = 0;
  for (std::size_t i = 0; i < played.rgba.size(); i += 4)
    changed += played.rgba[i] != watched.rgba[i];
  EXPECT_GT(changed, 100u);
  EXPECT_LT(changed, played.rgba.size() / 4 / 20);
  // Watched at another size than it was recorded at, when asked.
  const Picture larger =
      shotOf({"--headless", "--replay", session, "--size", "600x400"}, directory / "larger.png");
  EXPECT_EQ(larger.width, 600);
  EXPECT_EQ(larger.height, 400);
}

}  // namespace
