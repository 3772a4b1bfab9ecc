// The sound commands of the chart language, run by charts against the real sound service.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "chart/resource_path.h"
#include "engine/kiv_audio.h"
#include "support/chart_test_support.h"
#include "support/sound_files.h"
#include "support/stopped_audio.h"

namespace chart::testing {
namespace {

class SoundCommands : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    audio = stoppedAudio();  // the sound advances only by `play`
    services.audio = audio.get();
    std::filesystem::create_directory(files.path("kivResources"));
    tone = files.tone("kivResources/tone.m4a", 440, 0.2);
    chart::Data::share().setResourcePath(std::filesystem::path(tone).parent_path().parent_path());
  }
  void TearDown() override {
    // The charts give their sounds back to the service, so they go first.
    ChartTest::TearDown();
    audio.reset();
  }

  // A chart that adds the sound file `name` twice, run for a frame.
  Chart& adding(std::string_view name) {
    return ran(
        "Menus", {"name", "music", "death"},
        {appendText("name", name), run(Sound_add, {"name"}, "music"),
         run(Sound_add, {"name"}, "death")});
  }
  void play(int frames) {
    std::vector<float> out(std::size_t(frames) * engine::KivAudio::kFormat.channels);
    audio->audioOutput()->pull(out.data(), frames);
  }

  SoundFolder files;
  std::string tone;
  std::unique_ptr<engine::KivAudio> audio;
};

// A missing file is reported by the service, a name giving no path by the chart.
TEST_F(SoundCommands, SoundAddLoadsFromTheResourcesAndTheChartGivesItsSoundsBack) {
  Chart& chart = adding("tone.m4a");
  EXPECT_EQ(shown(cell(chart, "music")), "1");
  EXPECT_EQ(shown(cell(chart, "death")), "2");
  ASSERT_NE(audio->sound(2), nullptr);
  Chart::release(&chart);
  charts.clear();
  EXPECT_EQ(audio->sound(1), nullptr);
  EXPECT_EQ(audio->sound(2), nullptr);
  EXPECT_EQ(alertOf([&] { adding("silence.m4a"); }),
            "The \" Menus \" chart has an invalid sound file with directory " +
                files.path("kivResources/silence.m4a") + " .");
  EXPECT_EQ(alertOf([&] { adding(""); }),
            "The Menus chart has an invalid sound file with directory  .");
}

TEST_F(SoundCommands, LoopPlayAndTimeSendReachTheSoundTheIndexNames) {
  ASSERT_EQ(audio->addSound(tone), 1);
  Sound& sound = *audio->sound(1);
  // 1.9 names sound 1: indexes are truncated toward zero.
  ran("Menus", {"index", "time"},
      {set("index", 1.9f), set("time", 0.15f), run(Sound_time_send, {"index", "time"}),
       run(Sound_loop, {"index", "YES"}), run(Sound_play, {"index"})});
  EXPECT_TRUE(sound.isPlaying());
  EXPECT_NEAR(sound.currentTime(), 0.15, 1e-4);
  // Looping, it plays on past its end (0.05 s away) without being told again.
  play(44100 / 10);
  EXPECT_TRUE(sound.isPlaying());
  EXPECT_NEAR(sound.currentTime(), 0.05, 0.001);
  ran("Menus", {"index"}, {set("index", 1), run(Sound_loop, {"index", "NO"})});
  play(44100 / 5);
  EXPECT_FALSE(sound.isPlaying());
}

TEST(ResourceFilePath, NamesAreResourcesUnlessAbsoluteOrInAHomeFolder) {
  chart::Data::share().setResourcePath("/games/aloft");
  EXPECT_EQ(resourceFilePath("Death2.m4a"), "/games/aloft/kivResources/Death2.m4a");
  EXPECT_EQ(resourceFilePath("/tmp/Death2.m4a"), "/tmp/Death2.m4a");
  setenv("HOME", "/home/player", 1);
  EXPECT_EQ(resourceFilePath("~/Death2.m4a"), "/home/player/Death2.m4a");
  EXPECT_EQ(resourceFilePath("~"), "/home/player");
  EXPECT_EQ(resourceFilePath("~root/x.m4a"), "/root/x.m4a");
  EXPECT_EQ(resourceFilePath("~no-such-user-here/x.m4a"), std::nullopt);
  EXPECT_EQ(resourceFilePath(""), std::nullopt);
}

}  // namespace
}  // namespace chart::testing
