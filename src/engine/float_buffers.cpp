#include "engine/float_buffers.h"

namespace engine {

void writeFloats(std::span<const float> values, std::span<float> buffer, std::size_t first,
                 bool textureCoordinates) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::size_t at = first + i;
    const bool isT = textureCoordinates && at % 2 == 1;
    buffer[at] = isT ? -values[i] : values[i];
  }
}

}  // namespace engine
