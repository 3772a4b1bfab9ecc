// Where the picture of a given ratio goes inside the view, and the frustum that matches it.
#pragma once

#include <cstdint>

namespace engine {

struct ViewportPlacement {
  // The GL viewport, each value truncated toward zero.
  std::int32_t x = 0, y = 0, width = 0, height = 0;
  // Frustum sides at the near plane (distance 1): the corners lie on the unit circle, so the
  // diagonal field of view is 90 degrees and the near plane has the viewport's proportions.
  float left = 0, right = 0, bottom = 0, top = 0;
};

// For a view frame at (frameX, frameY) of frameWidth × frameHeight and the ratio
// ratioWidth : ratioHeight: the picture fills the view's width or height, with equal bars on
// the other two sides, or the whole frame when the ratios are equal.
ViewportPlacement placeViewport(double frameX, double frameY, double frameWidth, double frameHeight,
                                double ratioWidth, double ratioHeight);

}  // namespace engine
