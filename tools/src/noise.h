#pragma once

#include <cstdint>

namespace resgen {

// Smooth value noise that repeats with a whole number of lattice cells across the picture,
// so a picture built from it tiles without a seam. Coordinates are fractions of the picture
// (0 to 1 across), values lie in [-1, 1].
class TileableNoise {
 public:
  // `cellsX` x `cellsY` lattice cells across the picture at the coarsest octave; every
  // further octave doubles both, halving its weight by `persistence`.
  TileableNoise(std::uint64_t seed, int cellsX, int cellsY, int octaves, float persistence = 0.5f);

  float at(float u, float v) const;

 private:
  float octave(float u, float v, int cellsX, int cellsY, std::uint64_t salt) const;

  std::uint64_t seed_;
  int cellsX_;
  int cellsY_;
  int octaves_;
  float persistence_;
};

}  // namespace resgen
