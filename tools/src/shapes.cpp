#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace resgen {

Mask shapeMask(int width, int height, const SignedDistance& shape, float pixelsPerUnit) {
  Mask mask(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Point centre{(static_cast<float>(x) + 0.5f) / pixelsPerUnit,
                         (static_cast<float>(y) + 0.5f) / pixelsPerUnit};
      const float distance = shape(centre) * pixelsPerUnit;
      mask.at(x, y) = std::clamp(0.5f - distance, 0.0f, 1.0f);
    }
  }
  return mask;
}

float distanceToSegment(Point p, Point a, Point b) {
  const float abx = b.x - a.x, aby = b.y - a.y;
  const float lengthSquared = abx * abx + aby * aby;
  float t = lengthSquared > 0.0f ? ((p.x - a.x) * abx + (p.y - a.y) * aby) / lengthSquared : 0.0f;
  t = std::clamp(t, 0.0f, 1.0f);
  return std::hypot(p.x - (a.x + abx * t), p.y - (a.y + aby * t));
}

float distanceToPolyline(Point p, const std::vector<Point>& points) {
  float best = std::numeric_limits<float>::max();
  for (std::size_t i = 1; i < points.size(); ++i) {
    best = std::min(best, distanceToSegment(p, points[i - 1], points[i]));
  }
  return best;
}

float signedDistanceToPolygon(Point p, const std::vector<Point>& corners) {
  float best = std::numeric_limits<float>::max();
  bool inside = false;
  for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
    const Point a = corners[j], b = corners[i];
    best = std::min(best, distanceToSegment(p, a, b));
    // Even-odd crossing test along a horizontal ray.
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
      inside = !inside;
    }
  }
  return inside ? -best : best;
}

float signedDistanceToRoundedBox(Point p, Point centre, Point half, float radius) {
  const float qx = std::abs(p.x - centre.x) - half.x + radius;
  const float qy = std::abs(p.y - centre.y) - half.y + radius;
  const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  const float inside = std::min(std::max(qx, qy), 0.0f);
  return outside + inside - radius;
}

std::vector<Point> quadraticCurve(Point from, Point control, Point to, int segments) {
  std::vector<Point> points;
  points.reserve(static_cast<std::size_t>(segments) + 1);
  for (int i = 0; i <= segments; ++i) {
    const float t = static_cast<float>(i) / static_cast<float>(segments);
    const float a = (1 - t) * (1 - t), b = 2 * (1 - t) * t, c = t * t;
    points.push_back(
        {a * from.x + b * control.x + c * to.x, a * from.y + b * control.y + c * to.y});
  }
  return points;
}

}  // namespace resgen
