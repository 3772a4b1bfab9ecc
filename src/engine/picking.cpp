#include "engine/picking.h"

#include <algorithm>
#include <cmath>

#include "engine/drawing.h"
#include "engine/truncate.h"

namespace engine {

namespace {

std::array<float, 4> transform(const std::array<float, 16>& m, const std::array<float, 4>& v) {
  std::array<float, 4> out{};
  for (int row = 0; row < 4; ++row) {
    out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
  }
  return out;
}

// Truncated, as the edge values are: a value in (−1, 0) truncates to 0 and counts as on the
// edge. Comparing before truncating keeps that meaning for values beyond the int32 range.
bool notRightOf(double edge) { return edge > -1.0; }

}  // namespace

std::optional<WindowPoint> projectToWindow(const PickingView& view, float x, float y, float z) {
  const std::array<float, 4> eye = transform(view.modelView, {x, y, z, 1});
  const std::array<float, 4> clip = transform(view.projection, eye);
  if (-eye[2] == 0) return std::nullopt;
  const float k = 1 / -eye[2];
  const float windowX =
      ((clip[0] * k) * 0.5f + 0.5f) * float(view.viewport[2]) + float(view.viewport[0]);
  const float windowY =
      ((clip[1] * k) * 0.5f + 0.5f) * float(view.viewport[3]) + float(view.viewport[1]);
  if (std::isnan(windowX) || std::isnan(windowY)) return std::nullopt;
  return WindowPoint{truncateToInt32(windowX), truncateToInt32(windowY)};
}

bool insideCounterClockwise(WindowPoint a, WindowPoint b, WindowPoint c, double px, double py) {
  auto edge = [px, py](WindowPoint from, WindowPoint to) {
    return (py - from.y) * (double(to.x) - from.x) - (px - from.x) * (double(to.y) - from.y);
  };
  return notRightOf(edge(a, b)) && notRightOf(edge(b, c)) && notRightOf(edge(c, a));
}

std::optional<PickingOutline> outlineOf(std::span<const float> vertices, const PickingView& view) {
  std::optional<PickingOutline> outline;
  for (std::size_t n = 0; 3 * n + 2 < vertices.size(); ++n) {
    const auto point =
        projectToWindow(view, vertices[3 * n], vertices[3 * n + 1], vertices[3 * n + 2]);
    if (!point) continue;
    if (!outline) {
      outline = PickingOutline{0, point->x, point->y, point->x, point->y};
      continue;
    }
    outline->left = std::min(outline->left, point->x);
    outline->right = std::max(outline->right, point->x);
    outline->bottom = std::min(outline->bottom, point->y);
    outline->top = std::max(outline->top, point->y);
  }
  return outline;
}

bool hitsPolygon(std::uint32_t mode, std::span<const float> vertices, const PickingView& view,
                 double px, double py) {
  const std::size_t vertexCount = vertices.size() / 3;
  auto hits = [&](std::size_t i, std::size_t j, std::size_t k) {
    auto project = [&](std::size_t n) {
      return projectToWindow(view, vertices[3 * n], vertices[3 * n + 1], vertices[3 * n + 2]);
    };
    const auto a = project(i);
    const auto b = project(j);
    const auto c = project(k);
    return a && b && c && insideCounterClockwise(*a, *b, *c, px, py);
  };

  switch (mode) {
    case gl_values::kTriangles:
      for (std::size_t m = 0; 3 * m + 2 < vertexCount; ++m) {
        if (hits(3 * m, 3 * m + 1, 3 * m + 2)) return true;
      }
      return false;
    case gl_values::kTriangleFan:
      for (std::size_t j = 1; j + 1 < vertexCount; ++j) {
        if (hits(0, j, j + 1)) return true;
      }
      return false;
    case gl_values::kTriangleStrip:
      // Odd triangles of a strip run the other way round; swapping their last two vertices
      // gives every triangle the winding of the first, as GL draws them.
      for (std::size_t j = 0; j + 2 < vertexCount; ++j) {
        const bool even = j % 2 == 0;
        if (hits(j, even ? j + 1 : j + 2, even ? j + 2 : j + 1)) return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace engine
