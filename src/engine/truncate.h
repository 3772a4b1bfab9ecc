// Truncation toward zero to a 32-bit integer that stays defined for every input: values beyond
// the int32 range saturate and NaN gives 0, where a plain conversion would be undefined.
#pragma once

#include <cstdint>
#include <limits>

namespace engine {

inline std::int32_t truncateToInt32(double value) {
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  if (!(value == value)) return 0;
  if (value <= kLowest) return std::numeric_limits<std::int32_t>::min();
  if (value >= kHighest) return std::numeric_limits<std::int32_t>::max();
  return std::int32_t(value);
}

}  // namespace engine
