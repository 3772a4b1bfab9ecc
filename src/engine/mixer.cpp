#include "engine/mixer.h"

#include <algorithm>
#include <thread>

int Mixer::start(Clip clip, std::int64_t position, bool looping) {
  const std::lock_guard guard(lock);
  for (int index = 0; index < kVoiceCount; ++index) {
    Voice& voice = voices[std::size_t(index)];
    if (voice.taken) continue;
    voice.clip = clip;
    voice.position = std::clamp<std::int64_t>(position, 0, clip.frames);
    ++voice.moves;
    voice.taken = true;
    voice.playing = true;
    voice.looping = looping;
    return index;
  }
  return -1;
}

bool Mixer::playing(int voice) const {
  const std::lock_guard guard(lock);
  return voices[std::size_t(voice)].playing;
}

std::int64_t Mixer::position(int voice) const {
  const std::lock_guard guard(lock);
  return voices[std::size_t(voice)].position;
}

void Mixer::seek(int voice, std::int64_t position) {
  const std::lock_guard guard(lock);
  Voice& target = voices[std::size_t(voice)];
  target.position = std::clamp<std::int64_t>(position, 0, target.clip.frames);
  ++target.moves;
}

void Mixer::setLooping(int voice, bool looping) {
  const std::lock_guard guard(lock);
  voices[std::size_t(voice)].looping = looping;
}

std::int64_t Mixer::release(int voice) {
  // Waits out a buffer being mixed: it may be reading this voice's samples. Mixing one buffer
  // takes microseconds, and the audio thread holds the lock only around its copies.
  std::unique_lock guard(lock);
  while (rendering) {
    guard.unlock();
    std::this_thread::yield();
    guard.lock();
  }
  Voice& target = voices[std::size_t(voice)];
  const std::int64_t position = target.position;
  target.taken = false;
  target.playing = false;
  target.clip = {};
  return position;
}

void Mixer::render(float* out, int frames) noexcept {
  int count = 0;
  {
    const std::lock_guard guard(lock);
    for (int index = 0; index < kVoiceCount; ++index) {
      if (!voices[std::size_t(index)].playing) continue;
      working[std::size_t(count)] = voices[std::size_t(index)];
      workingVoice[std::size_t(count)] = index;
      ++count;
    }
    rendering = count > 0;
  }
  if (count == 0) return;

  const float bufferGain = gain();
  for (int k = 0; k < count; ++k) mix(working[std::size_t(k)], out, frames, bufferGain);

  const std::lock_guard guard(lock);
  for (int k = 0; k < count; ++k) {
    const Voice& mixed = working[std::size_t(k)];
    Voice& voice = voices[std::size_t(workingVoice[std::size_t(k)])];
    // Stopped, restarted or moved by the main thread meanwhile: its word is the newer one.
    if (!voice.playing || voice.moves != mixed.moves) continue;
    voice.position = mixed.position;
    voice.playing = mixed.playing;
  }
  rendering = false;
}

void Mixer::mix(Voice& voice, float* out, int frames, float gain) const noexcept {
  const Clip& clip = voice.clip;
  int done = 0;
  while (done < frames && clip.frames > 0) {
    if (voice.position >= clip.frames) {
      if (!voice.looping) break;
      voice.position = 0;  // straight on from the last frame to the first: no gap
    }
    const int count = int(std::min<std::int64_t>(frames - done, clip.frames - voice.position));
    const float* from = clip.samples + voice.position * channels;
    float* to = out + std::int64_t(done) * channels;
    for (int i = 0; i < count * channels; ++i) to[i] += from[i] * gain;
    voice.position += count;
    done += count;
  }
  if (clip.frames == 0 || (!voice.looping && voice.position >= clip.frames)) {
    voice.playing = false;
    voice.position = 0;
  }
}
