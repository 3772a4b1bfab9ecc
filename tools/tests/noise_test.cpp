#include "noise.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The grass and the sky rely on this: noise that repeats exactly one picture-width and
// one picture-height on, at every octave, stays seamless when the picture is tiled.
TEST(TileableNoise, RepeatsAfterOneWholePictureInBothDirections) {
  const resgen::TileableNoise noise(3, 5, 3, 6);
  float lowest = 1.0f, highest = -1.0f;
  for (float u = 0.0f; u < 1.0f; u += 0.0371f) {
    for (float v = 0.0f; v < 1.0f; v += 0.0413f) {
      const float value = noise.at(u, v);
      EXPECT_NEAR(value, noise.at(u + 1.0f, v), 1e-4f);
      EXPECT_NEAR(value, noise.at(u, v + 1.0f), 1e-4f);
      EXPECT_NEAR(value, noise.at(u - 1.0f, v - 1.0f), 1e-4f);
      lowest = std::min(lowest, value);
      highest = std::max(highest, value);
    }
  }
  EXPECT_GE(lowest, -1.0f);
  EXPECT_LE(highest, 1.0f);
  EXPECT_GT(highest - lowest, 0.5f) << "noise that hardly varies would make flat pictures";
}

}  // namespace
