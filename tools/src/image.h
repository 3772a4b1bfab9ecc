#pragma once

#include <cstdint>
#include <vector>

#include "colour.h"

namespace resgen {

// A picture as it is written to disk: 8-bit samples, interleaved, top row first.
struct Image {
  int width = 0;
  int height = 0;
  int channels = 0;  // 3 (RGB) or 4 (RGBA)
  std::vector<std::uint8_t> samples;

  Image(int width, int height, int channels);

  std::uint8_t* pixel(int x, int y);
  // Sets the colour samples of a pixel, leaving its alpha alone.
  void setColour(int x, int y, Colour colour);
};

// Rounds a value in [0, 1] to an 8-bit sample, clamping anything outside.
std::uint8_t toSample(float value);

}  // namespace resgen
