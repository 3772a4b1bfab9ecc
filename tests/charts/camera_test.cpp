// `Camera` updated once a frame by a stand-in screen director, with keys through the real event
// path and the transform read back from the model-view matrix.
#include <GL/gl.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "game_tree.h"

namespace {

using namespace chart_tree;
using Matrix = std::array<double, 16>;  // column-major, as GL keeps it

Matrix multiply(const Matrix& a, const Matrix& b) {
  Matrix product{};
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      for (int k = 0; k < 4; ++k) product[column * 4 + row] += a[k * 4 + row] * b[column * 4 + k];
    }
  }
  return product;
}
Matrix translateZ(double z) { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, z, 1}; }
Matrix rotateX(double degrees) {
  const double radians = degrees * std::numbers::pi / 180;
  const double c = std::cos(radians), s = std::sin(radians);
  return {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1};
}
// translate(0, 0, zoom) × rotate-x(xAngle) × translate(0, 0, zHeight)
Matrix cameraTransform(double zoom, double xAngle, double zHeight) {
  return multiply(multiply(translateZ(zoom), rotateX(xAngle)), translateZ(zHeight));
}

// Takes the camera in its first pass (receiving a list appends to the cell's list) and updates
// it once a frame.
chart::ChartSource cameraDriver() {
  using namespace chart;
  return countingStandIn(
      "Menus", {"gvCamera"},
      {{"trunk0_3", decide("gvCamera", "==", "EMPTY"), "branch0_2", "trunk0_4"},
       {"branch0_2", run(Command::Global_variable_receive, {"EMPTY"}, "gvCamera"), "trunk0_4"},
       {"trunk0_4", run(Command::Object_update_all, {"EMPTY", "gvCamera"}), endOfPass}});
}

class CameraChart : public GameTree {
 protected:
  CameraChart() : GameTree({cameraDriver()}) {}

  const chart::Chart& camera() const { return *child(start(), "gvCamera"); }

  void expectModelView(double zoom, double xAngle, double zHeight) const {
    std::array<float, 16> actual{};
    glGetFloatv(GL_MODELVIEW_MATRIX, actual.data());
    const Matrix expected = cameraTransform(zoom, xAngle, zHeight);
    for (int at = 0; at < 16; ++at) {
      EXPECT_NEAR(actual[at], expected[at], 1e-4) << "element " << at;
    }
  }

  // Holds `key` over `count` frames and says which of the camera's values moved by how much.
  std::array<float, 3> moveWhileHeld(const std::string& key, int count) {
    const std::array<float, 3> before = values();
    const std::int64_t first = view->framesDrawn() + 1;
    InputScript script = scriptOf(std::to_string(first) + " key-down " + key + "\n" +
                                  std::to_string(first + count) + " key-up " + key + "\n");
    frames(count + 1, &script);
    const std::array<float, 3> after = values();
    return {after[0] - before[0], after[1] - before[1], after[2] - before[2]};
  }
  std::array<float, 3> values() const {
    return {number(camera(), "zoom"), number(camera(), "xAngle"), number(camera(), "zHeight")};
  }
};

TEST_F(CameraChart, WithoutKeysTheTransformIsTheStartingOneEveryUpdate) {
  for (int frame = 1; frame <= 3; ++frame) {
    frames(1);
    expectModelView(-35, -85, -15);
  }
  EXPECT_EQ(text(camera(), "dKey"), "d");
  EXPECT_EQ(text(camera(), "eKey"), "e");
  EXPECT_TRUE(isEmpty(camera(), "key"));
}

TEST_F(CameraChart, AHeldKeyMovesByTwentyFiveTimesTheFrameLengthPerUpdate) {
  frames(1);
  const float step = float(kStep) * 25;
  struct Case {
    const char* key;
    std::array<float, 3> moved;  // zoom, xAngle, zHeight
  };
  const Case cases[] = {{"d", {0, 0, step}},  {"a", {0, 0, -step}}, {"e", {step, 0, 0}},
                        {"q", {-step, 0, 0}}, {"w", {0, step, 0}},  {"s", {0, -step, 0}}};
  for (const Case& c : cases) {
    const std::array<float, 3> moved = moveWhileHeld(c.key, 10);
    for (int at = 0; at < 3; ++at) EXPECT_NEAR(moved[at], 10 * c.moved[at], 1e-4) << c.key;
  }
  EXPECT_FLOAT_EQ(number(camera(), "time"), float(kStep));
  const std::array<float, 3> now = values();
  frames(1);
  expectModelView(now[0], now[1], now[2]);
}

TEST_F(CameraChart, OtherKeysAndCapitalsLeaveItWhereItIs) {
  frames(1);
  for (const char* key : {"D", "A", "W", "Right", "x", "Space"}) {
    EXPECT_EQ(moveWhileHeld(key, 3), (std::array<float, 3>{0, 0, 0})) << key;
  }
  expectModelView(-35, -85, -15);
}

TEST_F(CameraChart, TheFirstUpdateAfterAResumeDoesNotMove) {
  frames(1);
  InputScript script = scriptOf(std::to_string(view->framesDrawn() + 1) + " key-down d\n");
  frames(2, &script);
  const float held = number(camera(), "zHeight");
  view->pause();
  view->pause();
  frames(1, &script);
  EXPECT_EQ(number(camera(), "zHeight"), held);
  EXPECT_EQ(number(camera(), "time"), 0.0f);
  frames(1, &script);
  EXPECT_NEAR(number(camera(), "zHeight"), held + float(kStep) * 25, 1e-4);
}

}  // namespace
