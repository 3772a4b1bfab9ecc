// The sound service with real decoding and the real mixer. The output's own clock is stopped, so
// the sound advances only by the buffers a test pulls, and what was played is known exactly.
// Then the mixer on its own, for what the played-back tests cannot reach exactly: the clamped
// seek and the limit on voices.
#include "engine/kiv_audio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/mixer.h"
#include "platform/message_box.h"
#include "support/gl_test.h"
#include "support/signal.h"
#include "support/sound_files.h"
#include "support/stopped_audio.h"

namespace {

constexpr int kRate = engine::KivAudio::kFormat.sampleRate;
constexpr std::size_t kChannels = engine::KivAudio::kFormat.channels;

// A service on `driver` for the Menus chart, its alerts thrown.
std::unique_ptr<engine::KivAudio> menusAudio(const char* driver) {
  engine::KivAlert::share().throwInsteadOfExiting(true);
  auto audio = stoppedAudio(driver);
  audio->setActiveChart("Menus");
  return audio;
}

class KivAudioTest : public ::testing::Test {
 protected:
  // Tones of 440 Hz (0.2 s: 88 whole periods, and 0.5 s) and of 660 Hz, encoded once.
  static void SetUpTestSuite() {
    files = new SoundFolder;
    shortTone = files->tone("short.m4a", 440, 0.2);
    low = files->tone("low.m4a", 440, 0.5);
    high = files->tone("high.m4a", 660, 0.5);
  }
  static void TearDownTestSuite() { delete files; }

  std::vector<float> play(std::size_t frames) {
    std::vector<float> out(frames * kChannels);
    audio->audioOutput()->pull(out.data(), int(frames));
    return out;
  }
  const std::vector<float>& samplesOf(std::int32_t index) {
    return audio->sound(index)->samples().samples;
  }
  // `played` is the sound's samples from frame `from` on, wrapping when `loops`.
  static void expectPlayed(const std::vector<float>& played, const std::vector<float>& pcm,
                           std::size_t from, bool loops = false) {
    for (std::size_t i = 0; i < played.size(); ++i) {
      const std::size_t at = from * kChannels + i;
      const float want = loops ? pcm[at % pcm.size()] : at < pcm.size() ? pcm[at] : 0.0f;
      ASSERT_EQ(played[i], want) << "frame " << i / kChannels;
    }
  }

  static inline SoundFolder* files;
  static inline std::string shortTone, low, high;
  std::unique_ptr<engine::KivAudio> audio = menusAudio("dummy");
};

TEST_F(KivAudioTest, IndexesCountFromOneAndAbsentIndexesAreReported) {
  EXPECT_EQ(audio->addSound(shortTone), 1);
  EXPECT_EQ(audio->addSound(shortTone), 2);
  audio->removeSound(2);
  EXPECT_EQ(audio->sound(2), nullptr);
  EXPECT_EQ(audio->addSound(shortTone), 3);
  const std::string opening = "The \" Menus \" chart sound with index 4 ";
  EXPECT_EQ(alertOf([&] { audio->playSound(4); }), opening + "did not play.");
  EXPECT_EQ(alertOf([&] { audio->removeSound(4); }), opening + "did not stop when removed.");
  audio->setLoopSound(true, 4);  // absent: ignored without an alert
  audio->setTimeSound(1.5f, 4);
}

// 200 s of silence takes 67.3 MB decoded: two held at once pass the sounds' budget of 128 MB, and
// the second is refused naming its file; once the first is removed it fits again.
TEST_F(KivAudioTest, TheSoundsHeldTogetherStayWithinTheirBudget) {
  const std::string silence = files->make(
      "silence.m4a", "-f lavfi -i anullsrc=r=44100:cl=stereo -t 200 -c:a alac");
  const std::int32_t first = audio->addSound(silence);
  EXPECT_EQ(alertOf([&] { audio->addSound(silence); }),
            "The \" Menus \" chart has a sound file with directory " + silence +
                " that is too large: 68 MB decoded, and all sounds loaded together may take 128 MB"
                " (60 MB left).");
  audio->removeSound(first);
  EXPECT_EQ(audio->decodedBytes(), 0u);
  audio->addSound(silence);
  EXPECT_EQ(audio->decodedBytes(), std::size_t(200 * kRate * kChannels * sizeof(float)));
}

TEST_F(KivAudioTest, ALoopPlaysOnWithoutAGapAndWithLoopOffStopsAtItsEnd) {
  const std::int32_t index = audio->addSound(shortTone);
  const std::vector<float>& pcm = samplesOf(index);
  const std::size_t loop = pcm.size() / kChannels;
  ASSERT_EQ(loop, 8820u);
  audio->setLoopSound(true, index);
  audio->playSound(index);
  expectPlayed(play(3 * loop + 100), pcm, 0, true);
  EXPECT_TRUE(audio->sound(index)->isPlaying());

  audio->setLoopSound(false, index);
  expectPlayed(play(loop), pcm, 100);
  EXPECT_FALSE(audio->sound(index)->isPlaying());
  EXPECT_EQ(audio->sound(index)->currentTime(), 0.0);
}

TEST_F(KivAudioTest, ASoundPlaysFromItsTimeAndPlayingItAgainGoesOn) {
  const std::int32_t index = audio->addSound(low);
  Sound& sound = *audio->sound(index);
  const std::vector<float>& pcm = samplesOf(index);
  audio->setTimeSound(0.25f, index);
  EXPECT_DOUBLE_EQ(sound.currentTime(), 0.25);
  audio->playSound(index);
  expectPlayed(play(1000), pcm, kRate / 4);
  audio->playSound(index);  // already playing: goes on
  expectPlayed(play(1000), pcm, kRate / 4 + 1000);
  EXPECT_DOUBLE_EQ(sound.currentTime(), 0.25 + 2000.0 / kRate);

  // The end of a run while the last end-of-run sound still plays: rewound, then played.
  audio->setTimeSound(0.0f, index);
  audio->playSound(index);
  expectPlayed(play(1000), pcm, 0);
}

TEST_F(KivAudioTest, SoundsAddUpAndARemovedSoundFallsSilent) {
  const std::int32_t first = audio->addSound(low), second = audio->addSound(high);
  const std::vector<float> a = samplesOf(first), b = samplesOf(second);
  audio->playSound(first);
  audio->playSound(second);
  const std::vector<float> both = play(2000);
  for (std::size_t i = 0; i < both.size(); ++i) {
    ASSERT_FLOAT_EQ(both[i], std::clamp(a[i] + b[i], -1.0f, 1.0f)) << "sample " << i;
  }
  audio->removeSound(first);
  EXPECT_EQ(audio->sound(first), nullptr);
  expectPlayed(play(2000), b, 2000);
}

TEST_F(KivAudioTest, TheAlertBeepSoundsThroughTheOutput) {
  play(100);
  platform::beep();
  const std::vector<float> beep = play(kRate / 8);
  EXPECT_NEAR(frequencyOf({beep.data(), beep.size() / kChannels, int(kChannels)}, kRate), 880, 2);
  EXPECT_EQ(play(kRate / 8).back(), 0.0f);  // a beep lasts a sixth of a second
}

TEST_F(KivAudioTest, WithoutADeviceSaysSoAndPlaysSilentlyAtTheSamePace) {
  audio.reset();
  testing::internal::CaptureStderr();
  audio = menusAudio("no-such-driver");
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("sound is off"), std::string::npos) << said;
  EXPECT_FALSE(audio->audible());

  const std::int32_t index = audio->addSound(shortTone);
  audio->playSound(index);
  play(8000);
  EXPECT_TRUE(audio->sound(index)->isPlaying());
  play(1000);
  EXPECT_FALSE(audio->sound(index)->isPlaying());
}

// A mono mixer over a clip whose samples are 1, 2, ..., 10: every output value names the clip
// frame it came from.
class MixerTest : public ::testing::Test {
 protected:
  std::vector<float> render(int frames) {
    std::vector<float> out(std::size_t(frames), 0.0f);
    mixer.render(out.data(), frames);
    return out;
  }

  std::vector<float> ramp{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  Mixer::Clip clip{ramp.data(), 10};
  Mixer mixer{1};
};

TEST_F(MixerTest, SeekMovesToThatFrameAndPastTheEndMeansTheEnd) {
  const int voice = mixer.start(clip, 0, false);
  mixer.seek(voice, 2);
  EXPECT_EQ(render(3), (std::vector<float>{3, 4, 5}));
  mixer.seek(voice, 1000);
  EXPECT_EQ(mixer.position(voice), 10);
  EXPECT_EQ(render(3), (std::vector<float>{0, 0, 0}));
  EXPECT_FALSE(mixer.playing(voice));
  EXPECT_EQ(mixer.position(voice), 0) << "a finished sound returns to its start";
}

TEST_F(MixerTest, WithEveryVoiceTakenNoMoreStartsUntilOneIsGivenBack) {
  int last = -1;
  for (int taken = 0; taken < Mixer::kVoiceCount; ++taken) {
    last = mixer.start(clip, 0, true);
    ASSERT_GE(last, 0);
  }
  EXPECT_EQ(mixer.start(clip, 0, false), -1);
  render(3);
  EXPECT_EQ(mixer.release(last), 3);
  EXPECT_EQ(mixer.start(clip, 0, false), last);
}

}  // namespace
