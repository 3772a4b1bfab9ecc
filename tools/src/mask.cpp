#include "mask.h"

#include <algorithm>
#include <cmath>

namespace resgen {

Mask dilated(const Mask& mask, float radius) {
  Mask grown(mask.width, mask.height);
  const int reach = static_cast<int>(std::ceil(radius)) + 1;
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      float best = 0.0f;
      for (int dy = -reach; dy <= reach && best < 1.0f; ++dy) {
        const int sy = y + dy;
        if (sy < 0 || sy >= mask.height) continue;
        for (int dx = -reach; dx <= reach; ++dx) {
          const int sx = x + dx;
          if (sx < 0 || sx >= mask.width) continue;
          const float distance = std::hypot(static_cast<float>(dx), static_cast<float>(dy));
          // Full weight inside the radius, fading over one pixel beyond it.
          const float weight = std::clamp(radius + 1.0f - distance, 0.0f, 1.0f);
          best = std::max(best, mask.at(sx, sy) * weight);
        }
      }
      grown.at(x, y) = best;
    }
  }
  return grown;
}

namespace {

Mask boxBlurredAlongRows(const Mask& mask, int radius) {
  Mask out(mask.width, mask.height);
  const float norm = 1.0f / static_cast<float>(2 * radius + 1);
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      float sum = 0.0f;
      for (int dx = -radius; dx <= radius; ++dx) {
        const int sx = x + dx;
        if (sx >= 0 && sx < mask.width) sum += mask.at(sx, y);
      }
      out.at(x, y) = sum * norm;
    }
  }
  return out;
}

Mask transposed(const Mask& mask) {
  Mask out(mask.height, mask.width);
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x) out.at(y, x) = mask.at(x, y);
  return out;
}

}  // namespace

Mask blurred(const Mask& mask, int radius) {
  Mask result = mask;
  for (int pass = 0; pass < 3; ++pass) {
    result =
        transposed(boxBlurredAlongRows(transposed(boxBlurredAlongRows(result, radius)), radius));
  }
  return result;
}

}  // namespace resgen
