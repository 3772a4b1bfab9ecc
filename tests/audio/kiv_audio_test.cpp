// The sound service with real decoding and the real mixer, playing into SDL's disk driver, which
// takes the sound at real-time speed and writes it to a file the tests read back.
#include "engine/kiv_audio.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/signal.h"
#include "audio/sound_files.h"
#include "audio/wait.h"
#include "engine/kiv_alert.h"
#include "platform/message_box.h"

namespace {

constexpr int kRate = KivAudio::kFormat.sampleRate;
constexpr int kChannels = KivAudio::kFormat.channels;
constexpr int kBuffer = KivAudio::kFormat.bufferFrames;

std::string messageOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const FatalAlert& alert) {
    return alert.what();
  }
  return "(no alert)";
}

class KivAudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    KivAlert::share().throwInsteadOfExiting(true);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", playedPath.c_str(), 1);
    audio = std::make_unique<KivAudio>();
    audio->setActiveChart("Menus");
  }

  void TearDown() override {
    audio.reset();
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }

  std::int64_t playedFrames() const {
    std::error_code missing;
    const auto bytes = std::filesystem::file_size(playedPath, missing);
    return missing ? 0 : std::int64_t(bytes / (sizeof(float) * kChannels));
  }
  // Lets `frames` more frames play, and returns everything played so far.
  std::vector<float> playOn(std::int64_t frames) {
    const std::int64_t target = playedFrames() + frames;
    EXPECT_TRUE(eventually([&] { return playedFrames() >= target; }));
    return readFloats(playedPath);
  }
  // The first frame of the buffer in which sound first appears after `from`: voices start at
  // the beginning of a buffer.
  static std::size_t soundStart(const std::vector<float>& played, std::size_t from = 0) {
    for (std::size_t i = from * kChannels; i < played.size(); ++i) {
      if (std::abs(played[i]) > 0.05f) return i / kChannels / kBuffer * kBuffer;
    }
    return played.size() / kChannels;
  }
  const std::vector<float>& samplesOf(std::int32_t index) {
    return audio->sound(index)->samples().samples;
  }

  SoundFolder files;
  const std::string playedPath = files.path("played.raw");
  std::unique_ptr<KivAudio> audio;
};

TEST_F(KivAudioTest, IndexesCountFromOneAndAreNeverReused) {
  const std::string tone = files.tone("tone.m4a", 440, 0.1);
  EXPECT_EQ(audio->addSound(tone), 1);
  EXPECT_EQ(audio->addSound(tone), 2);
  audio->removeSound(2);
  EXPECT_EQ(audio->sound(2), nullptr);
  EXPECT_EQ(audio->addSound(tone), 3);
}

TEST_F(KivAudioTest, AFileThatIsNoSoundIsReportedWithItsFullPath) {
  for (const std::string& path : {files.path("missing.m4a"), files.write("empty.m4a", ""),
                                  files.write("notes.m4a", "la la la\n")}) {
    EXPECT_EQ(messageOf([&] { audio->addSound(path); }),
              "The \" Menus \" chart has an invalid sound file with directory " + path + " .");
  }
}

TEST_F(KivAudioTest, AnAbsentIndexFailsToPlayAndToBeRemovedAndIsOtherwiseIgnored) {
  EXPECT_EQ(messageOf([&] { audio->playSound(4); }),
            "The \" Menus \" chart sound with index 4 did not play.");
  EXPECT_EQ(messageOf([&] { audio->removeSound(4); }),
            "The \" Menus \" chart sound with index 4 did not stop when removed.");
  EXPECT_EQ(messageOf([&] {
              audio->setLoopSound(true, 4);
              audio->setTimeSound(1.5f, 4);
            }),
            "(no alert)");
}

TEST_F(KivAudioTest, ALoopingSoundPlaysOnPastItsEndWithoutAGap) {
  // 88 whole periods: the tone's last frame leads into its first.
  const std::int32_t index = audio->addSound(files.tone("tone.m4a", 440, 0.2));
  const std::vector<float>& pcm = samplesOf(index);
  const std::size_t loop = pcm.size() / kChannels;
  ASSERT_EQ(loop, 8820u);
  audio->setLoopSound(true, index);
  audio->playSound(index);
  const std::vector<float> played = playOn(std::int64_t(3 * loop + kBuffer));
  EXPECT_TRUE(audio->sound(index)->isPlaying());

  const std::size_t start = soundStart(played);
  ASSERT_LE((start + 3 * loop) * kChannels, played.size());
  for (std::size_t i = 0; i < 3 * loop * kChannels; ++i) {
    ASSERT_EQ(played[start * kChannels + i], pcm[i % pcm.size()]) << "frame " << i / kChannels;
  }
  // And the join itself continues the waveform: no step at the loop point.
  for (std::size_t pass = 1; pass <= 2; ++pass) {
    const std::size_t join = (start + pass * loop) * kChannels;
    EXPECT_NEAR(played[join], played[join - kChannels], 0.08) << "pass " << pass;
  }
}

TEST_F(KivAudioTest, WithLoopTurnedOffTheSoundStopsAtItsEnd) {
  const std::int32_t index = audio->addSound(files.tone("tone.m4a", 440, 0.2));
  const std::size_t loop = samplesOf(index).size() / kChannels;
  audio->setLoopSound(true, index);
  audio->playSound(index);
  playOn(std::int64_t(loop + kBuffer));
  ASSERT_TRUE(audio->sound(index)->isPlaying());

  audio->setLoopSound(false, index);
  EXPECT_TRUE(eventually([&] { return !audio->sound(index)->isPlaying(); }));
  EXPECT_EQ(audio->sound(index)->currentTime(), 0.0);
  const std::vector<float> played = playOn(2 * kBuffer);
  const std::size_t end = played.size() / kChannels;
  EXPECT_EQ(soundStart(played, end - 2 * kBuffer), end) << "still sounding after it stopped";
}

TEST_F(KivAudioTest, RewoundToZeroASoundPlaysFromItsFirstSample) {
  const std::int32_t index = audio->addSound(files.tone("tone.m4a", 440, 0.5));
  audio->setTimeSound(0.25f, index);
  EXPECT_DOUBLE_EQ(audio->sound(index)->currentTime(), 0.25);
  audio->setTimeSound(0.0f, index);
  audio->playSound(index);
  const std::vector<float>& pcm = samplesOf(index);
  const std::vector<float> played = playOn(2 * kBuffer);
  const std::size_t start = soundStart(played);
  ASSERT_LE((start + kBuffer) * kChannels, played.size());
  for (std::size_t i = 0; i < kBuffer * kChannels; ++i) {
    ASSERT_EQ(played[start * kChannels + i], pcm[i]) << "frame " << i / kChannels;
  }
}

TEST_F(KivAudioTest, PlayingAPlayingSoundGoesOnAndRewindingFirstRestartsIt) {
  const std::int32_t index = audio->addSound(files.tone("tone.m4a", 440, 2.0));
  Sound& sound = *audio->sound(index);
  audio->playSound(index);
  ASSERT_TRUE(eventually([&] { return sound.currentTime() > 0.2; }));
  const double before = sound.currentTime();
  audio->playSound(index);
  EXPECT_TRUE(sound.isPlaying());
  EXPECT_GE(sound.currentTime(), before);

  // The end of a run while the last end-of-run sound still plays: rewound, then played.
  audio->setTimeSound(0.0f, index);
  audio->playSound(index);
  EXPECT_TRUE(sound.isPlaying());
  EXPECT_LT(sound.currentTime(), before);
}

TEST_F(KivAudioTest, TwoSoundsMixAndARemovedSoundFallsSilent) {
  const std::int32_t low = audio->addSound(files.tone("low.m4a", 440, 0.5));
  const std::int32_t high = audio->addSound(files.tone("high.m4a", 660, 0.5));
  for (const std::int32_t index : {low, high}) {
    audio->setLoopSound(true, index);
    audio->playSound(index);
  }
  const auto lastBuffers = [](const std::vector<float>& played, std::size_t frames) {
    return Channel{played.data() + played.size() - frames * kChannels, frames, kChannels};
  };
  std::vector<float> played = playOn(6 * kBuffer);
  EXPECT_NEAR(toneAmplitude(lastBuffers(played, 4 * kBuffer), kRate, 440), 0.5, 0.05);
  EXPECT_NEAR(toneAmplitude(lastBuffers(played, 4 * kBuffer), kRate, 660), 0.5, 0.05);

  audio->removeSound(low);
  EXPECT_EQ(audio->sound(low), nullptr);
  // One buffer may already have been mixed when the sound was removed.
  played = playOn(6 * kBuffer);
  EXPECT_LT(toneAmplitude(lastBuffers(played, 4 * kBuffer), kRate, 440), 0.01);
  EXPECT_NEAR(toneAmplitude(lastBuffers(played, 4 * kBuffer), kRate, 660), 0.5, 0.05);
}

TEST_F(KivAudioTest, TheAlertBeepSoundsThroughTheOutput) {
  playOn(kBuffer);
  platform::beep();
  const std::vector<float> played = playOn(std::int64_t(kRate / 2));
  const std::size_t start = soundStart(played);
  ASSERT_LT(start * kChannels, played.size());
  const std::size_t frames = std::min<std::size_t>(kRate / 8, played.size() / kChannels - start);
  EXPECT_GT(toneAmplitude({played.data() + start * kChannels, frames, kChannels}, kRate, 880), 0.1);
}

TEST(KivAudioWithoutDevice, PlaysSilentlyInRealTime) {
  KivAlert::share().throwInsteadOfExiting(true);
  SoundFolder files;
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  testing::internal::CaptureStderr();
  KivAudio audio;
  const std::string said = testing::internal::GetCapturedStderr();
  unsetenv("SDL_AUDIODRIVER");
  EXPECT_NE(said.find("sound is off"), std::string::npos) << said;
  EXPECT_FALSE(audio.audible());

  const std::int32_t index = audio.addSound(files.tone("tone.m4a", 440, 0.2));
  audio.playSound(index);
  EXPECT_TRUE(audio.sound(index)->isPlaying());
  EXPECT_TRUE(eventually([&] { return !audio.sound(index)->isPlaying(); }));
}

}  // namespace
