// Reading a picture file into 8-bit RGB or RGBA rows, top row first, ready for a texture upload.
// TIFF is the game's picture format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct DecodedImage {
  int width = 0;
  int height = 0;
  int samplesPerPixel = 0;           // 3 (RGB) or 4 (RGBA, alpha as stored in the file)
  std::vector<std::uint8_t> pixels;  // width × samplesPerPixel bytes per row, no padding

  int bitsPerPixel() const { return samplesPerPixel * 8; }
  // What the picture takes decoded, from its size (also when only the size was read).
  std::size_t byteSize() const {
    return std::size_t(width) * std::size_t(height) * std::size_t(samplesPerPixel);
  }
};

enum class ImageReadResult : std::uint8_t {
  Decoded,
  // Missing, unreadable or undecodable, or larger than `maxSide` on a side.
  NotDecoded,
  // Decodable, but not 8-bit contiguous RGB with 3 or 4 samples per pixel.
  UnsupportedPixelLayout,
  // Usable, but more than `maxBytes` decoded: not decoded, only its size and samples given.
  OverMemoryLimit,
};

// The most any one picture may take decoded, whatever the caller allows: 8192 × 8192 RGBA. The
// side limit alone (the GL texture size, 16384 or more) would let a small compressed file claim
// gigabytes.
inline constexpr std::size_t kMaxImageBytes = std::size_t(256) * 1024 * 1024;

// Reads the picture at `path` into `image`, if it takes at most `maxBytes` (and
// `kMaxImageBytes`) decoded; its size is checked before anything is decoded. The file's own
// problems are answered through the result only: nothing is written to stderr.
ImageReadResult readImageFile(const std::string& path, int maxSide, DecodedImage& image,
                              std::size_t maxBytes = kMaxImageBytes);

// The same for a file's `size` bytes at `data`, decoded exactly as `readImageFile` would.
ImageReadResult readImageBytes(const std::uint8_t* data, std::size_t size, int maxSide,
                               DecodedImage& image, std::size_t maxBytes = kMaxImageBytes);

}  // namespace platform
