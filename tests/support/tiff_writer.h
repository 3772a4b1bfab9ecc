// Writes small TIFF pictures with libtiff, for tests that need pictures of a given layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TiffLayout {
  std::uint32_t width = 2;
  std::uint32_t height = 2;
  std::uint16_t samplesPerPixel = 3;
  std::uint16_t bitsPerSample = 8;
  std::uint16_t photometric = 2;   // RGB
  std::uint16_t planarConfig = 1;  // contiguous
  std::uint16_t compression = 1;   // none
};

// Writes `pixels` (rows top first, samples as the layout packs them) to `path`, one row a strip.
// A palette picture gets a grey ramp as its colour map. Returns false when libtiff fails.
bool writeTiff(const std::string& path, const TiffLayout& layout,
               const std::vector<std::uint8_t>& pixels);
