#pragma once

#include "sound_buffer.h"

namespace resgen {

// The stats and game music: piano over light drums, 16 bars at about 120 beats a minute
// (32 seconds), built to repeat without a seam. Peaks are not yet normalised.
SoundBuffer makeMusicLoop();

// The end of a run: a falling whistle that lands with a soft thud, 1.4 seconds.
SoundBuffer makeDeathSound();

}  // namespace resgen
