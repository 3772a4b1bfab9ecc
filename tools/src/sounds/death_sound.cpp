#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "../random.h"
#include "reverb.h"
#include "sounds.h"

namespace resgen {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kLength = 1.4;    // seconds
constexpr double kLanding = 0.95;  // when the whistle has fallen and the thud comes
constexpr double kFadeOut = 0.06;  // seconds of fade to exact silence at the end

double smoothStep(double low, double high, double value) {
  const double t = std::clamp((value - low) / (high - low), 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

// A whistle falling more than three octaves, wobbling a little as it goes.
std::vector<float> fallingWhistle() {
  std::vector<float> samples(framesOf(kLength));
  double phase = 0.0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double wobble = 1.0 + 0.025 * std::sin(kTwoPi * 7.0 * t);
    phase += kTwoPi * 820.0 * std::pow(2.0, -3.3 * t) * wobble / kSampleRate;
    const double tone =
        std::sin(phase) + 0.3 * std::sin(2.0 * phase) + 0.12 * std::sin(3.0 * phase);
    const double envelope =
        std::min(1.0, t / 0.01) * (1.0 - smoothStep(kLanding - 0.15, kLanding + 0.2, t));
    samples[i] = static_cast<float>(0.5 * envelope * tone);
  }
  return samples;
}

// A soft landing: a low thump under a puff of muffled noise.
std::vector<float> softThud() {
  Random random(77);
  std::vector<float> samples(framesOf(kLength - kLanding));
  double muffled = 0.0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    muffled += 0.05 * (random.between(-1.0, 1.0) - muffled);
    const double thump =
        std::sin(kTwoPi * (55.0 + 40.0 * std::exp(-t / 0.03)) * t) * std::exp(-t / 0.12);
    samples[i] = static_cast<float>(0.8 * thump + 2.2 * muffled * std::exp(-t / 0.1));
  }
  return samples;
}

}  // namespace

SoundBuffer makeDeathSound() {
  SoundBuffer sound(framesOf(kLength), SoundBuffer::Ending::OneShot);
  sound.mixIn(0, fallingWhistle(), 1.0f, 0.0f);
  sound.mixIn(framesOf(kLanding), softThud(), 1.0f, 0.0f);
  addReverb(sound, 0.2f);

  // Fade the reverb's tail to silence, so the sound never ends on a click.
  const std::size_t fadeFrames = framesOf(kFadeOut);
  const std::size_t fadeStart = sound.frames() - fadeFrames;
  for (std::size_t i = fadeStart; i < sound.frames(); ++i) {
    const auto gain = static_cast<float>(sound.frames() - 1 - i) / static_cast<float>(fadeFrames);
    sound.left()[i] *= gain;
    sound.right()[i] *= gain;
  }
  return sound;
}

}  // namespace resgen
