#pragma once

#include "sound_buffer.h"

namespace resgen {

// Adds a small room's reverberation (parallel damped combs into all-passes, slightly
// different per side for width). A looping sound is run through twice and the second,
// settled pass kept, so the reverb tail of the loop's end also covers its beginning.
void addReverb(SoundBuffer& sound, float wet);

}  // namespace resgen
