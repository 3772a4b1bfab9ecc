#pragma once

#include <cstdint>

namespace resgen {

// SplitMix64: a small generator whose output is fixed by its seed on every platform,
// unlike the standard distributions, so generated files are reproducible byte for byte.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform in [0, 1).
  double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

  // Uniform in [low, high).
  double between(double low, double high) { return low + (high - low) * unit(); }

 private:
  std::uint64_t state_;
};

}  // namespace resgen
