#include "piano.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "../random.h"

namespace resgen {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kInharmonicity = 0.00018;
constexpr double kStringDetune = 0.00035;  // relative, between the two strings of a partial
constexpr double kReleaseSeconds = 0.12;   // damper fall time after the key is let go
constexpr double kAttackSeconds = 0.002;
constexpr int kMaxPartials = 14;

double frequencyOf(int key) { return 440.0 * std::pow(2.0, (key - 69) / 12.0); }

// A sine partial as a rotating phasor: one complex multiply per sample instead of a sine.
struct Phasor {
  double re, im, cosStep, sinStep;

  Phasor(double frequency, double phase)
      : re(std::cos(phase)),
        im(std::sin(phase)),
        cosStep(std::cos(kTwoPi * frequency / kSampleRate)),
        sinStep(std::sin(kTwoPi * frequency / kSampleRate)) {}

  double next() {
    const double value = im;
    const double nextRe = re * cosStep - im * sinStep;
    im = re * sinStep + im * cosStep;
    re = nextRe;
    return value;
  }
};

void addPartials(std::vector<float>& voice, const PianoNote& note, Random& random) {
  const double fundamental = frequencyOf(note.key);
  // Low strings ring for seconds, high ones much less.
  const double sustainSeconds = std::clamp(7.0 * std::pow(110.0 / fundamental, 0.7), 0.6, 9.0);
  // Harder strikes bring out more upper partials.
  const double brightness = 2.3 - 1.1 * note.velocity;

  for (int k = 1; k <= kMaxPartials; ++k) {
    const double frequency = k * fundamental * std::sqrt(1.0 + kInharmonicity * k * k);
    if (frequency > 15000.0) break;
    // The hammer strikes about one eighth along the string, which mutes partials near 8.
    const double hammer = 0.25 + 0.75 * std::abs(std::sin(std::numbers::pi * k / 8.0));
    const double amplitude = hammer / std::pow(k, brightness);
    const double slow = sustainSeconds / (1.0 + 0.35 * (k - 1));
    const double fast = slow / 8.0;

    Phasor strings[2] = {Phasor(frequency * (1.0 + kStringDetune), random.between(0, kTwoPi)),
                         Phasor(frequency * (1.0 - kStringDetune), random.between(0, kTwoPi))};
    double slowEnvelope = 0.35, fastEnvelope = 0.65;
    const double slowStep = std::exp(-1.0 / (slow * kSampleRate));
    const double fastStep = std::exp(-1.0 / (fast * kSampleRate));
    for (float& sample : voice) {
      sample += static_cast<float>(amplitude * (slowEnvelope + fastEnvelope) *
                                   (strings[0].next() + strings[1].next()) * 0.5);
      slowEnvelope *= slowStep;
      fastEnvelope *= fastStep;
    }
  }
}

void addHammerKnock(std::vector<float>& voice, const PianoNote& note, Random& random) {
  // Low-passed noise, gone within a few milliseconds.
  const double level = 0.06 * note.velocity;
  const double decay = std::exp(-1.0 / (0.006 * kSampleRate));
  double envelope = 1.0, smoothed = 0.0;
  const std::size_t frames = std::min(voice.size(), framesOf(0.04));
  for (std::size_t i = 0; i < frames; ++i) {
    smoothed += 0.3 * (random.between(-1.0, 1.0) - smoothed);
    voice[i] += static_cast<float>(level * envelope * smoothed);
    envelope *= decay;
  }
}

void shapeAttackAndRelease(std::vector<float>& voice, double length) {
  const std::size_t attack = framesOf(kAttackSeconds);
  const std::size_t release = framesOf(length);
  const double releaseStep = std::exp(-1.0 / (kReleaseSeconds * kSampleRate));
  double damper = 1.0;
  for (std::size_t i = 0; i < voice.size(); ++i) {
    float gain = i < attack ? static_cast<float>(i) / static_cast<float>(attack) : 1.0f;
    if (i >= release) {
      damper *= releaseStep;
      gain *= static_cast<float>(damper);
    }
    voice[i] *= gain;
  }
}

}  // namespace

void playPianoNote(SoundBuffer& out, const PianoNote& note) {
  // Each note gets its own phases from its pitch and start, so repeated notes differ
  // slightly, as struck strings do, yet every run gives the same sound.
  Random random(static_cast<std::uint64_t>(note.key) * 1000003u + framesOf(note.start));
  std::vector<float> voice(framesOf(note.length + 8.0 * kReleaseSeconds));
  addPartials(voice, note, random);
  addHammerKnock(voice, note, random);
  shapeAttackAndRelease(voice, note.length);

  out.mixIn(framesOf(note.start), voice, 0.25f * (0.3f + 0.7f * note.velocity), note.pan);
}

}  // namespace resgen
