// The real game, headless with a fixed frame length: the volume reaches the sound written by
// SDL's disk driver, and a run without a display says so instead of playing unseen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/window.h"
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
  const std::vector<float> samples = soundOf("720 key-down Ctrl+m\n721 key-up Ctrl+m\n", {}, directory);
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
    std::vector<std::string> arguments = {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u",
                                          "SDL_VIDEODRIVER", gameBinary(), "--frames", "5",
                                          "--prefs", directory / "prefs.json"};
    if (headless) arguments.push_back("--headless");
    const ProgramResult result = runProgram("/usr/bin/env", arguments);
    EXPECT_EQ(result.exitStatus, headless ? 0 : 1) << result.err;
    EXPECT_EQ(result.err.find(platform::kNoDisplayError) != std::string::npos, !headless);
  }
}

}  // namespace
