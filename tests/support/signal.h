// The pitch of played or decoded sound.
#pragma once

#include <cstddef>

// Interleaved samples, one channel of them looked at.
struct Channel {
  const float* samples;
  std::size_t frames;
  int stride;  // the number of channels
  float at(std::size_t frame) const { return samples[frame * std::size_t(stride)]; }
};

// The frequency in Hz, from the rising zero crossings between the first and the last.
inline double frequencyOf(const Channel& channel, int sampleRate) {
  std::size_t first = 0, last = 0, crossings = 0;
  for (std::size_t i = 1; i < channel.frames; ++i) {
    if (channel.at(i - 1) < 0 && channel.at(i) >= 0) {
      if (crossings++ == 0) first = i;
      last = i;
    }
  }
  if (crossings < 2) return 0;
  return double(crossings - 1) * sampleRate / double(last - first);
}
