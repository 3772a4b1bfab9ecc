#pragma once

#include <cstddef>
#include <vector>

namespace resgen {

// Per-pixel coverage in [0, 1]: the shape of a layer before it is given a colour.
struct Mask {
  int width = 0;
  int height = 0;
  std::vector<float> coverage;

  Mask(int pixelsWide, int pixelsHigh)
      : width(pixelsWide),
        height(pixelsHigh),
        coverage(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0.0f) {}

  float& at(int x, int y) {
    return coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)];
  }
  float at(int x, int y) const {
    return coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)];
  }
};

// Grows a mask by `radius` pixels (a soft-edged disc dilation); used for outlines and glows.
Mask dilated(const Mask& mask, float radius);

// Gaussian-like blur by three box passes; used for soft glows.
Mask blurred(const Mask& mask, int radius);

}  // namespace resgen
