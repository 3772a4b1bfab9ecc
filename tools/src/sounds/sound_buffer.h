#pragma once

#include <cstddef>
#include <vector>

namespace resgen {

constexpr int kSampleRate = 44100;

// Equal-power gains for a position from -1 (left) to 1 (right).
struct PanGains {
  float left;
  float right;
};
PanGains panGains(float pan);

// Stereo float samples under construction. A looping buffer wraps writes past its end
// back to its start, so that a note still sounding when the loop ends rings on into the
// loop's beginning and the loop point is seamless; a one-shot buffer drops them.
class SoundBuffer {
 public:
  enum class Ending { Loop, OneShot };

  SoundBuffer(std::size_t frames, Ending ending)
      : left_(frames, 0.0f), right_(frames, 0.0f), ending_(ending) {}

  std::size_t frames() const { return left_.size(); }
  bool loops() const { return ending_ == Ending::Loop; }

  void add(std::size_t frame, float left, float right) {
    if (frame >= frames()) {
      if (!loops()) return;
      frame %= frames();
    }
    left_[frame] += left;
    right_[frame] += right;
  }

  // Adds a mono sound from `firstFrame` on, at `level`, placed from -1 (left) to 1 (right).
  void mixIn(std::size_t firstFrame, const std::vector<float>& mono, float level, float pan);

  std::vector<float>& left() { return left_; }
  std::vector<float>& right() { return right_; }
  const std::vector<float>& left() const { return left_; }
  const std::vector<float>& right() const { return right_; }

 private:
  std::vector<float> left_;
  std::vector<float> right_;
  Ending ending_;
};

inline std::size_t framesOf(double seconds) {
  return static_cast<std::size_t>(seconds * kSampleRate + 0.5);
}

// Scales the sound so that its largest sample magnitude is `peakDbfs` decibels below full scale.
void normalisePeak(SoundBuffer& sound, float peakDbfs);

}  // namespace resgen
