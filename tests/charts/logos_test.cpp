// `Logos` on its own under a stand-in root that creates it and updates it every frame, with the
// real pictures and the real drawing; and its release by `Menus` in the game's tree.
#include "game_tree.h"
#include "support/engine_counts.h"

namespace {

using namespace chart_tree;

chart::ChartSource logosRoot() {
  using namespace chart;
  return chart::testing::testChart(
      "Start", {"logos"},
      {{"trunk0_1", decide("logos", "==", "EMPTY"), "branch0_1", "trunk0_2"},
       {"branch0_1", create("Logos", "logos"), "trunk0_2"},
       {"trunk0_2", run(Command::Object_update_all, {"EMPTY", "logos"}), endOfPass}});
}

// The first frame, counting from 1, by which frames of `step` seconds add up to `seconds` in
// the chart's float arithmetic.
int frameReaching(float seconds, float step) {
  float total = 0;
  int frame = 0;
  while (!(total >= seconds)) {
    total += step;
    ++frame;
  }
  return frame;
}

class LogosChart : public GameTree {
 protected:
  LogosChart() : GameTree({logosRoot()}) {}

  const chart::Chart& logos() const { return *child(start(), "logos"); }
  // The picture the chart's cells describe: "TupLogo.tif" or "FennickOGL2.tif".
  std::string picture() const { return text(logos(), "imageName"); }
  bool sentExit() const { return global("gvExitLogos") && global("gvExitLogos")->number == 1; }
};

TEST_F(LogosChart, ThePicturesChangeAtThreeAndSixSecondsAndTheBuildingFramesDrawNothing) {
  const int second = frameReaching(3, float(kStep));
  const int done = frameReaching(6, float(kStep));
  ASSERT_NEAR(second, 300, 1);
  ASSERT_NEAR(done, 600, 1);
  for (int frame = 1; frame <= done + 5; ++frame) {
    removeGlobal("gvExitLogos");
    const Picture drawn = pictureOfNextFrame();
    const bool building = frame == 1 || frame == second;
    const bool showing = !building && frame < done;
    ASSERT_EQ(drawn.litPixels() > 0, showing) << "frame " << frame;
    ASSERT_EQ(sentExit(), frame >= done) << "frame " << frame;
    if (frame < done) {
      ASSERT_EQ(picture(), frame < second ? "TupLogo.tif" : "FennickOGL2.tif") << "frame " << frame;
      ASSERT_EQ(number(logos(), "zMove"), frame < second ? -5.0f : -3.0f) << "frame " << frame;
    }
  }
  // Both pictures stay until the chart goes.
  EXPECT_EQ(engineCounts().polygons, 2u);
  EXPECT_EQ(engineCounts().textures, 2u);
}

TEST_F(LogosChart, AFirstFrameOfThreeSecondsBuildsTheSecondPictureAtOnce) {
  clock.setStep(3.0);
  EXPECT_EQ(pictureOfNextFrame().litPixels(), 0);
  EXPECT_TRUE(isEmpty(logos(), "total"));
  EXPECT_EQ(picture(), "FennickOGL2.tif");
  EXPECT_EQ(engineCounts().polygons, 1u);
  EXPECT_EQ(engineCounts().textures, 1u);
  clock.setStep(kStep);
  EXPECT_GT(pictureOfNextFrame().litPixels(), 0);
  EXPECT_FALSE(sentExit());
}

TEST_F(LogosChart, AFirstFrameOfSixSecondsEndsAtOnceAndBuildsNothing) {
  clock.setStep(6.0);
  EXPECT_EQ(pictureOfNextFrame().litPixels(), 0);
  EXPECT_TRUE(sentExit());
  EXPECT_TRUE(isEmpty(logos(), "total"));
  EXPECT_TRUE(isEmpty(logos(), "aTotal"));
  EXPECT_EQ(engineCounts().polygons, 0u);
  EXPECT_EQ(engineCounts().textures, 0u);
}

TEST_F(LogosChart, AFrameThatJumpsPastSixSecondsSkipsTheSecondPicture) {
  frames(2);
  clock.setStep(5.99);
  frames(1);
  EXPECT_TRUE(sentExit());
  EXPECT_TRUE(isEmpty(logos(), "aTotal"));
  EXPECT_EQ(picture(), "TupLogo.tif");
}

// Released by the screen director when it is done: both pictures go with it.
class LogosInTheGame : public GameTree {};

TEST_F(LogosInTheGame, ReleasingTheChartRemovesBothPicturesAndBothPolygons) {
  const auto logos = [&] { return child(*child(start(), "menus"), "logosObj"); };
  frames(1);
  while (logos() && isEmpty(*logos(), "aTotal")) frames(1);
  ASSERT_NE(logos(), nullptr);
  EXPECT_EQ(engineCounts().polygons, 2u);
  EXPECT_EQ(engineCounts().textures, 2u);
  while (logos()) frames(1);
  EXPECT_EQ(engineCounts().polygons, 0u);
  EXPECT_EQ(engineCounts().textures, 0u);
}

}  // namespace
