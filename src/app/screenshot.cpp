#include "app/screenshot.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/drawing.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

bool writePng(std::FILE* file, platform::Size size, const std::vector<png_byte>& rgb) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows(std::size_t(size.height));
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(size.width), png_uint_32(size.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  // GL rows run from the bottom up; PNG rows from the top down.
  const std::size_t rowBytes = std::size_t(size.width) * 3;
  for (int row = 0; row < size.height; ++row) {
    rows[std::size_t(row)] =
        const_cast<png_bytep>(&rgb[rowBytes * std::size_t(size.height - 1 - row)]);
  }
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool writeScreenshot(const std::string& path, platform::Size size, std::string& error) {
  // A screen shows no alpha: the picture is written opaque, as it was seen. Textures drawn
  // without blending leave their own alpha in the frame, which would read as holes.
  std::vector<png_byte> rgb;
  if (!engine::drawing().readPixels(size.width, size.height, false, rgb)) {
    error = "The screenshot " + path + " could not be made: the picture cannot be read back.";
    return false;
  }

  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    error = "The screenshot " + path + " could not be written: " + std::strerror(errno);
    return false;
  }
  if (!writePng(file.get(), size, rgb) || std::fflush(file.get()) != 0) {
    error = "The screenshot " + path + " could not be written.";
    return false;
  }
  if (std::fclose(file.release()) != 0) {
    error = "The screenshot " + path + " could not be written: " + std::strerror(errno);
    return false;
  }
  return true;
}
