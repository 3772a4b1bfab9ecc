// Decoding sound files with FFmpeg: length, pitch, conversion to the output's format, and
// refusal of anything that is not a sound the game could mean.
#include "platform/sound_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "support/run_program.h"
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

// Tones of other rates and layouts come out at the output's rate and two channels, at their own
// pitch and length; a mono one is heard alike on both sides. The encoder padded the last packet
// past the tone: the sound ends where the tone did.
TEST(SoundFile, TonesDecodeToTheOutputsFormatAtTheirOwnLengthAndPitch) {
  SoundFolder files;
  struct Case {
    int sampleRate, channels;
    double seconds;
  };
  for (const Case& source :
       {Case{44100, 1, 1.0}, {48000, 2, 0.5}, {22050, 1, 0.5}, {32000, 6, 0.5}}) {
    SCOPED_TRACE(std::to_string(source.sampleRate) + " Hz, " + std::to_string(source.channels));
    const auto pcm = decodeSoundFile(
        files.tone("tone.m4a", 441, source.seconds, source.sampleRate, source.channels), kOutput);
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->channels, 2);
    EXPECT_EQ(pcm->sampleRate, 44100);
    EXPECT_NEAR(double(pcm->frames()), 44100 * source.seconds, source.sampleRate == 44100 ? 0 : 1);
    const Channel left = channelOf(*pcm), right = channelOf(*pcm, 1);
    EXPECT_NEAR(frequencyOf(left, 44100), 441.0, 0.3);
    EXPECT_NEAR(frequencyOf(right, 44100), 441.0, 0.3);
    if (source.channels > 2) continue;
    EXPECT_NEAR(peakOf(left, 0, left.frames), 0.5, 0.1);
    EXPECT_GT(peakOf(right, right.frames - 100, right.frames), 0.4) << "silence at the end";
    for (std::size_t frame = 0; source.channels == 1 && frame < left.frames; ++frame) {
      ASSERT_EQ(left.at(frame), right.at(frame)) << frame;
    }
  }
}

// Whole files of the game's, both layouts of the container and sounds at the limits decode; sounds
// past the limits and damaged files do not, and a file and its bytes in memory come out alike.
TEST(SoundFile, FilesDecodeWithinTheLimitsAndBytesInMemoryExactlyAsTheirFile) {
  SoundFolder files;
  // PCM in the same container states its format exactly, also where AAC cannot go.
  const auto pcm = [&](const std::string& name, int channels, int rate, double seconds) {
    std::string channelList = "0.1";
    for (int channel = 1; channel < channels; ++channel) channelList += "|0.1";
    return files.make(name, "-f lavfi -i 'aevalsrc=" + channelList + ":s=" + std::to_string(rate) +
                                ":d=" + std::to_string(seconds) + "' -c:a pcm_s16le -f mov");
  };
  const auto written = [&](const std::string& name, const std::string& bytes) {
    writeText(files.path(name), bytes);
    return files.path(name);
  };
  const std::string tone = files.tone("tone.m4a", 441, 0.5, 22050, 2);
  const std::string bytes = readText(tone);
  const std::string streamable =
      files.make("streamable.m4a", "-i '" + tone + "' -c copy -movflags +faststart");
  const std::string streamableBytes = readText(streamable);
  std::string overwritten = bytes;
  std::fill(overwritten.begin() + std::ptrdiff_t(bytes.size() / 4), overwritten.end(), '\x7f');
  std::filesystem::create_directory(files.path("folder.m4a"));
  const std::pair<std::string, bool> cases[] = {
      {std::string(ALOFT_KIV_RESOURCES) + "/Death2.m4a", true},
      {std::string(ALOFT_KIV_RESOURCES) + "/PianoAndPer.m4a", true},
      {tone, true},
      {streamable, true},
      {files.make("alac.m4a", "-f lavfi -i 'sine=f=300:r=11025:d=0.3' -c:a alac"), true},
      {pcm("eight-channels.m4a", 8, 8000, 0.2), true},
      {pcm("slowest.m4a", 1, 8000, 0.2), true},
      {pcm("fastest.m4a", 1, 192000, 0.2), true},
      {pcm("nine-channels.m4a", 9, 8000, 0.2), false},
      {pcm("too-long.m4a", 1, 8000, 600.5), false},
      {pcm("too-slow.m4a", 1, 7999, 0.2), false},
      {pcm("too-fast.m4a", 1, 192001, 0.2), false},
      {written("cut.m4a", bytes.substr(0, bytes.size() / 2)), false},
      {written("cut-streamable.m4a", streamableBytes.substr(0, streamableBytes.size() / 2)), false},
      {written("overwritten.m4a", overwritten), false},
      {written("empty.m4a", ""), false},
      {written("text.m4a", "These are the notes of the song, not the song.\n"), false},
      {files.make("picture.m4a", "-f lavfi -i color=c=red:s=32x32:d=0.2 -f mov"), false},
      {files.make("wave.m4a", "-f lavfi -i 'sine=f=300:r=8000:d=0.1' -f wav"), false},
      {files.path("folder.m4a"), false},
      {files.path("missing.m4a"), false},
  };
  for (const auto& [path, decodes] : cases) {
    const std::string contents = std::filesystem::is_regular_file(path) ? readText(path) : "";
    const auto fromFile = decodeSoundFile(path, kOutput);
    const auto fromMemory = platform::decodeSoundBytes(
        reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size(), kOutput);
    EXPECT_EQ(fromFile.has_value(), decodes) << path;
    ASSERT_EQ(fromMemory.has_value(), fromFile.has_value()) << path;
    if (!fromFile) continue;
    EXPECT_EQ(fromMemory->samples, fromFile->samples) << path;
    EXPECT_EQ(fromMemory->channels, fromFile->channels) << path;
    EXPECT_EQ(fromMemory->sampleRate, fromFile->sampleRate) << path;
  }
}

}  // namespace
