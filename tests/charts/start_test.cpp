// `Start` with the real camera and a stand-in screen director that counts its updates and takes
// the camera global in each of them.
#include <GL/gl.h>

#include <array>

#include "engine/kiv_polygons.h"
#include "game_tree.h"

namespace {

using namespace chart_tree;

// Takes the camera global in its first pass (receiving a list appends to the cell's list).
chart::ChartSource standInMenus() {
  using namespace chart;
  return countingStandIn(
      "Menus", {"gvCamera"},
      {{"trunk0_3", decide("gvCamera", "==", "EMPTY"), "branch0_2", endOfPass},
       {"branch0_2", run(Command::Global_variable_receive, {"EMPTY"}, "gvCamera"), endOfPass}});
}

class StartChart : public GameTree {
 protected:
  StartChart() : GameTree({standInMenus()}) {}

  const chart::Chart& camera() const { return *child(start(), "gvCamera"); }
  const chart::Chart& menus() const { return *child(start(), "menus"); }
  const chart::List* publishedCamera() const {
    const chart::GlobalEntry* entry = global("gvCamera");
    return entry ? entry->list : nullptr;
  }
};

TEST_F(StartChart, FirstPassPublishesTheCameraBeforeTheDirectorRuns) {
  frames(1);
  ASSERT_EQ(children(start(), "gvCamera").size(), 1u);
  ASSERT_EQ(children(start(), "menus").size(), 1u);
  EXPECT_EQ(camera().chartName(), "Camera");
  EXPECT_EQ(menus().chartName(), "Menus");
  EXPECT_EQ(number(menus(), "updates"), 1.0f);
  // The director's first update already found the camera published.
  EXPECT_EQ(child(menus(), "gvCamera"), &camera());
  EXPECT_EQ(publishedCamera(), cell(start(), "gvCamera").object);
  // `Start` never updates the camera itself.
  EXPECT_TRUE(isEmpty(camera(), "dKey"));
  EXPECT_EQ(number(start(), "width"), 3.0f);
  EXPECT_EQ(number(start(), "height"), 2.0f);

  frames(2);
  EXPECT_EQ(number(menus(), "updates"), 3.0f);
  EXPECT_EQ(children(start(), "gvCamera").size(), 1u);
  EXPECT_EQ(children(start(), "menus").size(), 1u);
}

TEST_F(StartChart, RestartPublishesTheSameCameraOnceAndTakesTheSignalAway) {
  frames(1);
  const chart::Chart* const firstCamera = &camera();
  removeGlobal("gvCamera");  // as the end of a run empties the dictionary
  sendGlobal("gvRestart", 1.0f);
  frames(1);
  ASSERT_NE(publishedCamera(), nullptr);
  EXPECT_EQ(publishedCamera(), cell(start(), "gvCamera").object);
  EXPECT_EQ(&camera(), firstCamera);
  EXPECT_EQ(global("gvRestart"), nullptr);
  EXPECT_TRUE(isEmpty(start(), "gvRestart"));

  removeGlobal("gvCamera");
  frames(1);
  EXPECT_EQ(publishedCamera(), nullptr);
}

TEST_F(StartChart, OnlyTheNumberOneIsARestart) {
  frames(1);
  removeGlobal("gvCamera");
  sendGlobal("gvRestart", 0.0f);
  frames(1);
  EXPECT_EQ(publishedCamera(), nullptr);
  ASSERT_NE(global("gvRestart"), nullptr);
  EXPECT_EQ(global("gvRestart")->number, 0.0f);

  sendGlobal("gvRestart", u"1");
  frames(1);
  EXPECT_EQ(publishedCamera(), nullptr);
  ASSERT_NE(global("gvRestart"), nullptr);
  EXPECT_EQ(global("gvRestart")->valueType, chart::kText);
}

TEST_F(StartChart, EveryFrameSetsThePictureBackToThreeByTwo) {
  struct Case {
    KivPolygons::Rect frame;
    std::array<GLint, 4> viewport;
  };
  const Case cases[] = {
      {{0, 0, 800, 600}, {0, 33, 800, 533}},
      {{0, 0, 1000, 500}, {125, 0, 750, 500}},
      {{0, 0, 480, 320}, {0, 0, 480, 320}},
  };
  for (const Case& c : cases) {
    // What a reshape does: the view's frame with its own ratio.
    KivPolygons& polygons = KivPolygons::share();
    polygons.setViewFrame(c.frame);
    polygons.setViewportRatio(float(c.frame.width), float(c.frame.height));
    frames(1);
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    EXPECT_EQ(viewport, c.viewport) << c.frame.width << " x " << c.frame.height;
  }
}

}  // namespace
