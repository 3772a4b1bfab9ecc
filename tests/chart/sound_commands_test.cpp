// The sound commands of the chart language, run by charts against the real sound service.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "support/sound_files.h"
#include "chart/chart_test_support.h"
#include "chart/resource_path.h"
#include "engine/kiv_audio.h"

namespace chart::testing {
namespace {

class SoundCommands : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    audio = std::make_unique<KivAudio>();
    audio->audioOutput()->stopClock();  // the sound advances only by `play`
    std::filesystem::create_directory(files.path("kivResources"));
    tone = files.tone("kivResources/tone.m4a", 440, 0.2);
    Data::share().setResourcePath(std::filesystem::path(tone).parent_path().parent_path());
  }
  void TearDown() override {
    // The charts give their sounds back to the service, so they go first.
    ChartTest::TearDown();
    audio.reset();
    unsetenv("SDL_AUDIODRIVER");
  }

  Chart& makeWithAudio(const std::vector<ChartSource>& sources) {
    use(sources);
    engine::Services withAudio = recording.services();
    withAudio.audio = audio.get();
    charts.push_back(registries.back()->create(sources.front().name, withAudio));
    return *charts.back();
  }

  void play(int frames) {
    std::vector<float> out(std::size_t(frames) * KivAudio::kFormat.channels);
    audio->audioOutput()->pull(out.data(), frames);
  }

  SoundFolder files;
  std::string tone;
  std::unique_ptr<KivAudio> audio;
};

ChartSource loader(std::string_view name) {
  return testChart("Menus", {"name", "music", "death"},
                   {{"trunk0_1", gets("name", name), "trunk0_2"},
                    {"trunk0_2", run(Sound_add, {"name"}, "music"), "trunk0_3"},
                    {"trunk0_3", run(Sound_add, {"name"}, "death"), endOfPass}});
}

TEST_F(SoundCommands, SoundAddLoadsFromTheResourcesAndTheChartGivesItsSoundsBack) {
  Chart& chart = makeWithAudio({loader("tone.m4a")});
  frames(chart, 1);
  EXPECT_EQ(cell(chart, "music").type, kNumber);
  EXPECT_EQ(cell(chart, "music").math, 1.0f);
  EXPECT_EQ(cell(chart, "death").math, 2.0f);
  EXPECT_EQ(chart.deallocArray(Resource::Sound), (std::vector<float>{1, 2}));
  ASSERT_NE(audio->sound(1), nullptr);
  ASSERT_NE(audio->sound(2), nullptr);

  Chart::release(&chart);
  charts.clear();
  EXPECT_EQ(audio->sound(1), nullptr);
  EXPECT_EQ(audio->sound(2), nullptr);
}

TEST_F(SoundCommands, AMissingFileIsReportedByTheServiceAndANameGivingNoPathByTheChart) {
  Chart& missing = makeWithAudio({loader("silence.m4a")});
  EXPECT_EQ(alertOf([&] { frames(missing, 1); }),
            "The \" Menus \" chart has an invalid sound file with directory " +
                files.path("kivResources/silence.m4a") + " .");
  Chart& unnamed = makeWithAudio({loader("")});
  EXPECT_EQ(alertOf([&] { frames(unnamed, 1); }),
            "The Menus chart has an invalid sound file with directory  .");
}

TEST_F(SoundCommands, LoopPlayAndTimeSendReachTheSoundTheIndexNames) {
  const std::int32_t index = audio->addSound(tone);
  ASSERT_EQ(index, 1);
  // 1.9 names sound 1: indexes are truncated toward zero.
  Chart& player =
      makeWithAudio({testChart("Menus", {"index", "time"},
                               {{"trunk0_1", set("index", 1.9f), "trunk0_2"},
                                {"trunk0_2", set("time", 0.15f), "trunk0_3"},
                                {"trunk0_3", run(Sound_time_send, {"index", "time"}), "trunk0_4"},
                                {"trunk0_4", run(Sound_loop, {"index", "YES"}), "trunk0_5"},
                                {"trunk0_5", run(Sound_play, {"index"}), endOfPass}})});
  Sound& sound = *audio->sound(index);
  frames(player, 1);
  EXPECT_TRUE(sound.isPlaying());
  EXPECT_NEAR(sound.currentTime(), 0.15, 1e-4);
  // Looping, it plays on past its end (0.05 s away) without being told again.
  play(44100 / 10);
  EXPECT_TRUE(sound.isPlaying());
  EXPECT_NEAR(sound.currentTime(), 0.05, 0.001);

  Chart& stopper =
      makeWithAudio({testChart("Menus", {"index"},
                               {{"trunk0_1", set("index", 1), "trunk0_2"},
                                {"trunk0_2", run(Sound_loop, {"index", "NO"}), endOfPass}})});
  frames(stopper, 1);
  play(44100 / 5);
  EXPECT_FALSE(sound.isPlaying());
}

TEST(ResourceFilePath, NamesAreResourcesUnlessAbsoluteOrInAHomeFolder) {
  Data::share().setResourcePath("/games/aloft");
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
