// The game's sound output: one SDL audio device, opened apart from the window so that audio
// trouble never takes the picture with it. Where no device can be opened it plays into SDL's
// dummy driver, which takes the sound at real-time speed and discards it, so everything that
// plays behaves the same, only silently.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

struct AudioFormat {
  int sampleRate = 44100;
  int channels = 2;
  int bufferFrames = 1024;
};

// What the output plays. `render` runs on the audio thread: `out` holds `frames` frames of
// interleaved silence, and the source adds its sound into them (summing freely: the output
// clamps the sum), without allocating and without waiting for the main thread.
class AudioSource {
 public:
  virtual void render(float* out, int frames) noexcept = 0;

 protected:
  ~AudioSource() = default;
};

class AudioOutput {
 public:
  // Opens the system's default device, or else the dummy driver (saying so on stderr), and
  // starts it. Returns null only when SDL cannot run audio at all, also saying so.
  static std::unique_ptr<AudioOutput> open(const AudioFormat& format, AudioSource& source);
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  const AudioFormat& format() const { return format_; }
  // False on the dummy driver: the sound is played but nobody hears it.
  bool audible() const { return audible_; }

  // A short tone mixed over whatever plays; `beep()` of message_box.h comes here.
  void beep() { beepFramesLeft.store(beepLength(), std::memory_order_relaxed); }

  // The output most recently opened and still open, for the beep; null when there is none.
  static AudioOutput* current();

  // Stops the device's own clock: from then on the sound advances only by `pull`, buffer by
  // buffer, so a test hears exactly the frames it asks for however loaded the machine is.
  void stopClock();
  // Plays the next `frames` frames into `out` as the device's callback would.
  void pull(float* out, int frames) noexcept { fill(out, frames); }

 private:
  AudioOutput(const AudioFormat& format, AudioSource& pulledSource, bool audible)
      : format_(format), source(pulledSource), audible_(audible) {}
  static void callback(void* self, std::uint8_t* stream, int bytes);
  void fill(float* out, int frames) noexcept;
  void addBeep(float* out, int frames) noexcept;
  int beepLength() const { return format_.sampleRate / 6; }

  AudioFormat format_;
  AudioSource& source;
  bool audible_;
  std::uint32_t device = 0;
  std::atomic<int> beepFramesLeft{0};
};

}  // namespace platform
