#pragma once

#include <cstdint>

#include "sound_buffer.h"

namespace resgen {

enum class Drum { Kick, Snare, ClosedHat, OpenHat };

struct DrumHit {
  double start = 0.0;  // seconds
  Drum drum = Drum::Kick;
  float level = 1.0f;
};

// Adds one drum hit, synthesised from a swept sine (kick) or shaped noise (snare, hats).
// The noise comes from a generator seeded by the hit's time, so each hit is a little
// different yet every run is the same.
void playDrum(SoundBuffer& out, const DrumHit& hit);

}  // namespace resgen
