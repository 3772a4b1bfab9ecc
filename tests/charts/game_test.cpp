#include <array>
#include <cstdint>

#include "run_charts_test_support.h"

namespace chart::testing {
namespace {

// The camera at rest: 35 behind, tilted 85 degrees, 15 up; it counts its updates.
ChartSource restingCamera() {
  return testChart("Camera", {"zoom", "xAngle", "zHeight", "updates"},
                   {{"trunk0_1", decide("updates", "==", "EMPTY"), "branch0_1", "trunk0_2"},
                    {"branch0_1", set("zoom", -35), "branch0_2"},
                    {"branch0_2", set("xAngle", -85), "branch0_3"},
                    {"branch0_3", set("zHeight", -15), "branch0_4"},
                    {"branch0_4", set("updates", 0), "trunk0_2"},
                    {"trunk0_2", equation("updates = updates + 1"), "trunk0_3"},
                    {"trunk0_3", run(Move_z, {"zoom"}), "trunk0_4"},
                    {"trunk0_4", run(Rotate_x, {"xAngle"}), "trunk0_5"},
                    {"trunk0_5", run(Move_z, {"zHeight"}), endOfPass}});
}

// Publishes the camera as `gvCamera` and runs one `Game`, as the root chart and the screen
// director do.
ChartSource owner() {
  return testChart("Owner", {"gvCamera", "game"},
                   {{"trunk0_1", decide("gvCamera", "==", "EMPTY"), "branch0_1", "trunk0_2"},
                    {"branch0_1", create("Camera", "gvCamera"), "branch0_2"},
                    {"branch0_2", run(Global_variable_send, {"gvCamera", "EMPTY"}), "branch0_3"},
                    {"branch0_3", create("Game", "game"), "trunk0_2"},
                    {"trunk0_2", run(Object_update_all, {"EMPTY", "game"}), endOfPass}});
}

class GameTest : public RunChartsTest {
 protected:
  void SetUp() override {
    RunChartsTest::SetUp();
    use({owner(), gameChart(), restingCamera()});
  }

  // A `Game` in `mode` after its set-up pass and one waiting frame.
  Chart& waitingGame(std::string_view mode) {
    sendText("gvGameType", mode);
    ownerChart = &make("Owner");
    frame(*ownerChart);
    frame(*ownerChart);
    return *children(*ownerChart, "game").at(0);
  }
  void fly(int count) {
    for (int at = 0; at < count; ++at) frame(*ownerChart);
  }
  // A flying `Game` in `mode`, started with the space bar, which is then let go.
  Chart& flyingGame(std::string_view mode) {
    Chart& game = waitingGame(mode);
    press("Space");
    fly(1);
    press("Space", false);
    fly(1);
    return game;
  }
  static float number(Chart& chart, std::string_view name) { return cell(chart, name).math; }

  // Pixels of the frame that are pure red, the colour of the flyer's third triangle.
  static int redPixels() {
    std::vector<std::array<std::uint8_t, 4>> pixels(480 * 320);
    glReadPixels(0, 0, 480, 320, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int red = 0;
    for (const auto& pixel : pixels) red += pixel[0] == 255 && pixel[1] == 0 && pixel[2] == 0;
    return red;
  }
  Chart* ownerChart = nullptr;
};

TEST_F(GameTest, TheSetUpPassDrawsNothingAndTheNextDrawsTheFlyerAndItsShadow) {
  sendText("gvGameType", "Easy");
  ownerChart = &make("Owner");
  frame(*ownerChart);
  EXPECT_EQ(drawnPixels(), 0);
  frame(*ownerChart);
  EXPECT_GT(redPixels(), 0);
  Chart& game = *children(*ownerChart, "game").at(0);
  EXPECT_EQ(number(game, "yMove"), 1.5f);
  EXPECT_EQ(number(game, "xMove"), 0.0f);
  EXPECT_EQ(number(game, "zAngle"), 0.0f);
  EXPECT_EQ(number(*children(*ownerChart, "gvCamera").at(0), "updates"), 2.0f);
}

TEST_F(GameTest, NothingMovesBeforeAKey) {
  Chart& game = waitingGame("Hard");
  fly(200);
  EXPECT_EQ(number(game, "yMove"), 1.5f);
  EXPECT_EQ(number(game, "xMove"), 0.0f);
  EXPECT_EQ(cell(game, "time").type, kEmpty);
  EXPECT_EQ(global("gvStartTime"), nullptr);
}

TEST_F(GameTest, AnyKeyStartsTheRunAndMovesInThatFrame) {
  Chart& game = waitingGame("Hard");
  press("Space");
  fly(1);
  ASSERT_NE(global("gvStartTime"), nullptr);
  EXPECT_EQ(global("gvStartTime")->number, 1.0f);
  EXPECT_FLOAT_EQ(number(game, "yMove"), 1.5f + 0.18f);
  press("Space", false);
  globals().remove(globals().keyFor("gvStartTime"));
  fly(1);
  EXPECT_EQ(global("gvStartTime"), nullptr) << "sent without a key down";
  EXPECT_FLOAT_EQ(number(game, "yMove"), 1.5f + 0.36f);
}

struct ModeCase {
  std::string_view mode;
  float speed;  // units per second
  float turn;   // degrees per frame
};

std::ostream& operator<<(std::ostream& out, const ModeCase& c) { return out << c.mode; }

class GameModeTest : public GameTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(GameModeTest, TheFlyerClimbsAtTheModesSpeed) {
  Chart& game = flyingGame(GetParam().mode);
  fly(98);  // a whole second flying
  EXPECT_NEAR(number(game, "yMove"), 1.5f + GetParam().speed, 1e-4f);
  EXPECT_EQ(number(game, "xMove"), 0.0f);
}

TEST_P(GameModeTest, TheArrowsTurnAFixedStepPerFrame) {
  Chart& game = waitingGame(GetParam().mode);
  press("Right");  // the first key also turns
  fly(3);
  EXPECT_EQ(number(game, "zAngle"), -3 * GetParam().turn);
  Data::share().setTimeSegment(0.05f);
  fly(2);
  EXPECT_EQ(number(game, "zAngle"), -5 * GetParam().turn);
  press("Left");
  fly(1);
  EXPECT_EQ(number(game, "zAngle"), -4 * GetParam().turn);
  EXPECT_GT(number(game, "xMove"), 0.0f) << "turned right, the flyer moves towards +x";
}

INSTANTIATE_TEST_SUITE_P(Game, GameModeTest,
                         ::testing::Values(ModeCase{"Easy", 8.0f, 2.0f},
                                           ModeCase{"Hard", 18.0f, 5.0f}));

TEST_F(GameTest, TheCeilingAndTheWallsHold) {
  Chart& game = flyingGame("Hard");
  fly(300);
  EXPECT_EQ(number(game, "yMove"), 30.0f);
  EXPECT_EQ(global("gvStopTime"), nullptr);

  storeNumber(cell(game, "zAngle"), 90);  // nose towards -x, 0.18 a frame
  storeNumber(cell(game, "xMove"), -25.22f);
  fly(1);
  EXPECT_EQ(number(game, "xMove"), -25.0f);
  storeNumber(cell(game, "zAngle"), -90);
  storeNumber(cell(game, "xMove"), 24.9f);
  fly(1);
  EXPECT_EQ(number(game, "xMove"), 25.0f);
  EXPECT_EQ(number(game, "yMove"), 30.0f);
}

TEST_F(GameTest, ComingBackDownToThreeAfterLaunchEndsTheRun) {
  Chart& game = flyingGame("Hard");
  fly(10);  // above 3: launched
  storeNumber(cell(game, "zAngle"), 180);
  float before = number(game, "yMove");
  for (int frame = 0; frame < 400 && global("gvStopTime") == nullptr; ++frame) {
    before = number(game, "yMove");
    fly(1);
  }
  ASSERT_NE(global("gvStopTime"), nullptr);
  EXPECT_EQ(global("gvStopTime")->number, 1.0f);
  EXPECT_GT(before, 3.0f) << "the run ended late";
  EXPECT_EQ(number(game, "yMove"), 3.0f);
}

TEST_F(GameTest, SinkingBeforeLaunchDoesNotEndTheRun) {
  Chart& game = flyingGame("Easy");
  storeNumber(cell(game, "zAngle"), 180);
  fly(100);
  EXPECT_LT(number(game, "yMove"), 0.0f);
  EXPECT_EQ(global("gvStopTime"), nullptr);
}

}  // namespace
}  // namespace chart::testing
