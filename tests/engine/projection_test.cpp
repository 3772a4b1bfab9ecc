// The viewport kept at the chart's ratio inside the view, and the frustum set to match, read
// back from GL.
#include <GL/gl.h>

#include <array>
#include <memory>

#include "engine/gl_test.h"
#include "engine/kiv_polygons.h"

namespace {

class Projection : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    polygons = std::make_unique<KivPolygons>();
  }

  std::array<GLint, 4> viewportFor(double frameWidth, double frameHeight, double ratioWidth,
                                   double ratioHeight) {
    polygons->setViewFrame({0, 0, frameWidth, frameHeight});
    polygons->setViewportRatio(ratioWidth, ratioHeight);
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    return viewport;
  }

  std::unique_ptr<KivPolygons> polygons;
};

TEST_F(Projection, ThePictureKeepsItsRatioWithEqualBarsOnTwoSidesAndAnEmptyViewHasNone) {
  EXPECT_EQ(viewportFor(800, 600, 3, 2), (std::array<GLint, 4>{0, 33, 800, 533}));
  EXPECT_EQ(viewportFor(1000, 500, 3, 2), (std::array<GLint, 4>{125, 0, 750, 500}));
  EXPECT_EQ(viewportFor(300, 200, 3, 2), (std::array<GLint, 4>{0, 0, 300, 200}));
  EXPECT_EQ(polygons->viewportRatio().width, 3);
  EXPECT_EQ(polygons->viewportRatio().height, 2);

  // An empty view gets no frustum and raises no GL error.
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  viewportFor(0, 0, 3, 2);
  std::array<GLfloat, 16> m{};
  glGetFloatv(GL_PROJECTION_MATRIX, m.data());
  EXPECT_EQ(m, (std::array<GLfloat, 16>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Projection, TheFrustumHasItsCornersOnTheUnitCircleAtTheNearPlane) {
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(1, 2, 3);
  glMatrixMode(GL_PROJECTION);
  viewportFor(300, 200, 3, 2);

  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  std::array<GLfloat, 16> m{};
  glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
  EXPECT_EQ(m, (std::array<GLfloat, 16>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));

  // The frustum's planes recovered from its matrix.
  glGetFloatv(GL_PROJECTION_MATRIX, m.data());
  const double nearPlane = m[14] / (m[10] - 1);
  const double farPlane = m[14] / (m[10] + 1);
  EXPECT_NEAR(nearPlane * (m[8] - 1) / m[0], -0.83205, 1e-5);  // left
  EXPECT_NEAR(nearPlane * (m[8] + 1) / m[0], 0.83205, 1e-5);   // right
  EXPECT_NEAR(nearPlane * (m[9] - 1) / m[5], -0.55470, 1e-5);  // bottom
  EXPECT_NEAR(nearPlane * (m[9] + 1) / m[5], 0.55470, 1e-5);   // top
  EXPECT_NEAR(nearPlane, 1, 1e-3);
  EXPECT_NEAR(farPlane, 10000, 1);
  EXPECT_EQ(m[11], -1);
}

}  // namespace
