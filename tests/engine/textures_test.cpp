// The texture service with real libtiff pictures: sharing and counting, the accepted pixel
// layouts and how they are uploaded, and every picture that must be refused.
#include <GL/gl.h>
#include <tiffio.h>

#include <fstream>
#include <memory>
#include <vector>

#include "engine/gl_test.h"
#include "engine/kiv_textures.h"
#include "engine/tiff_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A 2 × 2 picture, top row red then green, bottom row blue then white.
const Bytes kRgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
const Bytes kRgba = {255, 0, 0, 10, 0, 255, 0, 20, 0, 0, 255, 30, 255, 255, 255, 40};

class Textures : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    textures = std::make_unique<KivTextures>();
    textures->setActiveChart("Logos");
  }

  std::string picture(const std::string& name, const TiffLayout& layout, const Bytes& pixels) {
    const std::string path = scratchDirectory() / name;
    EXPECT_TRUE(writeTiff(path, layout, pixels)) << path;
    return path;
  }

  std::string rgbPicture(const std::string& name = "rgb.tif", const Bytes& pixels = kRgb) {
    return picture(name, {}, pixels);
  }

  std::int32_t add(const std::string& path, GLenum minFilter = GL_LINEAR) {
    return textures->addTexture(path, GL_REPEAT, GL_REPEAT, GL_NEAREST, minFilter);
  }

  // The texture's level 0 as stored by GL, read back in the upload's layout.
  static Bytes texels(std::int32_t index, GLenum format, std::size_t bytes) {
    Bytes out(bytes);
    glBindTexture(GL_TEXTURE_2D, GLuint(index));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, out.data());
    return out;
  }

  static GLint levelParameter(std::int32_t index, GLint level, GLenum parameter) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, GLuint(index));
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, parameter, &value);
    return value;
  }

  std::unique_ptr<KivTextures> textures;
};

TEST_F(Textures, OnePathIsLoadedOnceSharedAndDeletedAtItsLastDelete) {
  const std::string path = rgbPicture();
  const std::int32_t first = add(path);
  // Loaded once: the second add must not read the file again.
  std::filesystem::remove(path);
  EXPECT_EQ(add(path, GL_NEAREST), first);
  EXPECT_EQ(textures->quantityOf(path), 2);

  textures->deleteTexture(first);
  EXPECT_EQ(textures->quantityOf(path), 1);
  EXPECT_EQ(glIsTexture(GLuint(first)), GL_TRUE);
  textures->deleteTexture(first);
  EXPECT_EQ(textures->quantityOf(path), 0);
  EXPECT_EQ(glIsTexture(GLuint(first)), GL_FALSE);
  textures->deleteTexture(first);  // no longer known: ignored

  // The next add reads the file afresh, under a new index.
  rgbPicture("rgb.tif", Bytes(12, 7));
  const std::int32_t again = add(path);
  EXPECT_NE(again, first);
  EXPECT_EQ(texels(again, GL_RGB, 12), Bytes(12, 7));
}

// RGB pictures are uploaded as RGB, RGBA ones with their alpha as stored, top row first, odd
// row lengths unpadded; paths are compared as strings.
TEST_F(Textures, PicturesAreUploadedInTheirOwnLayoutTopRowFirst) {
  const std::int32_t rgb = add(rgbPicture());
  EXPECT_NE(add(scratchDirectory() / "." / "rgb.tif"), rgb);
  EXPECT_EQ(levelParameter(rgb, 0, GL_TEXTURE_INTERNAL_FORMAT), 3);
  EXPECT_EQ(levelParameter(rgb, 0, GL_TEXTURE_WIDTH), 2);
  EXPECT_EQ(levelParameter(rgb, 0, GL_TEXTURE_HEIGHT), 2);
  EXPECT_EQ(texels(rgb, GL_RGB, 12), kRgb);

  TiffLayout layout;
  layout.samplesPerPixel = 4;
  const std::int32_t rgba = add(picture("rgba.tif", layout, kRgba));
  EXPECT_EQ(levelParameter(rgba, 0, GL_TEXTURE_INTERNAL_FORMAT), 4);
  EXPECT_EQ(texels(rgba, GL_RGBA, 16), kRgba);

  TiffLayout odd;
  odd.width = 3;
  odd.height = 3;
  Bytes pixels(27);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint8_t(i * 9);
  EXPECT_EQ(texels(add(picture("odd.tif", odd, pixels)), GL_RGB, 27), pixels);
}

TEST_F(Textures, FiltersAndWrapsAreSetAndMipmapsGeneratedOnlyForMipmapFilters) {
  const std::int32_t plain =
      textures->addTexture(rgbPicture("a.tif"), GL_CLAMP_TO_EDGE, GL_REPEAT, GL_LINEAR, GL_NEAREST);
  EXPECT_EQ(textureParameter(plain, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
  EXPECT_EQ(textureParameter(plain, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
  EXPECT_EQ(textureParameter(plain, GL_GENERATE_MIPMAP), GL_FALSE);
  EXPECT_EQ(levelParameter(plain, 1, GL_TEXTURE_WIDTH), 0);

  for (GLenum filter : {GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_NEAREST,
                        GL_NEAREST_MIPMAP_NEAREST}) {
    const std::int32_t mipmapped = add(rgbPicture("m" + std::to_string(filter) + ".tif"), filter);
    EXPECT_EQ(textureParameter(mipmapped, GL_GENERATE_MIPMAP), GL_TRUE) << filter;
    EXPECT_EQ(levelParameter(mipmapped, 1, GL_TEXTURE_WIDTH), 1) << filter;
  }
}

TEST_F(Textures, PicturesThatAreNotEightBitRgbHaveAnInvalidBitPerPixel) {
  struct Case {
    const char* name;
    TiffLayout layout;
  };
  const Case cases[] = {
      {"grey8.tif", {2, 2, 1, 8, PHOTOMETRIC_MINISBLACK, PLANARCONFIG_CONTIG}},
      {"rgb16.tif", {2, 2, 3, 16, PHOTOMETRIC_RGB, PLANARCONFIG_CONTIG}},
      {"palette.tif", {2, 2, 1, 8, PHOTOMETRIC_PALETTE, PLANARCONFIG_CONTIG}},
      {"planar.tif", {2, 2, 3, 8, PHOTOMETRIC_RGB, PLANARCONFIG_SEPARATE}},
      {"cmyk.tif", {2, 2, 4, 8, PHOTOMETRIC_SEPARATED, PLANARCONFIG_CONTIG}},
  };
  for (const Case& c : cases) {
    const std::string path = picture(c.name, c.layout, Bytes(64, 128));
    EXPECT_EQ(alertOf([&] { add(path); }), "The \" Logos \" chart with image in directory " + path +
                                               " has an invalid bit per pixel.");
  }
}

TEST_F(Textures, FilesThatCannotBeDecodedOrUploadedWereNotFound) {
  const std::filesystem::path folder = scratchDirectory();
  std::ofstream(folder / "empty.tif").flush();
  std::ofstream(folder / "text.tif") << "not a picture at all\n";
  TiffLayout big;
  big.width = 64;
  big.height = 64;
  const std::string whole = picture("whole.tif", big, Bytes(64 * 64 * 3, 50));
  std::filesystem::copy_file(whole, folder / "truncated.tif");
  std::filesystem::resize_file(folder / "truncated.tif", std::filesystem::file_size(whole) / 2);
  // A sound header and directory over compressed rows that do not inflate.
  big.compression = COMPRESSION_ADOBE_DEFLATE;
  const std::string corrupt = picture("corrupt.tif", big, Bytes(64 * 64 * 3, 50));
  std::fstream(corrupt, std::ios::in | std::ios::out | std::ios::binary)
      .seekp(8)
      .write("\xff\xff\xff\xff\xff\xff\xff\xff", 8);

  // Wider than the driver takes.
  GLint maxSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
  TiffLayout wide;
  wide.width = std::uint32_t(maxSide) + 1;
  wide.height = 1;
  picture("wide.tif", wide, {});

  for (const std::string name :
       {"empty.tif", "text.tif", "truncated.tif", "corrupt.tif", "missing.tif", "wide.tif", ""}) {
    const std::string path = folder / name;  // the last one names the folder itself
    EXPECT_EQ(alertOf([&] { add(path); }),
              "The \" Logos \" chart with image in directory " + path + " was not found.");
  }
}

}  // namespace
