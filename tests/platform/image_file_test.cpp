// The picture decoder reads a file and the same bytes in memory alike, and holds every decoded
// picture under its memory cap whatever the side limit allows.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "engine/gl_test.h"
#include "engine/tiff_writer.h"
#include "platform/image_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::DecodedImage;
using platform::ImageReadResult;

constexpr int kLargeSide = 1 << 20;

Bytes contentsOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A blank RGBA picture, deflated row by row: a small file for a large picture.
TiffLayout blankDeflated(std::uint32_t width, std::uint32_t height) {
  return {width, height, 4, 8, PHOTOMETRIC_RGB, PLANARCONFIG_CONTIG, COMPRESSION_ADOBE_DEFLATE};
}

class ImageFile : public ::testing::Test {
 protected:
  std::string picture(const std::string& name, const TiffLayout& layout, const Bytes& pixels) {
    const std::string path = scratch.path() / name;
    EXPECT_TRUE(writeTiff(path, layout, pixels)) << path;
    return path;
  }

  ScratchDirectory scratch;
};

TEST_F(ImageFile, BytesInMemoryDecodeExactlyAsTheirFile) {
  std::vector<std::string> paths;
  for (const char* name : {"Grass.tif", "shadow.tif", "RobotFont.tif"}) {
    paths.push_back(std::string(ALOFT_KIV_RESOURCES) + "/" + name);
  }
  TiffLayout rgba;
  rgba.samplesPerPixel = 4;
  paths.push_back(picture("rgba.tif", rgba, Bytes(16, 7)));
  TiffLayout deflated;
  deflated.width = 3;
  deflated.compression = COMPRESSION_ADOBE_DEFLATE;
  paths.push_back(picture("deflated.tif", deflated, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13,
                                                     14, 15, 16, 17, 18}));
  TiffLayout grey;
  grey.samplesPerPixel = 1;
  grey.photometric = PHOTOMETRIC_MINISBLACK;
  paths.push_back(picture("grey.tif", grey, Bytes(4, 9)));
  const std::string truncated = scratch.path() / "truncated.tif";
  {
    const Bytes whole = contentsOf(paths.front());
    std::ofstream(truncated, std::ios::binary)
        .write(reinterpret_cast<const char*>(whole.data()), std::streamsize(whole.size() / 2));
  }
  paths.push_back(truncated);

  std::vector<ImageReadResult> results;
  for (const std::string& path : paths) {
    DecodedImage fromFile;
    DecodedImage fromMemory;
    const Bytes bytes = contentsOf(path);
    const ImageReadResult fileResult = platform::readImageFile(path, kLargeSide, fromFile);
    EXPECT_EQ(platform::readImageBytes(bytes.data(), bytes.size(), kLargeSide, fromMemory),
              fileResult)
        << path;
    EXPECT_EQ(fromMemory.width, fromFile.width) << path;
    EXPECT_EQ(fromMemory.height, fromFile.height) << path;
    EXPECT_EQ(fromMemory.samplesPerPixel, fromFile.samplesPerPixel) << path;
    EXPECT_EQ(fromMemory.pixels, fromFile.pixels) << path;
    results.push_back(fileResult);
  }
  // The comparison covers every outcome: the game's pictures and the two crafted ones decode,
  // grey is refused for its layout, the truncated file is not decoded.
  EXPECT_EQ(results, (std::vector<ImageReadResult>{
                         ImageReadResult::Decoded, ImageReadResult::Decoded,
                         ImageReadResult::Decoded, ImageReadResult::Decoded,
                         ImageReadResult::Decoded, ImageReadResult::UnsupportedPixelLayout,
                         ImageReadResult::NotDecoded}));
}

TEST_F(ImageFile, NoBytesAndNoPictureAreNotDecoded) {
  DecodedImage image;
  EXPECT_EQ(platform::readImageBytes(nullptr, 0, kLargeSide, image), ImageReadResult::NotDecoded);
  const std::uint8_t header[] = {'I', 'I', 42, 0, 8, 0, 0, 0};
  EXPECT_EQ(platform::readImageBytes(header, sizeof header, kLargeSide, image),
            ImageReadResult::NotDecoded);
  EXPECT_TRUE(image.pixels.empty());
}

TEST_F(ImageFile, AWholeValidPictureOverTheMemoryCapIsNotDecoded) {
  // 65536 × 1025 RGBA is one row over 256 MB decoded, in a file of a few hundred kilobytes;
  // the side limit alone would let it through.
  const std::string path = scratch.path() / "huge.tif";
  ASSERT_TRUE(writeTiff(path, blankDeflated(65536, 1025), {}));
  EXPECT_LT(std::filesystem::file_size(path), std::uintmax_t(4) << 20);
  DecodedImage image;
  EXPECT_EQ(platform::readImageFile(path, kLargeSide, image), ImageReadResult::NotDecoded);
  EXPECT_TRUE(image.pixels.empty());
  // A small picture written the same way decodes: the refusal is for the size alone.
  const std::string small = scratch.path() / "small.tif";
  ASSERT_TRUE(writeTiff(small, blankDeflated(64, 3), {}));
  EXPECT_EQ(platform::readImageFile(small, kLargeSide, image), ImageReadResult::Decoded);
  EXPECT_EQ(image.pixels.size(), std::size_t(64 * 3 * 4));
}

}  // namespace
