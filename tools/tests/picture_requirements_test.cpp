// What the game needs of its pictures and icons, which a byte-for-byte match with the generator
// cannot tell: formats the loader takes, splashes shown without blending, font cells, icon sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "icon_set.h"
#include "pictures/pictures.h"

namespace {

namespace fs = std::filesystem;
using resgen::Image;

TEST(Pictures, AreRgbOrRgbaPowerOfTwoOfTheirShapeSplashesPremultipliedAndAllSmall) {
  resgen::FontFace font(ALOFT_RESOURCE_FONT);
  struct Requirement {
    const char* name;
    std::function<Image()> make;
    int channels;        // 3: RGB, 4: RGBA
    int aspect;          // width : height of the rectangle the picture is shown on
    bool premultiplied;  // drawn over black without blending
  };
  const Requirement requirements[] = {
      {"TupLogo.tif", [&] { return resgen::makeTitleLogo(font); }, 4, 4, true},
      {"FennickOGL2.tif", [&] { return resgen::makeMakersMark(font); }, 4, 2, true},
      {"Grass.tif", resgen::makeGrass, 3, 1, false},
      {"Sky_Day.tif", resgen::makeSky, 3, 2, false},
      {"RobotFont.tif", [&] { return resgen::makeFontSheet(font); }, 4, 1, false},
      {"shadow.tif", resgen::makeShadow, 4, 2, false}};
  std::uintmax_t total = 0;
  for (const Requirement& requirement : requirements) {
    SCOPED_TRACE(requirement.name);
    const Image picture = requirement.make();
    total += fs::file_size(fs::path(ALOFT_RESOURCE_DIR) / requirement.name);
    EXPECT_EQ(picture.channels, requirement.channels);
    EXPECT_TRUE(std::has_single_bit(unsigned(picture.width)) &&
                std::has_single_bit(unsigned(picture.height)));
    EXPECT_EQ(picture.width, picture.height * requirement.aspect);
    if (!requirement.premultiplied) continue;
    for (std::size_t i = 0; i < picture.samples.size(); ++i)
      ASSERT_LE(picture.samples[i], picture.samples[i | 3]) << "sample " << i;
  }
  for (const char* sound : {"PianoAndPer.m4a", "Death2.m4a"})
    total += fs::file_size(fs::path(ALOFT_RESOURCE_DIR) / sound);
  EXPECT_LT(total, 3u * 1024u * 1024u);
}

// Code c (33 to 96) is cell c - 33 of the 8 x 8 sheet, row by row from the top: white ink,
// centred in its own cell, touching none of its borders; "A" stands upright.
TEST(Pictures, TheFontSheetHasEveryGlyphCentredInItsOwnCell) {
  resgen::FontFace font(ALOFT_RESOURCE_FONT);
  Image sheet = resgen::makeFontSheet(font);
  ASSERT_EQ(sheet.width, sheet.height);
  const int size = sheet.width / 8;
  for (int code = 33; code <= 96; ++code) {
    SCOPED_TRACE(code);
    const int left = (code - 33) % 8 * size, top = (code - 33) / 8 * size;
    int inkLeft = sheet.width, inkRight = 0, inkTop = sheet.height, inkBottom = 0;
    for (int y = top; y < top + size; ++y) {
      for (int x = left; x < left + size; ++x) {
        const std::uint8_t* ink = sheet.pixel(x, y);
        if (ink[3] == 0) continue;
        ASSERT_EQ(ink[0] & ink[1] & ink[2], 255) << "ink is white";
        inkLeft = std::min(inkLeft, x), inkRight = std::max(inkRight, x);
        inkTop = std::min(inkTop, y), inkBottom = std::max(inkBottom, y);
      }
    }
    ASSERT_NE(inkLeft, sheet.width) << "no glyph";
    EXPECT_TRUE(inkLeft > left && inkTop > top && inkRight < left + size - 1 &&
                inkBottom < top + size - 1);
    EXPECT_NEAR((inkLeft + inkRight + 1) / 2.0, left + size / 2.0, 1.0);
    if (code != 'A') continue;
    int apex = 0, feet = 0;
    for (int x = left; x < left + size; ++x)
      apex += sheet.pixel(x, inkTop + 1)[3] > 128, feet += sheet.pixel(x, inkBottom - 1)[3] > 128;
    EXPECT_LT(apex, feet) << "the A is upside down: rows are in the wrong order";
  }
}

// Icon themes take an icon only at the size its folder names: a tile with transparent corners.
TEST(Icons, AreSquareTilesOfTheirFoldersSize) {
  for (const int size : resgen::kIconSizes) {
    Image icon = resgen::makeAppIcon(size);
    EXPECT_TRUE(icon.width == size && icon.height == size && icon.pixel(0, 0)[3] == 0 &&
                icon.pixel(size - 1, size - 1)[3] == 0 && icon.pixel(size / 2, size / 2)[3] == 255)
        << size;
  }
}

}  // namespace
