#include <algorithm>
#include <cmath>

#include "pictures.h"

namespace resgen {

Image makeShadow() {
  constexpr int width = 128, height = 64;
  // Darkest at the centre; alpha reaches 0 a little inside the border so that
  // linear filtering with repeat wrapping never bleeds the shadow across an edge.
  constexpr float centreAlpha = 0.85f;
  constexpr float edgeRadius = 0.94f;

  Image shadow(width, height, 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const float dx = (static_cast<float>(x) + 0.5f) / (width / 2.0f) - 1.0f;
      const float dy = (static_cast<float>(y) + 0.5f) / (height / 2.0f) - 1.0f;
      const float radius = std::sqrt(dx * dx + dy * dy) / edgeRadius;
      const float falloff = std::clamp(1.0f - radius * radius, 0.0f, 1.0f);
      std::uint8_t* pixel = shadow.pixel(x, y);
      pixel[0] = pixel[1] = pixel[2] = 0;
      pixel[3] = toSample(centreAlpha * falloff * falloff);
    }
  }
  return shadow;
}

}  // namespace resgen
