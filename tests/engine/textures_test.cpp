// The texture service with real libtiff pictures: sharing and counting, how pictures are
// uploaded, and the alerts for pictures it cannot take.
#include "engine/kiv_textures.h"
#include "support/gl_test.h"
#include "support/tiff_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A 2 × 2 picture, top row red then green, bottom row blue then white.
const Bytes kRgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};

class Textures : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    textures = std::make_unique<engine::KivTextures>();
    textures->setActiveChart("Logos");
  }

  std::string picture(const std::string& name, const TiffLayout& layout = {},
                      const Bytes& pixels = kRgb) {
    const std::string path = scratch / name;
    EXPECT_TRUE(writeTiff(path, layout, pixels)) << path;
    return path;
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

  static GLint levelOneWidth(std::int32_t index) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, GLuint(index));
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &value);
    return value;
  }

  std::unique_ptr<engine::KivTextures> textures;
};

TEST_F(Textures, OnePathIsLoadedOnceSharedAndDeletedAtItsLastDelete) {
  const std::string path = picture("rgb.tif");
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
  picture("rgb.tif", {}, Bytes(12, 7));
  const std::int32_t again = add(path);
  EXPECT_NE(again, first);
  EXPECT_EQ(texels(again, GL_RGB, 12), Bytes(12, 7));
}

// RGB and RGBA pictures keep their samples as stored, top row first, odd row lengths unpadded;
// the filters and wraps asked for are set, with mipmaps made only for the mipmap filters.
TEST_F(Textures, PicturesAreUploadedAsStoredWithTheirFiltersAndWraps) {
  const std::int32_t rgb =
      textures->addTexture(picture("rgb.tif"), GL_CLAMP_TO_EDGE, GL_REPEAT, GL_LINEAR, GL_NEAREST);
  EXPECT_EQ(texels(rgb, GL_RGB, 12), kRgb);
  EXPECT_EQ(textureParameter(rgb, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
  EXPECT_EQ(textureParameter(rgb, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
  EXPECT_EQ(levelOneWidth(rgb), 0);
  const Bytes rgba = {255, 0, 0, 10, 0, 255, 0, 20, 0, 0, 255, 30, 255, 255, 255, 40};
  EXPECT_EQ(texels(add(picture("rgba.tif", {2, 2, 4}, rgba)), GL_RGBA, 16), rgba);
  Bytes odd(27);
  for (std::size_t i = 0; i < odd.size(); ++i) odd[i] = std::uint8_t(i * 9);
  EXPECT_EQ(texels(add(picture("odd.tif", {3, 3}, odd)), GL_RGB, 27), odd);
  for (GLenum filter : {GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_NEAREST,
                        GL_NEAREST_MIPMAP_NEAREST}) {
    EXPECT_EQ(levelOneWidth(add(picture("m" + std::to_string(filter) + ".tif"), filter)), 1)
        << filter;
  }
}

// The driver's side limit; the decoder's other refusals are in the damaged-resource table.
TEST_F(Textures, APictureWiderThanTheDriverTakesIsReportedAsNotFound) {
  const std::string wide =
      picture("wide.tif", {std::uint32_t(glInteger(GL_MAX_TEXTURE_SIZE)) + 1, 1}, {});
  EXPECT_EQ(alertOf([&] { add(wide); }),
            "The \" Logos \" chart with image in directory " + wide + " was not found.");
}

}  // namespace
