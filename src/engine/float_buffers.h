// Turning the charts' number lists into the packed float buffers GL draws from.
#pragma once

#include <cstddef>
#include <span>

#include "engine/polygon_record.h"

namespace engine {

// Writes `values` into `buffer` from float `first` on. For texture coordinates every t (the
// floats at odd positions of the buffer) is stored negated, so that the charts' t = 0 falls on
// the bottom edge of a picture whose rows are uploaded top row first.
void writeFloats(std::span<const float> values, std::span<float> buffer, std::size_t first,
                 bool textureCoordinates);

inline FloatBuffer toFloatBuffer(std::span<const float> values, bool textureCoordinates) {
  FloatBuffer buffer(values.size());
  writeFloats(values, buffer, 0, textureCoordinates);
  return buffer;
}

}  // namespace engine
