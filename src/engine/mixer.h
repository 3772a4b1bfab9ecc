// The game's mixer: up to `kVoiceCount` sounds at once, summed into the output's buffer on the
// audio thread. The main thread starts, moves, loops and stops voices; the two threads share
// the voice table under one lock that each side holds only to copy a few fields, so the audio
// thread never waits for a frame and never allocates.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

#include "platform/audio_output.h"

class Mixer final : public platform::AudioSource {
 public:
  static constexpr int kVoiceCount = 32;

  // Interleaved samples with the mixer's channel count. They must stay alive until the voice
  // playing them is released.
  struct Clip {
    const float* samples = nullptr;
    std::int64_t frames = 0;
  };

  explicit Mixer(int channelCount) : channels(channelCount) {}

  // Main thread. A voice is taken by `start` and given back by `release`; in between, its
  // number names it.
  //
  // Plays `clip` from frame `position` (at most its length). Returns the voice, or -1 when
  // every voice is taken.
  int start(Clip clip, std::int64_t position, bool looping);
  // A voice that does not loop stops by itself at the end of its clip, and its position goes
  // back to the start, so that playing it again plays it from the beginning.
  bool playing(int voice) const;
  std::int64_t position(int voice) const;
  void seek(int voice, std::int64_t position);
  void setLooping(int voice, bool looping);
  // Stops the voice, gives it back and returns its position. Once this returns, the audio
  // thread no longer reads the clip, so its samples may be freed.
  std::int64_t release(int voice);

  // Audio thread.
  void render(float* out, int frames) noexcept override;

 private:
  struct Voice {
    Clip clip;
    std::int64_t position = 0;
    // Counts the main thread's starts and seeks; a buffer mixed from an older count does not
    // write its position back over the newer one.
    std::uint32_t moves = 0;
    bool taken = false;
    bool playing = false;
    bool looping = false;
  };

  void mix(Voice& voice, float* out, int frames) const noexcept;

  const int channels;
  mutable std::mutex lock;
  std::array<Voice, kVoiceCount> voices;  // guarded by `lock`
  bool rendering = false;                 // guarded by `lock`: a buffer is being mixed
  // The audio thread's own copies of the playing voices, mixed outside the lock.
  std::array<Voice, kVoiceCount> working;
  std::array<int, kVoiceCount> workingVoice{};
};
