// What the polygon store keeps for one polygon and for one polygon registered for picking.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace engine {

// Packed 32-bit floats, converted once when the data is added or replaced, handed to GL as they
// are: x y z per vertex, r g b a per colour, x y z per normal, s −t per texture coordinate.
using FloatBuffer = std::vector<float>;

struct PolygonRecord {
  // Shared with the picking entries made from this polygon: a range replacement writes into
  // this very buffer and is seen by picking; a whole replacement installs a new one.
  std::shared_ptr<FloatBuffer> vertices;
  FloatBuffer colors;
  FloatBuffer normals;
  FloatBuffer textures;
  // The float counts as given when the polygon was added; replacements keep them.
  std::int32_t verticesNumber = 0;
  std::int32_t colorsNumber = 0;
  std::int32_t normalsNumber = 0;
  std::int32_t texturesNumber = 0;
  std::uint32_t type = 0;  // GL primitive mode
};

struct PickingEntry {
  std::shared_ptr<const FloatBuffer> vertices;
  std::int32_t verticesNumber = 0;
  std::int32_t polygonIndex = 0;
  std::uint32_t type = 0;
};

}  // namespace engine
