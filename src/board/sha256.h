// SHA-256 of some bytes, as 64 lower-case hex digits.
#pragma once

#include <string>
#include <string_view>

namespace board {

std::string sha256Hex(std::string_view bytes);

}  // namespace board
