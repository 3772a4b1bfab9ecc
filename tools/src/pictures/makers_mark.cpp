#include <algorithm>
#include <cmath>
#include <vector>

#include "../canvas.h"
#include "../shapes.h"
#include "../text.h"
#include "pictures.h"

namespace resgen {

namespace {

// Laid out on a 512 x 256 design grid, drawn at twice that so that it stays sharp when
// the splash fills a large window.
constexpr float kScale = 2.0f;
constexpr int kWidth = 1024;
constexpr int kHeight = 512;
constexpr float kStroke = 2.5f;  // half the width of every emblem line

const Colour kLine = hexColour(0x4FD1E8);
const Colour kDecision = hexColour(0xFFD23F);
const Colour kShapeFill = hexColour(0x10354A);

Mask designMask(const SignedDistance& shape) { return shapeMask(kWidth, kHeight, shape, kScale); }

Mask outlineOf(const SignedDistance& shape) {
  return designMask([&](Point p) { return std::abs(shape(p)) - kStroke; });
}

// A line from `from` to `to` ending in an arrowhead at `to`.
Mask arrow(Point from, Point to) {
  const float length = std::hypot(to.x - from.x, to.y - from.y);
  const Point along{(to.x - from.x) / length, (to.y - from.y) / length};
  const Point across{-along.y, along.x};
  constexpr float headLength = 11.0f, headHalfWidth = 7.0f;
  const Point base{to.x - along.x * headLength, to.y - along.y * headLength};
  const std::vector<Point> head = {
      to,
      {base.x + across.x * headHalfWidth, base.y + across.y * headHalfWidth},
      {base.x - across.x * headHalfWidth, base.y - across.y * headHalfWidth}};
  return designMask([&](Point p) {
    return std::min(distanceToSegment(p, from, base) - kStroke, signedDistanceToPolygon(p, head));
  });
}

// A start box, a decision diamond and its two outcomes: the shape of a chart.
void paintFlowchartEmblem(Canvas& canvas) {
  const SignedDistance start = [](Point p) {
    return signedDistanceToRoundedBox(p, {118, 46}, {46, 18}, 18);
  };
  const std::vector<Point> diamondCorners = {{118, 98}, {156, 130}, {118, 162}, {80, 130}};
  const SignedDistance decision = [&](Point p) {
    return signedDistanceToPolygon(p, diamondCorners);
  };
  const SignedDistance yes = [](Point p) {
    return signedDistanceToRoundedBox(p, {50, 212}, {30, 18}, 4);
  };
  const SignedDistance no = [](Point p) {
    return signedDistanceToRoundedBox(p, {186, 212}, {30, 18}, 4);
  };

  for (const SignedDistance* box : {&start, &yes, &no}) {
    canvas.paintOver(designMask(*box), kShapeFill);
    canvas.paintOver(outlineOf(*box), kLine);
  }
  canvas.paintOver(designMask(decision), kShapeFill);
  canvas.paintOver(outlineOf(decision), kDecision);

  canvas.paintOver(arrow({118, 67}, {118, 95}), kLine);
  const std::vector<Point> leftPath = {{77, 130}, {50, 130}, {50, 190}};
  const std::vector<Point> rightPath = {{159, 130}, {186, 130}, {186, 190}};
  // Out of the diamond's side corners, then down into the outcomes.
  for (const auto& path : {leftPath, rightPath}) {
    canvas.paintOver(
        designMask([&](Point p) { return distanceToSegment(p, path[0], path[1]) - kStroke; }),
        kLine);
    canvas.paintOver(arrow(path[1], path[2]), kLine);
  }
}

void paintWords(Canvas& canvas, FontFace& font) {
  constexpr float centreX = 368.0f;
  Mask madeWith(kWidth, kHeight);
  font.setPixelSize(static_cast<int>(30 * kScale));
  drawTextCentred(madeWith, font, "MADE WITH", {centreX * kScale, 92.0f * kScale}, 5.0f * kScale);
  canvas.paintOver(madeWith, hexColour(0xA9C4D8));

  Mask charts(kWidth, kHeight);
  fitTextSize(font, "CHARTS", 3.0f * kScale, 250.0f * kScale, 64.0f * kScale,
              static_cast<int>(72 * kScale));
  drawTextCentred(charts, font, "CHARTS", {centreX * kScale, 150.0f * kScale}, 3.0f * kScale);
  canvas.paintOver(blurred(dilated(charts, 2.0f * kScale), 4 * static_cast<int>(kScale)),
                   hexColour(0x1C8FB0), 0.5f);
  const Paint gradient = [](int, int y) {
    const float t = std::clamp((static_cast<float>(y) / kScale - 120.0f) / 60.0f, 0.0f, 1.0f);
    return mix(hexColour(0xFFFFFF), kLine, t);
  };
  canvas.paintOver(charts, gradient);

  // A rule under the words, echoing the emblem's lines.
  canvas.paintOver(designMask([](Point p) {
                     return distanceToSegment(p, {258, 198}, {478, 198}) - 1.5f;
                   }),
                   kLine, 0.6f);
}

}  // namespace

Image makeMakersMark(FontFace& font) {
  Canvas canvas(kWidth, kHeight);
  paintFlowchartEmblem(canvas);
  paintWords(canvas, font);
  return canvas.toPremultipliedRgba();
}

}  // namespace resgen
