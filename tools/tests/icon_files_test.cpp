#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "icon_set.h"

namespace {

struct DecodedIcon {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;

  std::uint8_t alpha(int x, int y) const {
    return rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                 static_cast<std::size_t>(x)) *
                    4 +
                3];
  }
};

DecodedIcon decode(const std::filesystem::path& file) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  DecodedIcon icon;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return icon;
  image.format = PNG_FORMAT_RGBA;
  icon.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, icon.rgba.data(), 0, nullptr)) return icon;
  icon.width = static_cast<int>(image.width);
  icon.height = static_cast<int>(image.height);
  return icon;
}

// Each committed icon decodes at the size its folder names, as icon themes require, and is a
// tile with transparent corners and an opaque middle.
TEST(IconFiles, AreSquareTilesOfTheirFoldersSize) {
  for (const int size : resgen::kIconSizes) {
    const DecodedIcon icon = decode(resgen::iconFile(ALOFT_ICON_DIR, size));
    ASSERT_EQ(icon.width, size);
    ASSERT_EQ(icon.height, size);
    const int last = size - 1;
    EXPECT_EQ(icon.alpha(0, 0), 0) << size;
    EXPECT_EQ(icon.alpha(last, last), 0) << size;
    EXPECT_EQ(icon.alpha(size / 2, size / 2), 255) << size;
    EXPECT_EQ(icon.alpha(size / 2, size / 10), 255) << size;
  }
}

}  // namespace
