// Feeds arbitrary bytes to the sound decoder, through the same code as a sound file.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/sound_file.h"

namespace {

// Larger inputs only repeat what smaller ones reach, and slow every run down.
constexpr std::size_t kMaxInputBytes = 1 << 20;
// The game's own output format.
constexpr platform::PcmFormat kFormat{44100, 2};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInputBytes) return 0;
  const auto pcm = platform::decodeSoundBytes(data, size, kFormat);
  if (!pcm) return 0;
  // What is accepted is whole frames of the game's format, within the length limit.
  const auto maxFrames = std::int64_t((platform::kMaxSoundSeconds + 1) * kFormat.sampleRate);
  if (pcm->channels != kFormat.channels || pcm->sampleRate != kFormat.sampleRate ||
      pcm->samples.size() % std::size_t(kFormat.channels) != 0 || pcm->frames() <= 0 ||
      pcm->frames() > maxFrames) {
    std::abort();
  }
  return 0;
}
