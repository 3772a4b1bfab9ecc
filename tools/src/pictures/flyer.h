#pragma once

#include <vector>

#include "../colour.h"
#include "../shapes.h"

namespace resgen {

// The flyer as the game builds it, seen from above: nose, wing tips, inner wing roots and
// keel, in the game's own units (nose up the y axis, wing span 6).
struct FlyerTriangle {
  Point a, b, c;
  Colour colour;
};

const std::vector<FlyerTriangle>& flyerTriangles();

}  // namespace resgen
