// What the game needs of its committed pictures and icons, beyond being reproducible: formats the
// texture loader takes, splash colours that show right without blending, font cells where the
// letter drawing looks for them, icons at the sizes their folders name.
#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "icon_set.h"

namespace {

std::filesystem::path resourceFile(const char* name) {
  return std::filesystem::path(ALOFT_RESOURCE_DIR) / name;
}

// A committed picture's samples as stored, row 0 first.
struct Picture {
  std::uint32_t width = 0, height = 0;
  std::uint16_t samplesPerPixel = 0, orientation = 0;
  std::vector<std::uint8_t> samples;

  std::uint8_t at(std::uint32_t x, std::uint32_t y, int channel) const {
    return samples[(std::size_t(y) * width + x) * samplesPerPixel + std::size_t(channel)];
  }
};

Picture committedPicture(const char* name) {
  Picture picture;
  const std::unique_ptr<TIFF, decltype(&TIFFClose)> tiff(TIFFOpen(resourceFile(name).c_str(), "r"),
                                                         TIFFClose);
  std::uint16_t bits = 0, planar = 0;
  if (tiff) {
    TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &picture.width);
    TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &picture.height);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &picture.samplesPerPixel);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ORIENTATION, &picture.orientation);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_PLANARCONFIG, &planar);
  }
  if (bits != 8 || planar != PLANARCONFIG_CONTIG) {
    ADD_FAILURE() << name << " is not an 8-bit interleaved TIFF";
    return {};
  }
  const std::size_t rowBytes = std::size_t(picture.width) * picture.samplesPerPixel;
  picture.samples.resize(rowBytes * picture.height);
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    EXPECT_EQ(TIFFReadScanline(tiff.get(), picture.samples.data() + rowBytes * y, y, 0), 1) << y;
  }
  return picture;
}

TEST(CommittedPictures, AreEightBitTopRowFirstPowerOfTwoOfTheirShapeAndSplashesPremultiplied) {
  struct Requirement {
    const char* name;
    int samplesPerPixel;   // 3: RGB, 4: RGBA
    std::uint32_t aspect;  // width : height of the rectangle the picture is shown on
    bool premultiplied;    // drawn over black without blending
  };
  const Requirement requirements[] = {
      {"TupLogo.tif", 4, 4, true},  {"FennickOGL2.tif", 4, 2, true}, {"Grass.tif", 3, 1, false},
      {"Sky_Day.tif", 3, 2, false}, {"RobotFont.tif", 4, 1, false},  {"shadow.tif", 4, 2, false}};
  std::uintmax_t total = 0;
  for (const Requirement& requirement : requirements) {
    SCOPED_TRACE(requirement.name);
    const Picture picture = committedPicture(requirement.name);
    total += std::filesystem::file_size(resourceFile(requirement.name));
    EXPECT_EQ(picture.samplesPerPixel, requirement.samplesPerPixel);
    EXPECT_EQ(picture.orientation, ORIENTATION_TOPLEFT) << "row 0 must be the top of the picture";
    EXPECT_TRUE(std::has_single_bit(picture.width) && std::has_single_bit(picture.height));
    EXPECT_EQ(picture.width, picture.height * requirement.aspect);
    if (!requirement.premultiplied) continue;
    int brighterThanAlpha = 0;
    for (std::size_t i = 0; i < picture.samples.size(); i += 4) {
      for (int channel = 0; channel < 3; ++channel)
        brighterThanAlpha += picture.samples[i + channel] > picture.samples[i + 3];
    }
    EXPECT_EQ(brighterThanAlpha, 0);
  }
  for (const char* sound : {"PianoAndPer.m4a", "Death2.m4a"})
    total += std::filesystem::file_size(resourceFile(sound));
  EXPECT_LT(total, 3u * 1024u * 1024u);
}

// Code c (33 to 96) is cell c - 33 of the 8 x 8 sheet, row by row from the top: white ink,
// centred in its own cell, touching none of its borders; "A" stands upright.
TEST(CommittedPictures, TheFontSheetHasEveryGlyphCentredInItsOwnCell) {
  const Picture sheet = committedPicture("RobotFont.tif");
  ASSERT_EQ(sheet.width, sheet.height);
  const std::uint32_t size = sheet.width / 8;
  for (int code = 33; code <= 96; ++code) {
    SCOPED_TRACE(code);
    const std::uint32_t left = std::uint32_t(code - 33) % 8 * size,
                        top = std::uint32_t(code - 33) / 8 * size;
    std::uint32_t inkLeft = UINT32_MAX, inkRight = 0, inkTop = UINT32_MAX, inkBottom = 0;
    for (std::uint32_t y = top; y < top + size; ++y) {
      for (std::uint32_t x = left; x < left + size; ++x) {
        if (sheet.at(x, y, 3) == 0) continue;
        ASSERT_EQ(sheet.at(x, y, 0) & sheet.at(x, y, 1) & sheet.at(x, y, 2), 255) << "ink is white";
        inkLeft = std::min(inkLeft, x), inkRight = std::max(inkRight, x);
        inkTop = std::min(inkTop, y), inkBottom = std::max(inkBottom, y);
      }
    }
    ASSERT_NE(inkLeft, UINT32_MAX) << "no glyph";
    EXPECT_TRUE(inkLeft > left && inkTop > top && inkRight < left + size - 1 &&
                inkBottom < top + size - 1);
    EXPECT_NEAR((inkLeft + inkRight + 1) / 2.0, left + size / 2.0, 1.0);
    if (code != 'A') continue;
    int apex = 0, feet = 0;
    for (std::uint32_t x = left; x < left + size; ++x)
      apex += sheet.at(x, inkTop + 1, 3) > 128, feet += sheet.at(x, inkBottom - 1, 3) > 128;
    EXPECT_LT(apex, feet) << "the A is upside down: rows are in the wrong order";
  }
}

// Icon themes take an icon only at the size its folder names; each is a tile with transparent
// corners and an opaque middle.
TEST(CommittedIcons, AreSquareTilesOfTheirFoldersSize) {
  for (const int size : resgen::kIconSizes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(
        png_image_begin_read_from_file(&image, resgen::iconFile(ALOFT_ICON_DIR, size).c_str()));
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr));
    ASSERT_EQ(int(image.width), size);
    ASSERT_EQ(int(image.height), size);
    const auto alpha = [&](int x, int y) {
      return rgba[(std::size_t(y) * std::size_t(size) + std::size_t(x)) * 4 + 3];
    };
    EXPECT_EQ(alpha(0, 0), 0) << size;
    EXPECT_EQ(alpha(size - 1, size - 1), 0) << size;
    EXPECT_EQ(alpha(size / 2, size / 2), 255) << size;
  }
}

}  // namespace
