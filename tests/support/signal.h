// Measurements of played or decoded sound: pitch and the strength of a given tone.
#pragma once

#include <cmath>
#include <cstddef>
#include <numbers>

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

// The amplitude of the component at `frequency` (Goertzel).
inline double toneAmplitude(const Channel& channel, int sampleRate, double frequency) {
  const double w = 2 * std::numbers::pi * frequency / sampleRate;
  const double coefficient = 2 * std::cos(w);
  double previous = 0, beforePrevious = 0;
  for (std::size_t i = 0; i < channel.frames; ++i) {
    const double current = channel.at(i) + coefficient * previous - beforePrevious;
    beforePrevious = previous;
    previous = current;
  }
  const double power =
      previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
  return 2 * std::sqrt(std::max(power, 0.0)) / double(channel.frames);
}
