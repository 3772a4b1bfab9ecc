#include "support/picture.h"

#include <GL/gl.h>
#include <png.h>

int Picture::litIn(int x0, int y0, int x1, int y1) const {
  int count = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) count += at(x, y)[0] + at(x, y)[1] + at(x, y)[2] > 0;
  }
  return count;
}

Picture::Colour Picture::meanIn(int x0, int y0, int x1, int y1) const {
  Colour sum;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      sum.red += at(x, y)[0];
      sum.green += at(x, y)[1];
      sum.blue += at(x, y)[2];
    }
  }
  const double count = double(x1 - x0) * (y1 - y0);
  return {sum.red / count, sum.green / count, sum.blue / count};
}

Picture readFrameBuffer(int width, int height) {
  Picture picture{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 4)};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, picture.rgba.data());
  return picture;
}

std::optional<Picture> readPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
  image.format = PNG_FORMAT_RGBA;
  Picture picture{int(image.width), int(image.height),
                  std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
  // A negative row stride stores the file's top row last: bottom up.
  const auto stride = -png_int_32(PNG_IMAGE_ROW_STRIDE(image));
  if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), stride, nullptr)) {
    return std::nullopt;
  }
  return picture;
}
