// The real game, headless with a fixed frame length: the volume reaches the sound written by
// SDL's disk driver, and a run without a display says so instead of playing unseen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <optional>
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
  const std::string prefs = directory / "prefs.json";
  std::vector<std::pair<const char*, std::optional<std::string>>> saved;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
    const char* value = std::getenv(name);
    saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    unsetenv(name);
  }
  const ProgramResult windowed = runProgram(gameBinary(), {"--frames", "5", "--prefs", prefs});
  const ProgramResult headless =
      runProgram(gameBinary(), {"--headless", "--frames", "5", "--prefs", prefs});
  for (const auto& [name, value] : saved) {
    if (value) setenv(name, value->c_str(), 1);
  }
  EXPECT_EQ(windowed.exitStatus, 1);
  EXPECT_NE(windowed.err.find(platform::kNoDisplayError), std::string::npos) << windowed.err;
  EXPECT_EQ(headless.exitStatus, 0) << headless.err;
}

}  // namespace
