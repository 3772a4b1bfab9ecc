// Decoding sound files with FFmpeg: length, pitch, conversion to the output's format, and
// refusal of anything that is not a sound the game could mean.
#include "platform/sound_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "support/signal.h"
#include "support/sound_files.h"

namespace {

using platform::decodeSoundFile;
constexpr platform::PcmFormat kOutput{44100, 2};

Channel channelOf(const platform::Pcm& pcm, int channel = 0) {
  return {pcm.samples.data() + channel, std::size_t(pcm.frames()), pcm.channels};
}

float peakOf(const Channel& channel, std::size_t from, std::size_t to) {
  float peak = 0;
  for (std::size_t i = from; i < to; ++i) peak = std::max(peak, std::abs(channel.at(i)));
  return peak;
}

TEST(SoundFile, ToneDecodesToItsExactLengthAndPitch) {
  SoundFolder files;
  const auto pcm = decodeSoundFile(files.tone("tone.m4a", 441, 1.0), kOutput);
  ASSERT_TRUE(pcm);
  EXPECT_EQ(pcm->channels, 2);
  EXPECT_EQ(pcm->sampleRate, 44100);
  // The encoder padded the last packet past 44100 frames; the sound ends where the tone did.
  EXPECT_EQ(pcm->frames(), 44100);
  const Channel left = channelOf(*pcm);
  EXPECT_NEAR(frequencyOf(left, 44100), 441.0, 0.2);
  EXPECT_NEAR(peakOf(left, 0, left.frames), 0.5, 0.05);
  EXPECT_GT(peakOf(left, left.frames - 100, left.frames), 0.4) << "silence at the end";
  // A mono file is heard the same on both sides.
  for (std::int64_t frame = 0; frame < pcm->frames(); ++frame) {
    ASSERT_EQ(pcm->samples[std::size_t(frame * 2)], pcm->samples[std::size_t(frame * 2 + 1)]);
  }
}

TEST(SoundFile, OtherRatesAndLayoutsAreConvertedToTheOutputs) {
  SoundFolder files;
  struct Case {
    int sampleRate;
    int channels;
  };
  for (const Case& source : {Case{48000, 2}, Case{22050, 1}, Case{32000, 6}}) {
    SCOPED_TRACE(std::to_string(source.sampleRate) + " Hz, " + std::to_string(source.channels));
    const auto pcm = decodeSoundFile(
        files.tone("tone.m4a", 441, 0.5, source.sampleRate, source.channels), kOutput);
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->channels, 2);
    EXPECT_NEAR(double(pcm->frames()), 22050.0, 1.0);
    EXPECT_NEAR(frequencyOf(channelOf(*pcm, 1), 44100), 441.0, 0.3);
  }
}

TEST(SoundFile, FilesBeyondTheLimitsAreRefusedAndTheLimitsThemselvesAccepted) {
  SoundFolder files;
  // PCM in the same container states its format exactly, also where AAC cannot go.
  const auto pcm = [&](const std::string& name, int channels, int rate, double seconds) {
    std::string channelList = "0.1";
    for (int channel = 1; channel < channels; ++channel) channelList += "|0.1";
    return files.make(name, "-f lavfi -i 'aevalsrc=" + channelList + ":s=" + std::to_string(rate) +
                                ":d=" + std::to_string(seconds) + "' -c:a pcm_s16le -f mov");
  };
  EXPECT_FALSE(decodeSoundFile(pcm("nine-channels.m4a", 9, 8000, 0.2), kOutput));
  EXPECT_FALSE(decodeSoundFile(pcm("too-long.m4a", 1, 8000, 601), kOutput));
  EXPECT_FALSE(decodeSoundFile(pcm("too-slow.m4a", 1, 7999, 0.2), kOutput));
  EXPECT_FALSE(decodeSoundFile(pcm("too-fast.m4a", 1, 192001, 0.2), kOutput));

  EXPECT_TRUE(decodeSoundFile(pcm("eight-channels.m4a", 8, 8000, 0.2), kOutput));
  EXPECT_TRUE(decodeSoundFile(pcm("slowest.m4a", 1, 8000, 0.2), kOutput));
  EXPECT_TRUE(decodeSoundFile(pcm("fastest.m4a", 1, 192000, 0.2), kOutput));
}

// Whole files of the game's and both layouts of the container decode; each damage after them
// makes one fail, and a file and its bytes in memory always come out alike.
TEST(SoundFile, BytesInMemoryDecodeExactlyAsTheirFileWholeOrDamaged) {
  SoundFolder files;
  const std::string tone = files.tone("tone.m4a", 441, 0.5, 22050, 2);
  const std::string bytes = readFile(tone);
  const std::string streamable = files.make("streamable.m4a",
                                            "-i '" + tone + "' -c copy -movflags +faststart");
  const std::string streamableBytes = readFile(streamable);
  std::string overwritten = bytes;
  std::fill(overwritten.begin() + std::ptrdiff_t(bytes.size() / 4), overwritten.end(), '\x7f');
  std::filesystem::create_directory(files.path("folder.m4a"));
  EXPECT_FALSE(decodeSoundFile(files.path("folder.m4a"), kOutput));
  EXPECT_FALSE(decodeSoundFile(files.path("missing.m4a"), kOutput));
  const std::vector<std::string> paths = {
      std::string(ALOFT_KIV_RESOURCES) + "/Death2.m4a",
      std::string(ALOFT_KIV_RESOURCES) + "/PianoAndPer.m4a",
      tone,
      streamable,
      files.make("alac.m4a", "-f lavfi -i 'sine=f=300:r=11025:d=0.3' -c:a alac"),
      files.make("nine-channels.m4a",
                 "-f lavfi -i 'aevalsrc=0|0|0|0|0|0|0|0|0:s=8000:d=0.1' -c:a pcm_s16le -f mov"),
      files.write("cut.m4a", bytes.substr(0, bytes.size() / 2)),
      files.write("cut-streamable.m4a", streamableBytes.substr(0, streamableBytes.size() / 2)),
      files.write("overwritten.m4a", overwritten),
      files.write("empty.m4a", ""),
      files.write("text.m4a", "These are the notes of the song, not the song.\n"),
      files.make("picture.m4a", "-f lavfi -i color=c=red:s=32x32:d=0.2 -f mov"),
      files.make("wave.m4a", "-f lavfi -i 'sine=f=300:r=8000:d=0.1' -f wav"),
  };
  std::vector<bool> decoded;
  for (const std::string& path : paths) {
    const std::string contents = readFile(path);
    const auto fromFile = decodeSoundFile(path, kOutput);
    const auto fromMemory = platform::decodeSoundBytes(
        reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size(), kOutput);
    ASSERT_EQ(fromMemory.has_value(), fromFile.has_value()) << path;
    if (fromFile) {
      EXPECT_EQ(fromMemory->samples, fromFile->samples) << path;
      EXPECT_EQ(fromMemory->channels, fromFile->channels) << path;
      EXPECT_EQ(fromMemory->sampleRate, fromFile->sampleRate) << path;
    }
    decoded.push_back(fromFile.has_value());
  }
  EXPECT_EQ(decoded, (std::vector<bool>{true, true, true, true, true, false, false, false, false,
                                         false, false, false, false}));
}

}  // namespace
