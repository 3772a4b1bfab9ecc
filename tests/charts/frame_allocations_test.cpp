// The game's frames allocate nothing once a screen is built: the stats screen standing, and a
// run in flight whose clock rewrites its digits every hundredth, recorded as the game does.
// Counted by the benchmarks' replaced operator new, linked into this test alone.
#include "app/run_start_state.h"
#include "app/session_recorder.h"
#include "chart/preferences.h"
#include "counting_new.h"
#include "platform/events.h"
#include "support/game_tree.h"

namespace {

using namespace chart_tree;

// The HARD panel's middle on the test window of 480 x 320 points.
constexpr int kHardX = 240;
constexpr int kHardY = 52;

class FrameAllocations : public GameTree {
 protected:
  std::string screen() const {
    const auto menus = children(start(), "menus");
    const chart::Cell* menu = menus.empty() ? nullptr : &cell(*menus.front(), "menu");
    return menu && menu->type == chart::kText ? chart::toUtf8(menu->text->units) : "";
  }
  void frames(int count) {
    while (count-- > 0) step();
  }
  void framesUntil(std::string_view wanted) {
    for (int at = 0; at < 1000 && screen() != wanted; ++at) frames(1);
    ASSERT_EQ(screen(), wanted);
  }
  // Heap allocations made by `count` frames.
  long allocationsIn(int count) {
    const long before = heapAllocations();
    frames(count);
    return heapAllocations() - before;
  }
};

TEST_F(FrameAllocations, NoneOnTheStatsScreenNorInARunInFlight) {
  RunStartState runStart(chart::Data::share().globalVariableDictionary());
  SessionRecorder recorder(Replay{}, true, runStart, chart::Preferences::share());
  view->setFrameInputTap(&recorder);
  framesUntil("Stats");
  frames(3);  // the screen's charts, the scenery and the music are made here
  EXPECT_EQ(allocationsIn(50), 0);

  platform::pushMouseMove(kHardX, kHardY);
  platform::pushMouseButton(platform::MouseButton::Left, true, kHardX, kHardY);
  frames(1);
  platform::pushMouseButton(platform::MouseButton::Left, false, kHardX, kHardY);
  framesUntil("Game");
  frames(2);
  platform::pushKey(*platform::keyNamed("Space"), true);
  frames(1);
  platform::pushKey(*platform::keyNamed("Space"), false);
  frames(2);
  ASSERT_NE(global("gvStartTime"), nullptr);
  // More than a second of run time: every digit but the minutes changes in it.
  EXPECT_EQ(allocationsIn(150), 0);
  EXPECT_EQ(screen(), "Game");
  // Every frame but the view's first (taken before the recorder was attached) was recorded.
  EXPECT_EQ(std::int64_t(recorder.session().frames.size()), view->framesDrawn() - 1);
}

}  // namespace
