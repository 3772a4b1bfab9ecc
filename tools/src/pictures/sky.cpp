#include <algorithm>
#include <cmath>

#include "../colour.h"
#include "../noise.h"
#include "pictures.h"

namespace resgen {

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 512;

// Height measured up from the horizon: 0 at the bottom edge, 1 at the top.
float altitudeOf(int y) { return 1.0f - (static_cast<float>(y) + 0.5f) / kHeight; }

Colour skyAt(float altitude) {
  const Colour horizon = hexColour(0xDCEFFB), middle = hexColour(0x7DB6EC),
               zenith = hexColour(0x2F6BC9);
  if (altitude < 0.45f) return mix(horizon, middle, std::pow(altitude / 0.45f, 0.8f));
  return mix(middle, zenith, (altitude - 0.45f) / 0.55f);
}

float smooth(float low, float high, float value) {
  const float t = std::clamp((value - low) / (high - low), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

// Cloud cover in [0, 1]: most clouds float in the middle band, thinning towards the
// horizon (distance) and towards the top.
class Clouds {
 public:
  float densityAt(float u, float altitude) const {
    const float band = smooth(0.08f, 0.35f, altitude) * (1.0f - smooth(0.75f, 1.0f, altitude));
    const float value = shapes_.at(u, 1.0f - altitude) + 0.25f * band - 0.16f;
    return smooth(0.0f, 0.45f, value) * band;
  }

  // Puffs inside a cloud, lighter and darker.
  float billowAt(float u, float altitude) const { return billows_.at(u, 1.0f - altitude); }

 private:
  // Wider than tall: clouds stretch along the horizon. The picture is shown squeezed
  // to 3 : 1, so they are drawn taller than they will appear.
  TileableNoise shapes_{7, 5, 4, 6, 0.55f};
  TileableNoise billows_{8, 16, 12, 3, 0.5f};
};

}  // namespace

Image makeSky() {
  const Clouds clouds;
  const Colour lit = hexColour(0xFFFFFF), shaded = hexColour(0xB7C6DA);
  constexpr float lightOffset = 0.03f;  // sunlight comes from above: compare with cover higher up

  Image image(kWidth, kHeight, 3);
  for (int y = 0; y < kHeight; ++y) {
    const float altitude = altitudeOf(y);
    const Colour sky = skyAt(altitude);
    for (int x = 0; x < kWidth; ++x) {
      const float u = static_cast<float>(x) / kWidth;
      const float density = clouds.densityAt(u, altitude);
      const float above = clouds.densityAt(u, altitude + lightOffset);
      const float shadow = std::clamp(
          (above - density) * 2.0f + density * 0.2f + 0.35f * clouds.billowAt(u, altitude), 0.0f,
          1.0f);
      const Colour cloud = mix(lit, shaded, shadow);
      const Colour colour = mix(sky, cloud, density * 0.95f);
      image.setColour(x, y, colour);
    }
  }
  return image;
}

}  // namespace resgen
