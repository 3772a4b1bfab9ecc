#include <algorithm>
#include <cmath>
#include <vector>

#include "../canvas.h"
#include "../shapes.h"
#include "../text.h"
#include "flyer.h"
#include "pictures.h"

namespace resgen {

namespace {

// Laid out on a 1024 x 256 design grid, drawn at twice that: the splash fills most of the
// window's width, and a large window would otherwise show it blurred.
constexpr float kScale = 2.0f;
constexpr int kWidth = 2048;
constexpr int kHeight = 512;

Mask designMask(const SignedDistance& shape) { return shapeMask(kWidth, kHeight, shape, kScale); }

Point designPoint(int x, int y) {
  return {static_cast<float>(x) / kScale, static_cast<float>(y) / kScale};
}

// Maps flyer units onto the design grid: scaled, turned to climb towards the upper right,
// and placed left of the title.
struct FlyerPlacement {
  Point centre{206, 116};
  float scale = 34.0f;
  float heading = 0.95f;  // radians, clockwise from straight up

  Point toPixels(Point p) const {
    const float c = std::cos(heading), s = std::sin(heading);
    const float x = p.x * c + p.y * s;
    const float y = -p.x * s + p.y * c;
    return {centre.x + x * scale, centre.y - y * scale};
  }
};

void paintContrail(Canvas& canvas, const FlyerPlacement& flyer) {
  // The path the flyer took: level along the ground at first, then curving up into the
  // climb; it fades out with distance behind the keel.
  const Point near = flyer.toPixels({0.0f, -1.7f});
  const Point far{36.0f, 222.0f};
  const Point bend{near.x - 40.0f, far.y};
  const std::vector<Point> trail = quadraticCurve(near, bend, far, 32);
  const float span = std::hypot(far.x - near.x, far.y - near.y);
  const Mask mask = designMask([&](Point p) {
    // Thinner towards the far end.
    const float along = std::clamp(std::hypot(p.x - near.x, p.y - near.y) / span, 0.0f, 1.0f);
    return distanceToPolyline(p, trail) - (4.0f - 2.5f * along);
  });
  const Paint fade = [&](int x, int y) {
    const Point p = designPoint(x, y);
    const float along = std::hypot(p.x - near.x, p.y - near.y) / span;
    return scaled(hexColour(0xBDE6FF), std::clamp(1.0f - along, 0.0f, 1.0f));
  };
  canvas.paintOver(mask, fade, 0.9f);
}

void paintFlyer(Canvas& canvas, const FlyerPlacement& flyer) {
  for (const FlyerTriangle& triangle : flyerTriangles()) {
    const std::vector<Point> corners = {flyer.toPixels(triangle.a), flyer.toPixels(triangle.b),
                                        flyer.toPixels(triangle.c)};
    // Each triangle reaches a little under its neighbours, so that no dark hairline
    // shows where two anti-aliased edges meet.
    canvas.paintOver(
        designMask([&](Point p) { return signedDistanceToPolygon(p, corners) - 0.4f; }),
        triangle.colour);
  }
}

void paintTitle(Canvas& canvas, FontFace& font) {
  constexpr std::string_view title = "ALOFT";
  constexpr float tracking = 10.0f;
  fitTextSize(font, title, tracking * kScale, 640.0f * kScale, 160.0f * kScale, 520);
  Mask letters(kWidth, kHeight);
  drawTextCentred(letters, font, title, {660.0f * kScale, 128.0f * kScale}, tracking * kScale);

  // A soft sky-blue glow behind white letters that deepen to sky blue at their feet.
  canvas.paintOver(blurred(dilated(letters, 3.0f * kScale), 6 * static_cast<int>(kScale)),
                   hexColour(0x2E8FE0), 0.55f);
  const Paint sky = [](int x, int y) {
    const float t = std::clamp((designPoint(x, y).y - 56.0f) / 150.0f, 0.0f, 1.0f);
    return mix(hexColour(0xFFFFFF), hexColour(0x5CB8FF), t * t);
  };
  canvas.paintOver(letters, sky);
}

}  // namespace

Image makeTitleLogo(FontFace& font) {
  Canvas canvas(kWidth, kHeight);
  const FlyerPlacement flyer;
  paintContrail(canvas, flyer);
  paintFlyer(canvas, flyer);
  paintTitle(canvas, font);
  return canvas.toPremultipliedRgba();
}

}  // namespace resgen
