// The mouse hit test: a polygon's triangles projected to the window with the matrices and
// viewport in force, tested against a point.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace engine {

struct PickingView {
  std::array<std::int32_t, 4> viewport{};  // x, y, width, height
  std::array<float, 16> modelView{};       // column-major
  std::array<float, 16> projection{};      // column-major
};

struct WindowPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// The window position of object point (x, y, z), truncated to whole pixels; none for a point
// in the eye's plane (eye z = 0), which has no projection.
std::optional<WindowPoint> projectToWindow(const PickingView& view, float x, float y, float z);

// True when (px, py) lies inside or on an edge of triangle a b c running counter-clockwise in
// the window (y up). Clockwise triangles are never hit.
bool insideCounterClockwise(WindowPoint a, WindowPoint b, WindowPoint c, double px, double py);

// Where a polygon tested for picking lay in the window: the box around its projected vertices,
// in window pixels with y up.
struct PickingOutline {
  std::int32_t pickingIndex = 0;
  std::int32_t left = 0, bottom = 0, right = 0, top = 0;

  double centerX() const { return (double(left) + right) / 2; }
  double centerY() const { return (double(bottom) + top) / 2; }
};

// The outline of `vertices` (x y z each) as `view` projects them; none when no vertex projects.
std::optional<PickingOutline> outlineOf(std::span<const float> vertices, const PickingView& view);

// True when (px, py) hits one of the triangles that a polygon of GL primitive `mode` forms from
// `vertices` (x y z each): triangles, fans and strips, strips with every triangle turned to the
// winding of the first. Points and lines have no triangles.
bool hitsPolygon(std::uint32_t mode, std::span<const float> vertices, const PickingView& view,
                 double px, double py);

}  // namespace engine
