// Decoding of the game's sound files (M4A: AAC, or ALAC and PCM in the same container) into
// interleaved float PCM at the rate and channel count the audio output plays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct PcmFormat {
  int sampleRate = 44100;
  int channels = 2;
  // Decode the whole file as usual but keep no samples, only the count: for a sound that is
  // never heard, whose length is all that is asked of it.
  bool lengthOnly = false;
};

// A whole sound, decoded: `frames()` frames of `channels` interleaved samples in [-1, 1].
struct Pcm {
  std::vector<float> samples;
  int channels = 0;
  int sampleRate = 0;
  std::int64_t framesWithoutSamples = 0;  // the length of a sound decoded `lengthOnly`

  std::int64_t frames() const {
    if (samples.empty()) return framesWithoutSamples;
    return channels > 0 ? std::int64_t(samples.size()) / channels : 0;
  }
};

// Limits on what a file may claim or contain; anything beyond them is refused as not a sound the
// game could mean, before it can cost a large allocation or a long decode.
inline constexpr int kMaxSoundChannels = 8;
inline constexpr double kMaxSoundSeconds = 600;
inline constexpr int kMinSoundSampleRate = 8000;
inline constexpr int kMaxSoundSampleRate = 192000;

// Decodes the whole file at `path` into `format`. Returns nothing when the file is missing,
// unreadable, not an M4A container, holds no decodable audio, is damaged, exceeds the limits
// above or decodes to no sound at all.
std::optional<Pcm> decodeSoundFile(const std::string& path, const PcmFormat& format);

// The same for a file's `size` bytes at `data`, decoded exactly as `decodeSoundFile` would.
std::optional<Pcm> decodeSoundBytes(const std::uint8_t* data, std::size_t size,
                                    const PcmFormat& format);

}  // namespace platform
