#include "engine/sound.h"

#include <algorithm>
#include <cmath>

bool Sound::play() {
  if (voice >= 0) position = mixer.release(voice);
  // A sound without samples is never mixed: only a service without output has one.
  voice = mixer.start({pcm.samples.data(), frames}, position, loops);
  return voice >= 0;
}

bool Sound::resume() { return isPlaying() || play(); }

bool Sound::stop() {
  if (voice >= 0) {
    position = mixer.release(voice);
    voice = -1;
  }
  return true;
}

bool Sound::isPlaying() {
  settle();
  return voice >= 0;
}

void Sound::setLoops(bool newLoops) {
  loops = newLoops;
  if (voice >= 0) mixer.setLooping(voice, loops);
}

void Sound::setCurrentTime(double seconds) {
  // NaN and negative times mean the start; times past the end mean the end.
  const double frame = seconds * pcm.sampleRate;
  const std::int64_t target =
      frame > 0 ? std::min<std::int64_t>(std::llround(std::min(frame, 1e15)), frames) : 0;
  if (voice >= 0) {
    mixer.seek(voice, target);
  } else {
    position = target;
  }
}

double Sound::currentTime() {
  settle();
  return double(voice >= 0 ? mixer.position(voice) : position) / pcm.sampleRate;
}

void Sound::settle() {
  if (voice >= 0 && !mixer.playing(voice)) stop();
}
