#include "noise.h"

#include <cmath>

namespace resgen {

namespace {

int wrapped(int index, int period) {
  const int r = index % period;
  return r < 0 ? r + period : r;
}

// Lattice value in [-1, 1], a pure function of its position, octave and seed.
float latticeValue(int x, int y, std::uint64_t salt) {
  std::uint64_t h = salt ^ (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32) ^
                    static_cast<std::uint32_t>(y);
  h = (h ^ (h >> 33)) * 0xFF51AFD7ED558CCDull;
  h = (h ^ (h >> 33)) * 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return static_cast<float>(static_cast<double>(h >> 11) * 0x1.0p-52 - 1.0);
}

float smoothstep(float t) { return t * t * (3.0f - 2.0f * t); }

}  // namespace

TileableNoise::TileableNoise(std::uint64_t seed, int cellsX, int cellsY, int octaves,
                             float persistence)
    : seed_(seed), cellsX_(cellsX), cellsY_(cellsY), octaves_(octaves), persistence_(persistence) {}

float TileableNoise::at(float u, float v) const {
  float sum = 0.0f;
  float weight = 1.0f;
  float totalWeight = 0.0f;
  for (int i = 0; i < octaves_; ++i) {
    const std::uint64_t salt = seed_ * 0x9E3779B97F4A7C15ull + static_cast<std::uint64_t>(i);
    sum += weight * octave(u, v, cellsX_ << i, cellsY_ << i, salt);
    totalWeight += weight;
    weight *= persistence_;
  }
  return sum / totalWeight;
}

float TileableNoise::octave(float u, float v, int cellsX, int cellsY, std::uint64_t salt) const {
  const float fx = u * static_cast<float>(cellsX);
  const float fy = v * static_cast<float>(cellsY);
  const int x0 = static_cast<int>(std::floor(fx));
  const int y0 = static_cast<int>(std::floor(fy));
  const float tx = smoothstep(fx - static_cast<float>(x0));
  const float ty = smoothstep(fy - static_cast<float>(y0));
  const int xa = wrapped(x0, cellsX), xb = wrapped(x0 + 1, cellsX);
  const int ya = wrapped(y0, cellsY), yb = wrapped(y0 + 1, cellsY);
  const float top =
      latticeValue(xa, ya, salt) + (latticeValue(xb, ya, salt) - latticeValue(xa, ya, salt)) * tx;
  const float bottom =
      latticeValue(xa, yb, salt) + (latticeValue(xb, yb, salt) - latticeValue(xa, yb, salt)) * tx;
  return top + (bottom - top) * ty;
}

}  // namespace resgen
