#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sounds/reverb.h"
#include "sounds/sound_buffer.h"
#include "sounds/sounds.h"
#include "sounds/wav_file.h"

namespace {

using resgen::SoundBuffer;

TEST(SoundBuffer, LoopWrapsWritesPastTheEndToTheStartAndOneShotDropsThem) {
  SoundBuffer loop(10, SoundBuffer::Ending::Loop);
  SoundBuffer oneShot(10, SoundBuffer::Ending::OneShot);
  const std::vector<float> ringing = {1.0f, 2.0f, 3.0f, 4.0f};
  loop.mixIn(8, ringing, 1.0f, 0.0f);
  oneShot.mixIn(8, ringing, 1.0f, 0.0f);

  EXPECT_GT(loop.left()[0], 0.0f);  // the third sample rang on past the end
  EXPECT_GT(loop.left()[1], loop.left()[0]);
  EXPECT_EQ(oneShot.left()[0], 0.0f);
  EXPECT_EQ(oneShot.left()[1], 0.0f);
  // A centred sound is equally loud on both sides.
  EXPECT_FLOAT_EQ(loop.left()[9], loop.right()[9]);
}

TEST(SoundBuffer, NormalisingSetsTheLargestSampleOfEitherSide) {
  SoundBuffer sound(3, SoundBuffer::Ending::OneShot);
  sound.add(0, 0.1f, -0.4f);
  sound.add(2, 0.2f, 0.0f);
  resgen::normalisePeak(sound, -6.0f);
  EXPECT_NEAR(sound.right()[0], -std::pow(10.0f, -6.0f / 20.0f), 1e-6);
  EXPECT_NEAR(sound.left()[2] / sound.left()[0], 2.0f, 1e-5) << "shape kept";
}

// The reverb of a loop is that of the loop played over and over: what rings on after the
// last bar sounds over the first, as it will when the player wraps around.
TEST(Reverb, OfALoopCarriesItsEndIntoItsStartAndOfAOneShotDoesNot) {
  const std::size_t frames = resgen::framesOf(0.5);
  SoundBuffer loop(frames, SoundBuffer::Ending::Loop);
  SoundBuffer oneShot(frames, SoundBuffer::Ending::OneShot);
  loop.add(frames - 10, 1.0f, 1.0f);
  oneShot.add(frames - 10, 1.0f, 1.0f);
  resgen::addReverb(loop, 0.5f);
  resgen::addReverb(oneShot, 0.5f);

  const auto energyOfStart = [](const SoundBuffer& sound) {
    double sum = 0.0;
    for (std::size_t i = 0; i < resgen::framesOf(0.1); ++i)
      sum += sound.left()[i] * sound.left()[i];
    return sum;
  };
  EXPECT_GT(energyOfStart(loop), 1e-6);
  EXPECT_EQ(energyOfStart(oneShot), 0.0);
}

TEST(DeathSynthesis, FadesToSilenceWithinOneAndAHalfSeconds) {
  const SoundBuffer death = resgen::makeDeathSound();
  EXPECT_LE(death.frames(), static_cast<std::size_t>(1.5 * resgen::kSampleRate));
  EXPECT_EQ(death.left().back(), 0.0f);
  EXPECT_EQ(death.right().back(), 0.0f);
}

std::uint32_t littleEndianAt(const std::vector<unsigned char>& bytes, std::size_t offset,
                             int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = (value << 8) | bytes[offset + static_cast<std::size_t>(i)];
  return value;
}

TEST(WavFile, HoldsSixteenBitStereoPcmAtCdRateLeftSampleFirst) {
  SoundBuffer sound(2, SoundBuffer::Ending::OneShot);
  sound.add(0, 0.5f, -1.0f);
  sound.add(1, 2.0f, 0.0f);  // beyond full scale: clamped
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / "aloft-resgen-test.wav";
  resgen::writeWav(file, sound);
  std::ifstream stream(file, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(stream),
                                         std::istreambuf_iterator<char>()};
  std::filesystem::remove(file);

  ASSERT_EQ(bytes.size(), 44u + 2 * 2 * 2);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
  EXPECT_EQ(littleEndianAt(bytes, 4, 4), bytes.size() - 8);
  EXPECT_EQ(littleEndianAt(bytes, 20, 2), 1u);      // integer PCM
  EXPECT_EQ(littleEndianAt(bytes, 22, 2), 2u);      // channels
  EXPECT_EQ(littleEndianAt(bytes, 24, 4), 44100u);  // frames a second
  EXPECT_EQ(littleEndianAt(bytes, 34, 2), 16u);     // bits a sample
  EXPECT_EQ(littleEndianAt(bytes, 40, 4), 8u);      // data bytes
  EXPECT_EQ(static_cast<std::int16_t>(littleEndianAt(bytes, 44, 2)), 16384);
  EXPECT_EQ(static_cast<std::int16_t>(littleEndianAt(bytes, 46, 2)), -32767);
  EXPECT_EQ(static_cast<std::int16_t>(littleEndianAt(bytes, 48, 2)), 32767);
}

}  // namespace
