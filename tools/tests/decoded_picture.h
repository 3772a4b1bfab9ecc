#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// A TIFF read back with libtiff, scanline by scanline, top row first.
struct DecodedPicture {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint16_t bitsPerSample = 0;
  std::uint16_t samplesPerPixel = 0;
  std::uint16_t orientation = 0;
  std::vector<std::uint8_t> samples;

  std::uint8_t at(std::uint32_t x, std::uint32_t y, int channel) const {
    return samples[(static_cast<std::size_t>(y) * width + x) * samplesPerPixel +
                   static_cast<std::size_t>(channel)];
  }
};

// Throws std::runtime_error when the file cannot be decoded as 8-bit contiguous RGB(A).
DecodedPicture decodePicture(const std::filesystem::path& file);
