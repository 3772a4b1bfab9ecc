// The polygon type names the charts use, with their GL primitive modes and the number of faces
// a polygon of each type counts as.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace engine {

// The GL primitive mode for an exact (case-sensitive) type name, or none for an unknown name.
std::optional<std::uint32_t> primitiveModeNamed(std::string_view typeName);

}  // namespace engine
