// The real game, headless with a fixed frame length, played with each kind of input: the same
// hard run chosen and steered by mouse and keys, by keys alone and by game controllers stores
// the same time; the volume reaches the sound written by SDL's disk driver; and a run without a
// display says so instead of playing unseen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/window.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

class InputDevices : public ::testing::Test {
 protected:
  ProgramResult play(const std::string& script, int frames, std::vector<std::string> extra = {}) {
    return playScript(script, frames, prefs, extra);
  }
  nlohmann::json stored() const { return nlohmann::json::parse(readText(prefs), nullptr, false); }

  ScratchDirectory directory{"input-devices"};
  const fs::path prefs = directory / "prefs.json";
};

// After the logos (frame 700) the mode is chosen, the run starts at frame 760, and the flyer
// climbs, turns right for 36 frames from 800 (90 in easy mode, which turns slower) and lands.
constexpr const char* kMouseAndKeys =
    "700 mouse-move 480 104\n700 mouse-down left\n701 mouse-up left\n"
    "760 key-down Space\n761 key-up Space\n800 key-down Right\n836 key-up Right\n";

TEST_F(InputDevices, EveryWayOfChoosingAndSteeringStoresTheSameRun) {
  struct Way {
    const char* name;
    const char* script;
  };
  const Way ways[] = {
      {"keys alone: Down focuses HARD, Return clicks it",
       "700 key-down Down\n701 key-up Down\n702 key-down Return\n703 key-up Return\n"
       "760 key-down Space\n761 key-up Space\n800 key-down Right\n836 key-up Right\n"},
      {"a controller: D-pad down and A choose, A starts, D-pad right steers",
       "650 pad-connect 1\n700 pad-down 1 down\n701 pad-up 1 down\n702 pad-down 1 a\n"
       "703 pad-up 1 a\n760 pad-down 1 a\n761 pad-up 1 a\n800 pad-down 1 right\n"
       "836 pad-up 1 right\n"},
      {"two controllers as one: the second's stick steers (a nudge inside the dead zone does "
       "not) and letting it go by disconnecting ends the turn",
       "650 pad-connect 1\n690 pad-connect 2\n700 pad-down 1 down\n701 pad-up 1 down\n"
       "702 pad-down 1 a\n703 pad-up 1 a\n760 pad-down 1 a\n761 pad-up 1 a\n"
       "780 pad-stick 2 5000\n790 pad-stick 2 0\n800 pad-stick 2 32767\n836 pad-disconnect 2\n"},
  };

  ASSERT_EQ(play(kMouseAndKeys, 1000).exitStatus, 0);
  const nlohmann::json byMouse = stored();
  ASSERT_TRUE(byMouse.contains("Hard")) << byMouse;
  for (const Way& way : ways) {
    fs::remove(prefs);
    const ProgramResult result = play(way.script, 1000);
    ASSERT_EQ(result.exitStatus, 0) << way.name << "\n" << result.err;
    EXPECT_EQ(stored(), byMouse) << way.name;
  }

  // Two Downs pass HARD for EASY; the Downs and Return never reach the charts as keys (any key
  // would start the run at once).
  fs::remove(prefs);
  ASSERT_EQ(play("700 key-down Down\n701 key-up Down\n702 key-down Down\n703 key-up Down\n"
                 "704 key-down Return\n705 key-up Return\n740 key-down Space\n741 key-up Space\n"
                 "780 key-down Right\n870 key-up Right\n",
                 1500)
                .exitStatus,
            0);
  const nlohmann::json easy = stored();
  ASSERT_TRUE(easy.contains("Easy")) << easy;
  EXPECT_FALSE(easy.contains("Hard"));
  EXPECT_FALSE(easy.contains("Volume"));
}

// The sound as written by SDL's disk driver: interleaved 32-bit floats.
std::vector<float> samplesOf(const fs::path& file) {
  const std::string bytes = readText(file);
  std::vector<float> samples(bytes.size() / sizeof(float));
  std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
  return samples;
}

TEST_F(InputDevices, TheVolumeReachesTheSoundFromTheNextBuffer) {
  const fs::path sound = directory / "sound.raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", sound.c_str(), 1);
  // The music starts with the stats screen, after the logos.
  struct Case {
    const char* name;
    const char* script;
    std::vector<std::string> options;
  };
  const Case cases[] = {{"as stored", "", {}},
                        {"--mute", "", {"--mute"}},
                        {"Ctrl+M mid-run", "720 key-down Ctrl+m\n721 key-up Ctrl+m\n", {}}};
  std::vector<std::vector<float>> written;
  for (const Case& c : cases) {
    const ProgramResult result = play(c.script, 820, c.options);
    ASSERT_EQ(result.exitStatus, 0) << c.name << "\n" << result.err;
    written.push_back(samplesOf(sound));
  }
  unsetenv("SDL_AUDIODRIVER");
  unsetenv("SDL_DISKAUDIOFILE");

  constexpr std::size_t kBufferSamples = 1024 * 2;  // the output's buffer, two channels
  auto lastSound = [](const std::vector<float>& samples) {
    std::size_t last = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
      if (samples[i] != 0) last = i + 1;
    }
    return last;
  };
  EXPECT_GT(lastSound(written[0]), 0u) << "no music without --mute";
  EXPECT_EQ(lastSound(written[1]), 0u) << "--mute left sound in";
  // Music, then silence from a buffer's start to the end; the key was stored.
  const std::size_t silentFrom = lastSound(written[2]);
  EXPECT_GT(silentFrom, 0u);
  EXPECT_LT(silentFrom + kBufferSamples, written[2].size());
  EXPECT_EQ(silentFrom % kBufferSamples, 0u) << "silence began inside a buffer";
  EXPECT_EQ(stored(), (nlohmann::json{{"Volume", {{"Percent", 100}, {"Muted", true}}}}));
}

TEST_F(InputDevices, WithoutADisplayTheGameSaysSoUnlessHeadless) {
  struct Saved {
    const char* name;
    std::optional<std::string> value;
  };
  std::vector<Saved> saved;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
    const char* value = std::getenv(name);
    saved.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
    unsetenv(name);
  }
  const ProgramResult windowed = runProgram(gameBinary(), {"--frames", "5", "--prefs", prefs});
  const ProgramResult headless =
      runProgram(gameBinary(), {"--headless", "--frames", "5", "--prefs", prefs});
  for (const Saved& variable : saved) {
    if (variable.value) setenv(variable.name, variable.value->c_str(), 1);
  }

  EXPECT_EQ(windowed.exitStatus, 1);
  EXPECT_NE(windowed.err.find(platform::kNoDisplayError), std::string::npos) << windowed.err;
  EXPECT_EQ(headless.exitStatus, 0) << headless.err;
}

}  // namespace
