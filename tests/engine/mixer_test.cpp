// The mixer on its own, rendering buffers as the audio thread would: what the played-back tests
// cannot reach exactly, the clamped seek and the limit on voices.
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
