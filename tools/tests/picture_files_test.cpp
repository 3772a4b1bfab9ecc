#include <gtest/gtest.h>
#include <tiffio.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

#include "decoded_picture.h"
#include "resource_dir.h"

namespace {

struct PictureRequirement {
  const char* name;
  int samplesPerPixel;   // 3 for RGB (24 bits), 4 for RGBA (32 bits)
  std::uint32_t aspect;  // width : height of the rectangle the picture is shown on
};

void PrintTo(const PictureRequirement& requirement, std::ostream* out) { *out << requirement.name; }

class CommittedPicture : public testing::TestWithParam<PictureRequirement> {};

TEST_P(CommittedPicture, DecodesAsEightBitTopRowFirstWithPowerOfTwoSides) {
  const PictureRequirement& requirement = GetParam();
  const DecodedPicture picture = decodePicture(resourceFile(requirement.name));
  EXPECT_EQ(picture.bitsPerSample, 8);
  EXPECT_EQ(picture.samplesPerPixel, requirement.samplesPerPixel);
  EXPECT_EQ(picture.orientation, ORIENTATION_TOPLEFT) << "row 0 must be the top of the picture";
  EXPECT_TRUE(std::has_single_bit(picture.width)) << picture.width;
  EXPECT_TRUE(std::has_single_bit(picture.height)) << picture.height;
  EXPECT_EQ(picture.width, picture.height * requirement.aspect);
}

INSTANTIATE_TEST_SUITE_P(Resources, CommittedPicture,
                         testing::Values(PictureRequirement{"TupLogo.tif", 4, 4},
                                         PictureRequirement{"FennickOGL2.tif", 4, 2},
                                         PictureRequirement{"Grass.tif", 3, 1},
                                         PictureRequirement{"Sky_Day.tif", 3, 2},
                                         PictureRequirement{"RobotFont.tif", 4, 1},
                                         PictureRequirement{"shadow.tif", 4, 2}),
                         [](const testing::TestParamInfo<PictureRequirement>& each) {
                           const std::string name = each.param.name;
                           return name.substr(0, name.find('.'));
                         });

// The splash pictures are drawn without blending, over black: their colour must already be
// the picture as seen over black, i.e. premultiplied, never brighter than its alpha allows.
TEST(SplashPictures, ColourIsPremultipliedByAlpha) {
  for (const char* name : {"TupLogo.tif", "FennickOGL2.tif"}) {
    const DecodedPicture picture = decodePicture(resourceFile(name));
    int brighterThanAlpha = 0;
    for (std::uint32_t y = 0; y < picture.height; ++y) {
      for (std::uint32_t x = 0; x < picture.width; ++x) {
        for (int channel = 0; channel < 3; ++channel) {
          if (picture.at(x, y, channel) > picture.at(x, y, 3)) ++brighterThanAlpha;
        }
      }
    }
    EXPECT_EQ(brighterThanAlpha, 0) << name;
  }
}

TEST(ShadowPicture, IsBlackAndFadesToNothingAtEveryEdge) {
  const DecodedPicture shadow = decodePicture(resourceFile("shadow.tif"));
  for (std::uint32_t x = 0; x < shadow.width; ++x) {
    EXPECT_EQ(shadow.at(x, 0, 3), 0);
    EXPECT_EQ(shadow.at(x, shadow.height - 1, 3), 0);
  }
  for (std::uint32_t y = 0; y < shadow.height; ++y) {
    EXPECT_EQ(shadow.at(0, y, 3), 0);
    EXPECT_EQ(shadow.at(shadow.width - 1, y, 3), 0);
  }
  const std::uint32_t cx = shadow.width / 2, cy = shadow.height / 2;
  EXPECT_GT(shadow.at(cx, cy, 3), 128) << "the middle should be clearly dark";
  EXPECT_GT(shadow.at(cx, cy, 3), shadow.at(cx + shadow.width / 4, cy, 3));
  EXPECT_EQ(shadow.at(cx, cy, 0) + shadow.at(cx, cy, 1) + shadow.at(cx, cy, 2), 0);
}

double meanBrightnessOfRows(const DecodedPicture& picture, std::uint32_t firstRow,
                            std::uint32_t rows) {
  double sum = 0.0;
  for (std::uint32_t y = firstRow; y < firstRow + rows; ++y) {
    for (std::uint32_t x = 0; x < picture.width; ++x) {
      sum += picture.at(x, y, 0) + picture.at(x, y, 1) + picture.at(x, y, 2);
    }
  }
  return sum / (3.0 * rows * picture.width);
}

TEST(SkyPicture, IsBlueAndLighterAtTheHorizonAlongTheBottomEdge) {
  const DecodedPicture sky = decodePicture(resourceFile("Sky_Day.tif"));
  const std::uint32_t band = sky.height / 16;
  EXPECT_GT(meanBrightnessOfRows(sky, sky.height - band, band),
            meanBrightnessOfRows(sky, 0, band) + 40.0);
  // Blue dominates at the top, where there are the fewest clouds.
  EXPECT_GT(sky.at(sky.width / 2, 0, 2), sky.at(sky.width / 2, 0, 0) + 60);
}

TEST(ResourceFolder, HoldsAllEightFilesInUnderThreeMegabytes) {
  std::uintmax_t total = 0;
  for (const char* name : {"TupLogo.tif", "FennickOGL2.tif", "Grass.tif", "Sky_Day.tif",
                           "RobotFont.tif", "shadow.tif", "PianoAndPer.m4a", "Death2.m4a"}) {
    ASSERT_TRUE(std::filesystem::is_regular_file(resourceFile(name))) << name;
    total += std::filesystem::file_size(resourceFile(name));
  }
  EXPECT_LT(total, 3u * 1024u * 1024u);
}

}  // namespace
