#include "app/window_icon.h"

#include <png.h>

#include <cstddef>

// The 128-pixel desktop icon (data/icons), built into the program.
extern const unsigned char kWindowIconPng[];
extern const std::size_t kWindowIconPng_size;

void setGameIcon(platform::Window& window) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, kWindowIconPng, kWindowIconPng_size)) return;
  image.format = PNG_FORMAT_RGBA;
  platform::IconImage icon{int(image.width), int(image.height), {}};
  icon.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, icon.rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    return;
  }
  window.setIcon(icon);
}
