// The projection and picking half of the polygon service: the frustum for the chart's ratio,
// and the mouse hit test against registered polygons with the engine's matrices and viewport,
// which are the driver's to the bit.
#include <random>

#include "support/gl_test.h"
#include "engine/matrix.h"
#include "engine/viewport_placement.h"

namespace {

// Vertices at eye depth 1 under a frustum of half-width 1 in a 200 × 200 viewport land on
// window pixel (100x + 100, 100y + 100).
const Floats kCounterClockwise = {-0.5f, -0.5f, -1, 0.5f, -0.5f, -1, 0, 0.5f, -1};
const Floats kClockwise = {-0.5f, -0.5f, -1, 0, 0.5f, -1, 0.5f, -0.5f, -1};
const Floats kSquare = {-0.5f, -0.5f, -1, 0.5f, -0.5f, -1, 0.5f, 0.5f, -1, -0.5f, 0.5f, -1};

class Picking : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    polygons->setViewFrame({0, 0, 200, 200});
    polygons->setViewportRatio(1, 1);
    engine::Matrix& projection = polygons->state().projection.top();
    projection = engine::kIdentity;
    engine::frustum(projection, -1, 1, -1, 1, 1, 100);
  }

  std::int32_t registered(std::string_view type, const Floats& vertices) {
    return polygons->addPicking(polygons->addPolygonsType(type, vertices, {}, {}, {}));
  }

  std::int32_t pickAt(std::int32_t pickingIndex, double x, double y) {
    polygons->pickingPoint(x, y);
    return polygons->updatePicking(pickingIndex);
  }
};

// Only counter-clockwise triangles under the point hit, edges and corners included, placed by
// the matrices in force at the call; a polygon in the eye's plane cannot be hit.
TEST_F(Picking, CounterClockwiseTrianglesUnderThePointHit) {
  const std::int32_t clockwise = registered("Triangles", kClockwise);
  const std::int32_t triangle = registered("Triangles", kCounterClockwise);
  const std::int32_t flat = registered("Triangles", {-0.5f, -0.5f, 0, 0.5f, -0.5f, 0, 0, 0.5f, 0});
  EXPECT_EQ(clockwise, 0);
  // The polygon's index on a hit: inside, on the bottom edge, on a corner; -1 a pixel below it.
  const std::array<std::int32_t, 4> cases[] = {{triangle, 100, 80, 1}, {clockwise, 100, 80, -1},
                                               {flat, 100, 80, -1},    {triangle, 20, 20, -1},
                                               {triangle, 100, 50, 1}, {triangle, 50, 50, 1},
                                               {triangle, 100, 49, -1}};
  for (auto [index, x, y, hit] : cases) EXPECT_EQ(pickAt(index, x, y), hit) << x << ", " << y;
  polygons->translate(0.5f, 0, 0);
  EXPECT_EQ(pickAt(triangle, 70, 60), -1);
  EXPECT_EQ(pickAt(triangle, 170, 60), 1);
  // In a taller view the viewport starts 50 pixels up and the triangle spans rows 79 to 220.
  polygons->setViewFrame({0, 0, 200, 300});
  polygons->setViewportRatio(1, 1);
  EXPECT_EQ(pickAt(triangle, 100, 60), -1);
  EXPECT_EQ(pickAt(triangle, 100, 200), 1);
}

TEST_F(Picking, FansStripsAndTriangleListsAreSplitIntoTheirTrianglesAndLinesNeverHit) {
  // A fan of four is (0, 1, 2) and (0, 2, 3): the upper left belongs to the second only.
  const std::int32_t fan = registered("TriangleFan", kSquare);
  EXPECT_EQ(pickAt(fan, 140, 60), 0);
  EXPECT_EQ(pickAt(fan, 55, 140), 0);
  EXPECT_EQ(pickAt(fan, 160, 100), -1);

  // A strip's second triangle (1, 3, 2 as drawn) runs the same way as its first.
  const std::int32_t strip = registered(
      "TriangleStrip", {-0.5f, -0.5f, -1, 0.5f, -0.5f, -1, -0.5f, 0.5f, -1, 0.5f, 0.5f, -1});
  EXPECT_EQ(pickAt(strip, 60, 60), 1);
  EXPECT_EQ(pickAt(strip, 140, 140), 1);

  // Separate triangles: the second of two is tested as well; a vertex short of a third
  // triangle adds none.
  Floats two = kClockwise;
  two.insert(two.end(), kCounterClockwise.begin(), kCounterClockwise.end());
  two.insert(two.end(), {0, 0, -1, 1, 0, -1});
  EXPECT_EQ(pickAt(registered("Triangles", two), 100, 80), 2);
  for (const char* type : {"Points", "Lines", "LineLoop", "LineStrip"}) {
    EXPECT_EQ(pickAt(registered(type, kSquare), 100, 100), -1) << type;
  }
}

TEST_F(Picking, UnknownAndRemovedEntriesMissAndAWholeReplacementLeavesTheOldBuffer) {
  const std::int32_t polygon =
      polygons->addPolygonsType("Triangles", kCounterClockwise, {}, {}, {});
  const std::int32_t picking = polygons->addPicking(polygon);
  EXPECT_EQ(pickAt(picking + 1, 100, 80), -1);
  // Moving the top vertex down to the bottom edge's height, in place: picking sees it.
  polygons->replaceRange(7, 1);
  polygons->replaceArray(polygon, Floats{-0.5f}, {}, {}, {});
  EXPECT_EQ(pickAt(picking, 100, 80), -1);
  // A whole replacement gives the polygon a new buffer; the entry keeps the one it had.
  polygons->replaceArray(polygon, kCounterClockwise, {}, {}, {});
  EXPECT_EQ(pickAt(picking, 100, 80), -1);
  const std::int32_t fresh = polygons->addPicking(polygon);
  EXPECT_EQ(pickAt(fresh, 100, 80), polygon);
  polygons->removePicking(fresh);
  EXPECT_EQ(pickAt(fresh, 100, 80), -1);
  EXPECT_EQ(polygons->addPicking(polygon), fresh + 1);
}

// The frustum set for the chart's ratio has its corners on the unit circle at the near plane,
// and the model-view matrix is reset; an empty view has none. (The viewport's bars in other
// window shapes are in the stats screen's pictures, whole_run_test.cpp.)
using Projection = GLTest;

TEST_F(Projection, TheFrustumHasItsCornersOnTheUnitCircleAtTheNearPlaneAndAnEmptyViewHasNone) {
  const auto placeIn = [&](double width, double height) {
    polygons->setViewFrame({0, 0, width, height});
    polygons->setViewportRatio(3, 2);
  };
  polygons->translate(1, 2, 3);
  placeIn(300, 200);
  EXPECT_EQ(polygons->state().modelView.top(), engine::kIdentity);

  // The frustum's planes recovered from its matrix.
  const engine::Matrix m = polygons->state().projection.top();
  const double nearPlane = m[14] / (m[10] - 1);
  EXPECT_NEAR(nearPlane * (m[8] - 1) / m[0], -0.83205, 1e-5);  // left
  EXPECT_NEAR(nearPlane * (m[8] + 1) / m[0], 0.83205, 1e-5);   // right
  EXPECT_NEAR(nearPlane * (m[9] - 1) / m[5], -0.55470, 1e-5);  // bottom
  EXPECT_NEAR(nearPlane * (m[9] + 1) / m[5], 0.55470, 1e-5);   // top
  EXPECT_NEAR(nearPlane, 1, 1e-3);
  EXPECT_NEAR(m[14] / (m[10] + 1), 10000, 1);  // far
  EXPECT_EQ(m[11], -1);

  placeIn(0, 0);
  EXPECT_EQ(polygons->state().projection.top(), engine::kIdentity);
}

// Picking reads the engine's matrices, never the driver's; a click on a panel's edge must still
// hit as it does on the picture. So the engine's arithmetic is the fixed-function pipeline's to
// the bit: random placements, turns about the axes the charts use and about any axis, and the
// frustum of every window shape, each held against what GL computes from the same calls.
TEST_F(Projection, TheEnginesMatricesAreTheDriversBitForBit) {
  const auto driver = [](GLenum which) {
    engine::Matrix m{};
    glGetFloatv(which, m.data());
    return m;
  };
  std::mt19937 random(26);
  std::uniform_real_distribution<float> any(-400, 400);
  for (int run = 0; run < 300; ++run) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    engine::Matrix m = engine::kIdentity;
    for (int step = 0; step < 8; ++step) {
      const float a = any(random), x = any(random) / 100, y = any(random) / 100,
                  z = any(random) / 100;
      switch (random() % 5) {
        case 0: glTranslatef(x, y, z); engine::translate(m, x, y, z); break;
        case 1: glRotatef(a, 1, 0, 0); engine::rotate(m, a, 1, 0, 0); break;
        case 2: glRotatef(a, 0, 0, -1); engine::rotate(m, a, 0, 0, -1); break;
        case 3: glRotatef(a, 0, y, 0); engine::rotate(m, a, 0, y, 0); break;
        default: glRotatef(a, x, y, z); engine::rotate(m, a, x, y, z); break;
      }
      ASSERT_EQ(driver(GL_MODELVIEW_MATRIX), m) << "run " << run << " step " << step;
    }
    const double width = 1 + random() % 4000, height = 1 + random() % 4000;
    polygons->setViewFrame({0, 0, width, height});
    polygons->setViewportRatio(3, 2);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const engine::ViewportPlacement p = engine::placeViewport(0, 0, width, height, 3, 2);
    glFrustum(p.left, p.right, p.bottom, p.top, 1, 10000);
    ASSERT_EQ(driver(GL_PROJECTION_MATRIX), polygons->state().projection.top())
        << width << " x " << height;
  }
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 960, 0, 640, -1, 1);
  engine::Matrix ortho = engine::kIdentity;
  engine::ortho(ortho, 0, 960, 0, 640, -1, 1);
  EXPECT_EQ(driver(GL_PROJECTION_MATRIX), ortho);
  glMatrixMode(GL_MODELVIEW);
}

}  // namespace
