#pragma once

#include <functional>
#include <vector>

#include "mask.h"

namespace resgen {

struct Point {
  float x = 0.0f;
  float y = 0.0f;
};

// Signed distance in pixels from a point to a shape's edge: negative inside.
using SignedDistance = std::function<float(Point)>;

// Coverage of a shape, anti-aliased over one pixel around its edge. The shape is measured
// in design units of which the picture has `pixelsPerUnit` per unit, so a design can be
// drawn at any resolution.
Mask shapeMask(int width, int height, const SignedDistance& shape, float pixelsPerUnit = 1.0f);

float distanceToSegment(Point p, Point a, Point b);
float distanceToPolyline(Point p, const std::vector<Point>& points);
// Negative inside the (simple, closed) polygon.
float signedDistanceToPolygon(Point p, const std::vector<Point>& corners);
// Box centred on `centre` with half extents `half`, corners rounded by `radius`.
float signedDistanceToRoundedBox(Point p, Point centre, Point half, float radius);

// Points along a quadratic Bezier curve from `from` to `to` pulled towards `control`.
std::vector<Point> quadraticCurve(Point from, Point control, Point to, int segments);

}  // namespace resgen
