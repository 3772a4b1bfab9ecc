// One loaded sound: its decoded samples and where it stands. It plays from its current position,
// resumes, stops, tells whether it is playing, loops, and moves to a time in seconds; several
// sounds play at once through the mixer.
#pragma once

#include <cstdint>
#include <utility>

#include "engine/mixer.h"
#include "platform/sound_file.h"

class Sound {
 public:
  Sound(Mixer& playingMixer, platform::Pcm samples)
      : mixer(playingMixer), pcm(std::move(samples)), frames(pcm.frames()) {}
  ~Sound() { stop(); }
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  // Plays from the current position. False when the mixer has no free voice.
  bool play();
  // A playing sound goes on from where it is; a stopped one plays from its position.
  bool resume();
  // Stops and keeps the position.
  bool stop();
  bool isPlaying();
  void setLoops(bool loops);
  // Clamped to the sound's length; a sound that reaches its end by itself returns to 0.
  void setCurrentTime(double seconds);
  double currentTime();

  const platform::Pcm& samples() const { return pcm; }

 private:
  // A voice that stopped by itself at the end is given back, keeping its position.
  void settle();

  Mixer& mixer;
  platform::Pcm pcm;
  std::int64_t frames;  // the length; a sound decoded for its length only has no samples
  int voice = -1;  // -1 while no voice plays this sound
  std::int64_t position = 0;
  bool loops = false;
};
