// The picture decoder: which pictures it takes, a file and the same bytes in memory decoded
// alike, and every decoded picture held under its memory cap whatever the side limit allows.
#include "platform/image_file.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <filesystem>
#include <fstream>
#include <tuple>
#include <vector>

#include "support/tiff_writer.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using platform::DecodedImage;
using platform::ImageReadResult;
using enum platform::ImageReadResult;

// Grass.tif is exactly this wide.
constexpr int kSide = 256;

// A picture of `samples` 8-bit RGB(A) samples a pixel, deflated row by row.
TiffLayout deflated(std::uint32_t width, std::uint32_t height, std::uint16_t samples = 3) {
  return {
      width, height, samples, 8, PHOTOMETRIC_RGB, PLANARCONFIG_CONTIG, COMPRESSION_ADOBE_DEFLATE};
}

class ImageFile : public ::testing::Test {
 protected:
  std::string picture(const std::string& name, const TiffLayout& layout, const Bytes& pixels = {}) {
    const std::string path = scratch / name;
    EXPECT_TRUE(writeTiff(path, layout, pixels)) << path;
    return path;
  }
  std::string file(const std::string& name, const std::string& bytes) {
    writeText(scratch / name, bytes);
    return scratch / name;
  }

  ScratchDirectory scratch{"image-file"};
};

TEST_F(ImageFile, OnlyWholeEightBitRgbPicturesWithinTheSideLimitDecodeFromFileAndMemoryAlike) {
  const fs::path resources = ALOFT_KIV_RESOURCES;
  const std::string grass = readText(resources / "Grass.tif");
  // An intact header and directory over deflated rows of which those from the middle on do not
  // inflate: the rows before them decode first.
  Bytes noise(64 * 64 * 3);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = std::uint8_t(i * i % 251);
  std::string corrupt = readText(picture("corrupt.tif", deflated(64, 64), noise));
  corrupt.replace(corrupt.size() / 2, 8, 8, '\xff');
  const std::pair<std::string, ImageReadResult> cases[] = {
      {resources / "Grass.tif", Decoded},   // RGB, compressed, as wide as allowed
      {resources / "shadow.tif", Decoded},  // RGBA, compressed
      {picture("rgba.tif", {2, 2, 4}, Bytes(16, 7)), Decoded},
      {picture("odd.tif", deflated(3, 2),
               {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}),
       Decoded},
      {picture("grey.tif", {2, 2, 1, 8, PHOTOMETRIC_MINISBLACK}), UnsupportedPixelLayout},
      {picture("rgb16.tif", {2, 2, 3, 16}), UnsupportedPixelLayout},
      {picture("palette.tif", {2, 2, 1, 8, PHOTOMETRIC_PALETTE}), UnsupportedPixelLayout},
      {picture("planar.tif", {2, 2, 3, 8, PHOTOMETRIC_RGB, PLANARCONFIG_SEPARATE}),
       UnsupportedPixelLayout},
      {picture("cmyk.tif", {2, 2, 4, 8, PHOTOMETRIC_SEPARATED}), UnsupportedPixelLayout},
      {picture("wide.tif", {kSide + 1, 1}), NotDecoded},
      {picture("tall.tif", {1, kSide + 1}), NotDecoded},
      {file("truncated.tif", grass.substr(0, grass.size() / 2)), NotDecoded},
      {file("corrupt.tif", corrupt), NotDecoded},
      {file("header.tif", {'I', 'I', 42, 0, 8, 0, 0, 0}), NotDecoded},
      {file("text.tif", "not a picture at all\n"), NotDecoded},
      {file("empty.tif", ""), NotDecoded},
      {scratch / "missing.tif", NotDecoded},
  };
  for (const auto& [path, expected] : cases) {
    SCOPED_TRACE(path);
    const std::string bytes = fs::exists(path) ? readText(path) : "";
    DecodedImage fromFile, fromMemory;
    EXPECT_EQ(platform::readImageFile(path, kSide, fromFile), expected);
    EXPECT_EQ(platform::readImageBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                       bytes.size(), kSide, fromMemory),
              expected);
    EXPECT_EQ(fromMemory.width, fromFile.width);
    EXPECT_EQ(fromMemory.height, fromFile.height);
    EXPECT_EQ(fromMemory.samplesPerPixel, fromFile.samplesPerPixel);
    EXPECT_EQ(fromMemory.pixels, fromFile.pixels);
    EXPECT_EQ(fromFile.pixels.size(),
              std::size_t(fromFile.width * fromFile.height * fromFile.samplesPerPixel));
  }
}

TEST_F(ImageFile, APictureOverTheMemoryCapIsNotDecodedButItsSizeIsGiven) {
  // 65536 × 1025 RGBA is one row over 256 MB decoded, in a file of a few hundred kilobytes;
  // the side limit alone would let it through. A caller's smaller cap holds the same way.
  const std::string huge = picture("huge.tif", deflated(65536, 1025, 4));
  const std::string small = picture("small.tif", deflated(64, 32), Bytes(64 * 32 * 3, 9));
  const std::tuple<std::string, std::size_t, int> cases[] = {
      {huge, platform::kMaxImageBytes, 65536}, {huge, SIZE_MAX, 65536}, {small, 64 * 32 * 3 - 1, 64}};
  for (const auto& [path, cap, width] : cases) {
    DecodedImage image;
    EXPECT_EQ(platform::readImageFile(path, 1 << 20, image, cap), OverMemoryLimit) << path;
    EXPECT_EQ(image.width, width);
    EXPECT_TRUE(image.pixels.empty());
  }
  DecodedImage image;
  EXPECT_EQ(platform::readImageFile(small, 1 << 20, image, 64 * 32 * 3), Decoded);
}

}  // namespace
