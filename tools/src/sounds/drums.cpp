#include "drums.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "../random.h"

namespace resgen {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double decayStep(double seconds) { return std::exp(-1.0 / (seconds * kSampleRate)); }

// A sine falling quickly from a knock to a low thud, with a click of noise on top.
std::vector<float> kick(Random& random) {
  std::vector<float> samples(framesOf(0.45));
  double phase = 0.0, envelope = 1.0, click = 0.3;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    phase += kTwoPi * (48.0 + 95.0 * std::exp(-t / 0.035)) / kSampleRate;
    samples[i] = static_cast<float>(envelope * std::sin(phase) + click * random.between(-1, 1));
    envelope *= decayStep(0.16);
    click *= decayStep(0.003);
  }
  return samples;
}

// The drum's body (two sines) under the rattle of the snares (high-passed noise).
std::vector<float> snare(Random& random) {
  std::vector<float> samples(framesOf(0.35));
  double body = 0.55, rattle = 0.6, previous = 0.0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double noise = random.between(-1, 1);
    const double highPassed = noise - previous;
    previous = noise;
    samples[i] = static_cast<float>(
        body * (std::sin(kTwoPi * 185.0 * t) + 0.5 * std::sin(kTwoPi * 330.0 * t)) +
        rattle * highPassed);
    body *= decayStep(0.06);
    rattle *= decayStep(0.11);
  }
  return samples;
}

// Twice high-passed noise: only the hiss of the cymbal, short or left ringing.
std::vector<float> hat(Random& random, double ringSeconds) {
  std::vector<float> samples(framesOf(ringSeconds * 6.0));
  double envelope = 1.0, previousNoise = 0.0, previousDifference = 0.0;
  for (float& sample : samples) {
    const double noise = random.between(-1, 1);
    const double difference = noise - previousNoise;
    sample = static_cast<float>(envelope * 0.5 * (difference - previousDifference));
    previousNoise = noise;
    previousDifference = difference;
    envelope *= decayStep(ringSeconds);
  }
  return samples;
}

struct Placement {
  float level;
  float pan;
};

Placement placementOf(Drum drum) {
  switch (drum) {
    case Drum::Kick: return {0.16f, 0.0f};
    case Drum::Snare: return {0.09f, -0.15f};
    case Drum::ClosedHat: return {0.045f, 0.35f};
    case Drum::OpenHat: return {0.04f, 0.35f};
  }
  return {0.0f, 0.0f};
}

}  // namespace

void playDrum(SoundBuffer& out, const DrumHit& hit) {
  Random random(framesOf(hit.start) * 4u + static_cast<std::uint64_t>(hit.drum));
  std::vector<float> samples;
  switch (hit.drum) {
    case Drum::Kick: samples = kick(random); break;
    case Drum::Snare: samples = snare(random); break;
    case Drum::ClosedHat: samples = hat(random, 0.03); break;
    case Drum::OpenHat: samples = hat(random, 0.16); break;
  }
  const Placement placement = placementOf(hit.drum);
  out.mixIn(framesOf(hit.start), samples, placement.level * hit.level, placement.pan);
}

}  // namespace resgen
