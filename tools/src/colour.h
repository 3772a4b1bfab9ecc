#pragma once

namespace resgen {

struct Colour {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
};

// Colour from a 0xRRGGBB literal, so palettes read like the colour pickers they came from.
constexpr Colour hexColour(unsigned rgb) {
  return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
          static_cast<float>((rgb >> 8) & 0xFF) / 255.0f, static_cast<float>(rgb & 0xFF) / 255.0f};
}

constexpr Colour mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

constexpr Colour scaled(Colour c, float factor) {
  return {c.r * factor, c.g * factor, c.b * factor};
}

}  // namespace resgen
