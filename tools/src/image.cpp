#include "image.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace resgen {

Image::Image(int pixelsWide, int pixelsHigh, int channelCount)
    : width(pixelsWide),
      height(pixelsHigh),
      channels(channelCount),
      samples(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
              static_cast<std::size_t>(channels)) {}

std::uint8_t* Image::pixel(int x, int y) {
  return samples.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                           static_cast<std::size_t>(x)) *
                              static_cast<std::size_t>(channels);
}

void Image::setColour(int x, int y, Colour colour) {
  std::uint8_t* rgb = pixel(x, y);
  rgb[0] = toSample(colour.r);
  rgb[1] = toSample(colour.g);
  rgb[2] = toSample(colour.b);
}

std::uint8_t toSample(float value) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

}  // namespace resgen
