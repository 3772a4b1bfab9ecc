#include "engine/polygon_types.h"

#include <GL/gl.h>

#include <array>

namespace engine {

namespace {

struct NamedMode {
  std::string_view name;
  std::uint32_t mode;
};

constexpr std::array<NamedMode, 7> kTypes = {{
    {"Points", GL_POINTS},
    {"Lines", GL_LINES},
    {"LineLoop", GL_LINE_LOOP},
    {"LineStrip", GL_LINE_STRIP},
    {"Triangles", GL_TRIANGLES},
    {"TriangleStrip", GL_TRIANGLE_STRIP},
    {"TriangleFan", GL_TRIANGLE_FAN},
}};

}  // namespace

std::optional<std::uint32_t> primitiveModeNamed(std::string_view typeName) {
  for (const NamedMode& type : kTypes) {
    if (type.name == typeName) return type.mode;
  }
  return std::nullopt;
}

}  // namespace engine
