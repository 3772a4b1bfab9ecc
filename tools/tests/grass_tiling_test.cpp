#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "decoded_picture.h"
#include "resource_dir.h"

namespace {

// Mean absolute colour difference between column a and column b (or rows, when `rows`).
double lineDifference(const DecodedPicture& picture, std::uint32_t a, std::uint32_t b, bool rows) {
  const std::uint32_t length = rows ? picture.width : picture.height;
  double sum = 0.0;
  for (std::uint32_t i = 0; i < length; ++i) {
    for (int channel = 0; channel < 3; ++channel) {
      const int first = rows ? picture.at(i, a, channel) : picture.at(a, i, channel);
      const int second = rows ? picture.at(i, b, channel) : picture.at(b, i, channel);
      sum += std::abs(first - second);
    }
  }
  return sum / (3.0 * length);
}

double meanNeighbourDifference(const DecodedPicture& picture, bool rows) {
  const std::uint32_t lines = rows ? picture.height : picture.width;
  double sum = 0.0;
  for (std::uint32_t i = 0; i + 1 < lines; ++i) sum += lineDifference(picture, i, i + 1, rows);
  return sum / (lines - 1);
}

// Laid 4 x 4 across the floor, the last column meets the first and the last row the first:
// that join must look like any other pair of neighbouring lines inside the picture.
TEST(GrassPicture, TilesWithoutASeamAcrossAndDown) {
  const DecodedPicture grass = decodePicture(resourceFile("Grass.tif"));
  for (const bool rows : {false, true}) {
    const std::uint32_t last = (rows ? grass.height : grass.width) - 1;
    const double seam = lineDifference(grass, last, 0, rows);
    const double inside = meanNeighbourDifference(grass, rows);
    EXPECT_GT(inside, 1.0) << "a flat picture proves nothing";
    EXPECT_LE(seam, inside * 1.2) << (rows ? "bottom/top" : "right/left") << " seam";
  }
}

}  // namespace
