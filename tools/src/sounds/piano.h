#pragma once

#include "sound_buffer.h"

namespace resgen {

struct PianoNote {
  double start = 0.0;     // seconds
  double length = 0.0;    // seconds until the key is let go
  int key = 60;           // MIDI note number, 60 = middle C
  float velocity = 0.5f;  // 0 to 1: louder and brighter when harder
  float pan = 0.0f;       // -1 left to 1 right
};

// Adds one piano note, synthesised from its partials: slightly stretched overtones,
// two detuned strings per partial (the slow beating of a real piano), a fast then slow
// decay that is quicker for high partials and high notes, and a short hammer knock.
void playPianoNote(SoundBuffer& out, const PianoNote& note);

}  // namespace resgen
