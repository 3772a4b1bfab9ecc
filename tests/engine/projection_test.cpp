// The viewport kept at the chart's ratio inside the view, and the frustum set to match, read
// back from GL.
#include "engine/gl_test.h"

namespace {

using Matrix = std::array<GLfloat, 16>;
const Matrix kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

class Projection : public GLTest {
 protected:
  std::array<GLint, 4> viewportFor(double frameWidth, double frameHeight) {
    polygons->setViewFrame({0, 0, frameWidth, frameHeight});
    polygons->setViewportRatio(3, 2);
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    return viewport;
  }
  static Matrix matrix(GLenum which) {
    Matrix m{};
    glGetFloatv(which, m.data());
    return m;
  }
};

// The bars of other window shapes are in the stats screen's pictures (whole_run_test.cpp).
TEST_F(Projection, TheFrustumHasItsCornersOnTheUnitCircleAtTheNearPlaneAndAnEmptyViewHasNone) {
  glTranslatef(1, 2, 3);
  glMatrixMode(GL_PROJECTION);
  viewportFor(300, 200);
  EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
  EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), kIdentity);

  // The frustum's planes recovered from its matrix.
  const Matrix m = matrix(GL_PROJECTION_MATRIX);
  const double nearPlane = m[14] / (m[10] - 1);
  EXPECT_NEAR(nearPlane * (m[8] - 1) / m[0], -0.83205, 1e-5);  // left
  EXPECT_NEAR(nearPlane * (m[8] + 1) / m[0], 0.83205, 1e-5);   // right
  EXPECT_NEAR(nearPlane * (m[9] - 1) / m[5], -0.55470, 1e-5);  // bottom
  EXPECT_NEAR(nearPlane * (m[9] + 1) / m[5], 0.55470, 1e-5);   // top
  EXPECT_NEAR(nearPlane, 1, 1e-3);
  EXPECT_NEAR(m[14] / (m[10] + 1), 10000, 1);  // far
  EXPECT_EQ(m[11], -1);

  viewportFor(0, 0);
  EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), kIdentity);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
