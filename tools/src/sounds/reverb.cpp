#include "reverb.h"

#include <array>
#include <cstddef>
#include <vector>

namespace resgen {

namespace {

class DampedComb {
 public:
  explicit DampedComb(std::size_t delay) : line_(delay, 0.0f) {}

  float process(float input) {
    const float output = line_[position_];
    filtered_ = output * (1.0f - kDamping) + filtered_ * kDamping;
    line_[position_] = input + filtered_ * kFeedback;
    position_ = (position_ + 1) % line_.size();
    return output;
  }

 private:
  static constexpr float kFeedback = 0.78f;
  static constexpr float kDamping = 0.3f;  // high frequencies die away faster
  std::vector<float> line_;
  std::size_t position_ = 0;
  float filtered_ = 0.0f;
};

class AllPass {
 public:
  explicit AllPass(std::size_t delay) : line_(delay, 0.0f) {}

  float process(float input) {
    const float delayed = line_[position_];
    line_[position_] = input + delayed * 0.5f;
    position_ = (position_ + 1) % line_.size();
    return delayed - input;
  }

 private:
  std::vector<float> line_;
  std::size_t position_ = 0;
};

class Tank {
 public:
  // `spread` lengthens every delay a little, so the two sides do not ring alike.
  explicit Tank(std::size_t spread)
      : combs_{DampedComb(1116 + spread), DampedComb(1188 + spread), DampedComb(1277 + spread),
               DampedComb(1356 + spread)},
        allPasses_{AllPass(556 + spread), AllPass(441 + spread)} {}

  float process(float input) {
    float sum = 0.0f;
    for (DampedComb& comb : combs_) sum += comb.process(input);
    for (AllPass& allPass : allPasses_) sum = allPass.process(sum);
    return sum;
  }

 private:
  std::array<DampedComb, 4> combs_;
  std::array<AllPass, 2> allPasses_;
};

}  // namespace

void addReverb(SoundBuffer& sound, float wet) {
  constexpr float inputGain = 0.03f;
  Tank leftTank(0), rightTank(23);
  const std::size_t frames = sound.frames();
  std::vector<float> wetLeft(frames), wetRight(frames);
  const int passes = sound.loops() ? 2 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    for (std::size_t i = 0; i < frames; ++i) {
      const float input = (sound.left()[i] + sound.right()[i]) * inputGain;
      wetLeft[i] = leftTank.process(input);
      wetRight[i] = rightTank.process(input);
    }
  }
  for (std::size_t i = 0; i < frames; ++i) {
    sound.left()[i] += wet * wetLeft[i];
    sound.right()[i] += wet * wetRight[i];
  }
}

}  // namespace resgen
