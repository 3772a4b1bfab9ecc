// Drawing through the vertex arrays, read back from the frame: colours, textures, lighting and
// the current colour, and the GL state a draw leaves behind.
#include "engine/kiv_textures.h"
#include "support/gl_test.h"
#include "support/tiff_writer.h"

namespace {

// A square fan over the middle half of the window, counter-clockwise, in the window's own
// coordinates (the matrices are the identity).
const Floats kSquare = {-0.5f, -0.5f, 0, 0.5f, -0.5f, 0, 0.5f, 0.5f, 0, -0.5f, 0.5f, 0};
// Window pixels inside the square's four quarters.
constexpr int kLeft = 100, kRight = 200, kBottom = 70, kTop = 130;
using Rgba = std::array<int, 4>;

using PolygonDrawing = GLTest;

TEST_F(PolygonDrawing, AFanFillsItsAreaWithItsColoursOrTheCurrentOne) {
  Floats colors;
  for (int vertex = 0; vertex < 4; ++vertex) colors.insert(colors.end(), {0, 1, 0, 1});
  polygons->updatePolygon(polygons->addPolygonsType("TriangleFan", kSquare, colors, {}, {}));
  for (auto [x, y] : {std::pair{150, 100}, {kLeft, kBottom}, {kRight, kTop}}) {
    EXPECT_EQ(pixelAt(x, y), (Rgba{0, 255, 0, 255})) << x << ", " << y;
  }
  EXPECT_EQ(pixelAt(10, 10), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(glIsEnabled(GL_VERTEX_ARRAY), GL_FALSE);
  EXPECT_EQ(glIsEnabled(GL_COLOR_ARRAY), GL_FALSE);

  // Without colours the current colour fills it; an unknown index draws nothing.
  glColor4f(0, 0, 1, 1);
  polygons->updatePolygon(polygons->addPolygonsType("TriangleFan", kSquare, {}, {}, {}));
  polygons->updatePolygon(7);
  EXPECT_EQ(pixelAt(150, 100), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(PolygonDrawing, ATexturedQuadShowsThePictureUprightWithChartTexturePositions) {
  // Top row red, green; bottom row blue, white.
  const std::string path = scratch / "quad.tif";
  ASSERT_TRUE(writeTiff(path, {}, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}));
  engine::KivTextures textures;
  const std::int32_t texture =
      textures.addTexture(path, GL_REPEAT, GL_REPEAT, GL_NEAREST, GL_NEAREST);
  // The charts' t runs from 0 at the picture's bottom edge to 1 at its top.
  const std::int32_t quad =
      polygons->addPolygonsType("TriangleFan", kSquare, {}, {}, Floats{0, 0, 1, 0, 1, 1, 0, 1});
  glColor4f(1, 1, 1, 1);
  textures.bindTexture(texture);
  polygons->updatePolygon(quad);

  EXPECT_EQ(pixelAt(kLeft, kTop), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(pixelAt(kRight, kTop), (Rgba{0, 255, 0, 255}));
  EXPECT_EQ(pixelAt(kLeft, kBottom), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(pixelAt(kRight, kBottom), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_FALSE);
  EXPECT_EQ(glIsEnabled(GL_TEXTURE_COORD_ARRAY), GL_FALSE);
}

TEST_F(PolygonDrawing, APolygonWithNormalsIsLitByLightZeroAndLeavesLightingOff) {
  Floats towardsLight;
  for (int vertex = 0; vertex < 4; ++vertex) towardsLight.insert(towardsLight.end(), {0, 0, 1});
  glColor4f(1, 0, 0, 1);  // lighting replaces the current colour by the material's
  polygons->updatePolygon(polygons->addPolygonsType("TriangleFan", kSquare, {}, towardsLight, {}));
  // Default material and light: ambient 0.2 × 0.2 plus diffuse 0.8 × 1 facing the light.
  const Rgba lit = pixelAt(150, 100);
  for (int channel = 0; channel < 3; ++channel) EXPECT_NEAR(lit[channel], 214, 2) << channel;
  EXPECT_EQ(glIsEnabled(GL_LIGHTING), GL_FALSE);
  EXPECT_EQ(glIsEnabled(GL_NORMAL_ARRAY), GL_FALSE);
}

}  // namespace
