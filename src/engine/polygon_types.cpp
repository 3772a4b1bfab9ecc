#include "engine/polygon_types.h"

#include <array>

#include "engine/drawing.h"

namespace engine {

namespace {

struct NamedMode {
  std::string_view name;
  std::uint32_t mode;
};

constexpr std::array<NamedMode, 7> kTypes = {{
    {"Points", gl_values::kPoints},
    {"Lines", gl_values::kLines},
    {"LineLoop", gl_values::kLineLoop},
    {"LineStrip", gl_values::kLineStrip},
    {"Triangles", gl_values::kTriangles},
    {"TriangleStrip", gl_values::kTriangleStrip},
    {"TriangleFan", gl_values::kTriangleFan},
}};

}  // namespace

std::optional<std::uint32_t> primitiveModeNamed(std::string_view typeName) {
  for (const NamedMode& type : kTypes) {
    if (type.name == typeName) return type.mode;
  }
  return std::nullopt;
}

}  // namespace engine
