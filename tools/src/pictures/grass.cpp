#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "../colour.h"
#include "../noise.h"
#include "../random.h"
#include "../shapes.h"
#include "pictures.h"

namespace resgen {

namespace {

constexpr int kSize = 256;
constexpr int kBladeCount = 9000;

// Opaque colour buffer that wraps at its edges: whatever is painted past one edge comes
// back in at the opposite one, which is what makes the picture tile without a seam.
class WrappingSurface {
 public:
  WrappingSurface() : pixels_(static_cast<std::size_t>(kSize * kSize)) {}

  Colour& at(int x, int y) {
    const int wx = ((x % kSize) + kSize) % kSize;
    const int wy = ((y % kSize) + kSize) % kSize;
    return pixels_[static_cast<std::size_t>(wy * kSize + wx)];
  }

  void blend(int x, int y, Colour colour, float alpha) {
    Colour& pixel = at(x, y);
    pixel = mix(pixel, colour, alpha);
  }

 private:
  std::vector<Colour> pixels_;
};

void paintSoil(WrappingSurface& surface) {
  const TileableNoise lawn(11, 4, 4, 5, 0.55f);
  const TileableNoise patches(12, 2, 2, 3, 0.5f);
  const Colour deep = hexColour(0x2C6A1E), bright = hexColour(0x4E9630), dry = hexColour(0x86A23C);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const float u = static_cast<float>(x) / kSize, v = static_cast<float>(y) / kSize;
      const float shade = std::clamp(0.5f + 0.9f * lawn.at(u, v), 0.0f, 1.0f);
      const float dryness = std::clamp(patches.at(u, v) * 1.6f - 0.15f, 0.0f, 0.35f);
      surface.at(x, y) = mix(mix(deep, bright, shade), dry, dryness);
    }
  }
}

// Thin blades in every direction (the lawn is seen from above), each lighter or darker
// than the ground under it; overlapping thousands of them gives the lawn its texture.
void paintBlades(WrappingSurface& surface) {
  Random random(2024);
  const Colour tones[] = {hexColour(0x6DB83F), hexColour(0x3F8A2A), hexColour(0x9CCB55),
                          hexColour(0x245A18), hexColour(0x58A636)};
  for (int i = 0; i < kBladeCount; ++i) {
    const Point root{static_cast<float>(random.between(0, kSize)),
                     static_cast<float>(random.between(0, kSize))};
    const float angle = static_cast<float>(random.between(0, 2 * std::numbers::pi));
    const float length = static_cast<float>(random.between(4.0, 11.0));
    const float halfWidth = static_cast<float>(random.between(0.35, 0.8));
    const float opacity = static_cast<float>(random.between(0.35, 0.8));
    const Colour tone = tones[random.next() % std::size(tones)];
    const Point tip{root.x + std::cos(angle) * length, root.y + std::sin(angle) * length};

    const int left = static_cast<int>(std::floor(std::min(root.x, tip.x) - 2));
    const int right = static_cast<int>(std::ceil(std::max(root.x, tip.x) + 2));
    const int top = static_cast<int>(std::floor(std::min(root.y, tip.y) - 2));
    const int bottom = static_cast<int>(std::ceil(std::max(root.y, tip.y) + 2));
    for (int y = top; y <= bottom; ++y) {
      for (int x = left; x <= right; ++x) {
        const Point centre{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
        const float coverage =
            std::clamp(0.5f + halfWidth - distanceToSegment(centre, root, tip), 0.0f, 1.0f);
        if (coverage > 0.0f) surface.blend(x, y, tone, coverage * opacity);
      }
    }
  }
}

}  // namespace

Image makeGrass() {
  WrappingSurface surface;
  paintSoil(surface);
  paintBlades(surface);
  Image image(kSize, kSize, 3);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const Colour colour = surface.at(x, y);
      image.setColour(x, y, colour);
    }
  }
  return image;
}

}  // namespace resgen
