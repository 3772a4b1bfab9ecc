#include <algorithm>
#include <cmath>
#include <vector>

#include "../canvas.h"
#include "../shapes.h"
#include "flyer.h"
#include "pictures.h"

namespace resgen {

namespace {

// Laid out on a 256 x 256 design grid and drawn at any size from it.
constexpr float kGrid = 256.0f;

// The flyer climbing towards the upper right as on the title logo, its outline centred on the tile.
constexpr Point kFlyerCentre{156.0f, 100.0f};
constexpr float kFlyerScale = 32.0f;
constexpr float kFlyerHeading = 0.95f;  // radians, clockwise from straight up

Point flyerToGrid(Point p) {
  const float c = std::cos(kFlyerHeading), s = std::sin(kFlyerHeading);
  const float x = p.x * c + p.y * s;
  const float y = -p.x * s + p.y * c;
  return {kFlyerCentre.x + x * kFlyerScale, kFlyerCentre.y - y * kFlyerScale};
}

}  // namespace

Image makeAppIcon(int size) {
  const float pixelsPerUnit = static_cast<float>(size) / kGrid;
  const auto mask = [&](const SignedDistance& shape) {
    return shapeMask(size, size, shape, pixelsPerUnit);
  };
  Canvas canvas(size, size);

  // A rounded sky tile with the margin desktop icon themes leave around square icons.
  const Paint sky = [&](int, int y) {
    const float t = std::clamp(static_cast<float>(y) / static_cast<float>(size), 0.0f, 1.0f);
    return mix(hexColour(0x8FD0FF), hexColour(0x2E8FE0), t);
  };
  canvas.paintOver(mask([](Point p) {
                     return signedDistanceToRoundedBox(p, {128, 128}, {112, 112}, 40);
                   }),
                   sky);

  // Each triangle reaches half a pixel under its neighbours, so no seam shows between them.
  const float overlap = 0.5f / pixelsPerUnit;
  for (const FlyerTriangle& triangle : flyerTriangles()) {
    const std::vector<Point> corners = {flyerToGrid(triangle.a), flyerToGrid(triangle.b),
                                        flyerToGrid(triangle.c)};
    canvas.paintOver(mask([&](Point p) { return signedDistanceToPolygon(p, corners) - overlap; }),
                     triangle.colour);
  }
  return canvas.toStraightRgba();
}

}  // namespace resgen
