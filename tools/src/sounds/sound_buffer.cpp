#include "sound_buffer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace resgen {

PanGains panGains(float pan) {
  const float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * std::numbers::pi_v<float> / 4.0f;
  return {std::cos(angle), std::sin(angle)};
}

void SoundBuffer::mixIn(std::size_t firstFrame, const std::vector<float>& mono, float level,
                        float pan) {
  const PanGains gains = panGains(pan);
  for (std::size_t i = 0; i < mono.size(); ++i) {
    add(firstFrame + i, mono[i] * level * gains.left, mono[i] * level * gains.right);
  }
}

void normalisePeak(SoundBuffer& sound, float peakDbfs) {
  float peak = 0.0f;
  for (const auto* channel : {&sound.left(), &sound.right()}) {
    for (const float sample : *channel) peak = std::max(peak, std::abs(sample));
  }
  if (peak == 0.0f) return;
  const float gain = std::pow(10.0f, peakDbfs / 20.0f) / peak;
  for (auto* channel : {&sound.left(), &sound.right()}) {
    for (float& sample : *channel) sample *= gain;
  }
}

}  // namespace resgen
