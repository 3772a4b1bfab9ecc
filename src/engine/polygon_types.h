// The polygon type names the charts use, with their GL primitive modes and the number of faces
// a polygon of each type counts as.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace engine {

// The GL primitive mode for an exact (case-sensitive) type name, or none for an unknown name.
std::optional<std::uint32_t> primitiveModeNamed(std::string_view typeName);

// How many faces a polygon of `mode` with `vertexFloats` vertex coordinates counts as: 0 for
// points and lines, one per whole triangle for triangles, vertices − 2 for a strip of more than
// three vertices (else 1), and 1 for a fan.
std::int32_t faceCount(std::uint32_t mode, std::int32_t vertexFloats);

}  // namespace engine
