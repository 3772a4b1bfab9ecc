// `Background` in the game's tree on the stats screen, whose own chart is a stand-in: what it
// keeps in the engine, and how it runs the camera.
#include <string>

#include "game_tree.h"
#include "support/engine_counts.h"

namespace {

using namespace chart_tree;

class BackgroundChart : public GameTree {
 protected:
  BackgroundChart() : GameTree({countingStandIn("Stats", {})}) {}

  void SetUp() override {
    GameTree::SetUp();
    frames(1);
    while (!child(menus(), "backObj")) frames(1);
  }

  const chart::Chart& menus() const { return *child(start(), "menus"); }
  const chart::Chart& background() const { return *child(menus(), "backObj"); }
  const chart::Chart& camera() const { return *child(start(), "gvCamera"); }
};

TEST_F(BackgroundChart, MakesTwoPolygonsAndTwoPicturesOnceAndNothingAfter) {
  EXPECT_EQ(engineCounts().polygons, 0u);  // the logos went the frame before
  EXPECT_EQ(engineCounts().textures, 0u);
  frames(1);
  const EngineCounts made = engineCounts();
  EXPECT_EQ(made.polygons, 2u);
  EXPECT_EQ(made.textures, 2u);
  EXPECT_EQ(text(background(), "imageName"), "Grass.tif");
  EXPECT_EQ(text(background(), "aImageName"), "Sky_Day.tif");
  EXPECT_EQ(child(background(), "gvCamera"), &camera());
  const float indexes[] = {number(background(), "polyNum"), number(background(), "aPolyNum"),
                           number(background(), "imageNum"), number(background(), "aImageNum")};
  EXPECT_NE(indexes[0], indexes[1]);
  EXPECT_NE(indexes[2], indexes[3]);

  frames(50);
  EXPECT_EQ(engineCounts(), made);
  const float later[] = {number(background(), "polyNum"), number(background(), "aPolyNum"),
                         number(background(), "imageNum"), number(background(), "aImageNum")};
  for (int at = 0; at < 4; ++at) EXPECT_EQ(later[at], indexes[at]);
}

TEST_F(BackgroundChart, RunsTheCameraBeforeEachOfItsTwoPolygons) {
  frames(1);
  const float before = number(camera(), "zHeight");
  const std::string first = std::to_string(view->framesDrawn() + 1);
  const std::string last = std::to_string(view->framesDrawn() + 11);
  InputScript script = scriptOf(first + " key-down d\n" + last + " key-up d\n");
  frames(11, &script);
  // Ten frames of the key, two camera updates in each.
  EXPECT_NEAR(number(camera(), "zHeight") - before, 2 * 10 * float(kStep) * 25, 1e-3);
}

}  // namespace
