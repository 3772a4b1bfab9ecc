#include "image.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace resgen {

Image::Image(int width, int height, int channels)
    : width(width),
      height(height),
      channels(channels),
      samples(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
              static_cast<std::size_t>(channels)) {}

std::uint8_t* Image::pixel(int x, int y) {
    return samples.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                             static_cast<std::size_t>(x)) *
                                static_cast<std::size_t>(channels);
}

std::uint8_t toSample(float value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

}  // namespace resgen
