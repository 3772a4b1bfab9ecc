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
};

enum class ImageReadResult : std::uint8_t {
  Decoded,
  // Missing, unreadable or undecodable, larger than `maxSide` on a side, or over 256 MB decoded.
  NotDecoded,
  // Decodable, but not 8-bit contiguous RGB with 3 or 4 samples per pixel.
  UnsupportedPixelLayout,
};

// Reads the picture at `path` into `image`. The file's own problems are answered through the
// result only: nothing is written to stderr.
ImageReadResult readImageFile(const std::string& path, int maxSide, DecodedImage& image);

// The same for a file's `size` bytes at `data`, decoded exactly as `readImageFile` would.
ImageReadResult readImageBytes(const std::uint8_t* data, std::size_t size, int maxSide,
                               DecodedImage& image);

}  // namespace platform
