// Feeds arbitrary bytes to the picture decoder, through the same code as a picture file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/image_file.h"

namespace {

// Larger inputs only repeat what smaller ones reach, and slow every run down.
constexpr std::size_t kMaxInputBytes = 1 << 20;
// Sides up to this keep one decoded picture within 64 MB; the game's own cap is checked by
// the decoder whatever the side limit.
constexpr int kMaxSide = 4096;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInputBytes) return 0;
  platform::DecodedImage image;
  const platform::ImageReadResult result = platform::readImageBytes(data, size, kMaxSide, image);
  const bool decoded = result == platform::ImageReadResult::Decoded;
  // A decoded picture must be exactly as large as it says; anything else is a bare result.
  const std::size_t expected =
      std::size_t(image.width) * std::size_t(image.height) * std::size_t(image.samplesPerPixel);
  if (decoded != (image.width > 0) || image.pixels.size() != expected ||
      (decoded && image.samplesPerPixel != 3 && image.samplesPerPixel != 4)) {
    std::abort();
  }
  return 0;
}
