#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "decoded_sound.h"
#include "resource_dir.h"

namespace {

constexpr float kMinusOneDbfs = 0.891f;

float peakOf(const DecodedSound& sound) {
  float peak = 0.0f;
  for (const float sample : sound.samples) peak = std::max(peak, std::abs(sample));
  return peak;
}

double rmsOfFrames(const DecodedSound& sound, std::size_t first, std::size_t count) {
  double sum = 0.0;
  for (std::size_t i = first * sound.channels; i < (first + count) * sound.channels; ++i) {
    sum += sound.samples[i] * sound.samples[i];
  }
  return std::sqrt(sum / (count * sound.channels));
}

void expectStereoCdRate(const DecodedSound& sound) {
  EXPECT_EQ(sound.sampleRate, 44100);
  EXPECT_EQ(sound.channels, 2);
}

TEST(MusicLoop, IsStereoBetweenTwentyAndFortySecondsWithPeaksBelowMinusOneDbfs) {
  const DecodedSound music = decodeSound(resourceFile("PianoAndPer.m4a"));
  expectStereoCdRate(music);
  EXPECT_GE(music.containerSeconds, 20.0);
  EXPECT_LE(music.containerSeconds, 40.0);
  EXPECT_LT(peakOf(music), kMinusOneDbfs);
  EXPECT_GT(peakOf(music), 0.3f) << "too quiet to be heard over the game";
}

// A seamless loop: the decoder yields exactly the stated length (no padding that would be
// a gap at the loop point), both ends carry sound (no fade or silence), and the step from
// the last sample back to the first is no bigger than the steps the music itself makes.
TEST(MusicLoop, EndFlowsIntoTheStart) {
  const DecodedSound music = decodeSound(resourceFile("PianoAndPer.m4a"));
  ASSERT_EQ(music.channels, 2);
  // The container states lengths to the millisecond; codec padding would add about 20 ms.
  EXPECT_NEAR(music.decodedSeconds(), music.containerSeconds, 0.001);

  const std::size_t tenMilliseconds = 441;
  EXPECT_GT(rmsOfFrames(music, 0, tenMilliseconds), 0.003);
  EXPECT_GT(rmsOfFrames(music, music.frames() - tenMilliseconds, tenMilliseconds), 0.003);

  std::vector<float> steps;
  for (std::size_t i = 2; i < music.samples.size(); i += 2) {
    steps.push_back(std::abs(music.samples[i] - music.samples[i - 2]));
  }
  std::sort(steps.begin(), steps.end());
  const float usualLargeStep = steps[steps.size() * 999 / 1000];
  for (int channel = 0; channel < 2; ++channel) {
    const float seam =
        std::abs(music.samples[channel] - music.samples[music.samples.size() - 2 + channel]);
    EXPECT_LE(seam, usualLargeStep) << "click at the loop point, channel " << channel;
  }
}

TEST(DeathSound, IsShortStereoAndBelowMinusOneDbfs) {
  const DecodedSound death = decodeSound(resourceFile("Death2.m4a"));
  expectStereoCdRate(death);
  EXPECT_LE(death.containerSeconds, 1.5);
  EXPECT_GE(death.containerSeconds, 0.5);
  EXPECT_LE(death.decodedSeconds(), 1.5 + 1024.0 / 44100) << "at most one block of codec padding";
  EXPECT_LT(peakOf(death), kMinusOneDbfs);
  EXPECT_GT(peakOf(death), 0.3f);
}

}  // namespace
