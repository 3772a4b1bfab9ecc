// The mixer on its own, rendering buffers as the audio thread would: loops, ends, seeks, sums.
#include "engine/mixer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

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

TEST_F(MixerTest, LoopGoesFromTheLastFrameStraightToTheFirst) {
  const int voice = mixer.start(clip, 0, true);
  ASSERT_GE(voice, 0);
  EXPECT_EQ(render(24), (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1, 2, 3, 4, 5, 6, 7, 8,
                                            9, 10, 1, 2, 3, 4}));
  EXPECT_TRUE(mixer.playing(voice));
  EXPECT_EQ(mixer.position(voice), 4);

  // Looping turned off: the current pass is the last.
  mixer.setLooping(voice, false);
  EXPECT_EQ(render(8), (std::vector<float>{5, 6, 7, 8, 9, 10, 0, 0}));
  EXPECT_FALSE(mixer.playing(voice));
  EXPECT_EQ(mixer.position(voice), 0) << "a finished sound returns to its start";
}

TEST_F(MixerTest, SeekMovesToThatFrameAndPastTheEndMeansTheEnd) {
  const int voice = mixer.start(clip, 7, false);
  EXPECT_EQ(render(4), (std::vector<float>{8, 9, 10, 0}));

  const int again = mixer.start(clip, 0, false);
  mixer.seek(again, 2);
  EXPECT_EQ(render(3), (std::vector<float>{3, 4, 5}));
  mixer.seek(again, 1000);
  EXPECT_EQ(mixer.position(again), 10);
  EXPECT_EQ(render(3), (std::vector<float>{0, 0, 0}));
  EXPECT_FALSE(mixer.playing(again));
  mixer.release(voice);
  mixer.release(again);
}

TEST_F(MixerTest, VoicesSumAndAReleasedVoiceIsSilent) {
  std::vector<float> tens{10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
  const int first = mixer.start(clip, 0, true);
  const int second = mixer.start({tens.data(), 10}, 0, true);
  EXPECT_EQ(render(3), (std::vector<float>{11, 22, 33}));
  EXPECT_EQ(mixer.release(first), 3);
  EXPECT_EQ(render(3), (std::vector<float>{40, 50, 60}));

  // Every voice taken: one more cannot start until one is given back.
  for (int taken = 1; taken < Mixer::kVoiceCount; ++taken) ASSERT_GE(mixer.start(clip, 0, false), 0);
  EXPECT_EQ(mixer.start(clip, 0, false), -1);
  mixer.release(second);
  EXPECT_EQ(mixer.start(clip, 0, false), second);
}

}  // namespace
