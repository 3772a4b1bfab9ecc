// A picture read back from the frame buffer or from a PNG file, and what the tests ask of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // rows from the bottom up, as GL reads them

  const std::uint8_t* at(int x, int y) const { return &rgba[(std::size_t(y) * width + x) * 4]; }
  // Pixels that are not black in the rectangle [x0, x1) × [y0, y1).
  int litIn(int x0, int y0, int x1, int y1) const;
  int litPixels() const { return litIn(0, 0, width, height); }
  // The mean red, green and blue of the rectangle [x0, x1) × [y0, y1).
  struct Colour {
    double red = 0, green = 0, blue = 0;
  };
  Colour meanIn(int x0, int y0, int x1, int y1) const;
};

// The current GL read buffer, `width` × `height` pixels from the bottom left.
Picture readFrameBuffer(int width, int height);
// A PNG file, its rows turned bottom up; nothing when it cannot be read.
std::optional<Picture> readPng(const std::string& path);
