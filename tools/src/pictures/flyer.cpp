#include "flyer.h"

namespace resgen {

const std::vector<FlyerTriangle>& flyerTriangles() {
  static const std::vector<FlyerTriangle> triangles = {
      {{0, 1.5f}, {-3, -1.5f}, {-1, -0.5f}, hexColour(0x3FA9F5)},
      {{0, 1.5f}, {-1, -0.5f}, {0, -1.5f}, hexColour(0xFFD23F)},
      {{0, 1.5f}, {0, -1.5f}, {1, -0.5f}, hexColour(0xFF5A4E)},
      {{0, 1.5f}, {1, -0.5f}, {3, -1.5f}, hexColour(0xA66BE0)},
  };
  return triangles;
}

}  // namespace resgen
