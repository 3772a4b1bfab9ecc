// The view's frame loop: which frames run the root chart, and how long each frame is.
#include <gtest/gtest.h>

#include "chart/data.h"
#include "platform/events.h"
#include "support/headless_view.h"

namespace {

using FrameLoop = HeadlessView;

TEST_F(FrameLoop, FirstFrameRunsNoChartAndHasNoLengthAndEveryLaterOneTheFixedStep) {
  Data::share().setSelectedChart("");
  step();
  EXPECT_EQ(Data::share().selectedChart(), "");
  EXPECT_EQ(Data::share().timeSegment(), 0.0f);
  for (int frame = 2; frame <= 500; ++frame) {
    step();
    ASSERT_EQ(Data::share().timeSegment(), float(kStep)) << "frame " << frame;
  }
  EXPECT_EQ(Data::share().selectedChart(), "Start");
  EXPECT_EQ(Data::share().selectedSnippet(), "Start");
}

// A pause, and losing the focus, stop the timer; the first frame after either has no length.
TEST_F(FrameLoop, FirstFrameAfterResumingOrRegainingFocusHasNoLength) {
  step();
  step();
  view->pause();
  EXPECT_FALSE(view->timerRunning());
  clock.waitForNextTick();  // time passes while paused
  view->pause();
  step();
  EXPECT_EQ(Data::share().timeSegment(), 0.0f);
  step();
  EXPECT_EQ(Data::share().timeSegment(), float(kStep));

  platform::pushFocusChange(false);
  view->takeFrameEvents();
  EXPECT_FALSE(view->timerRunning());
  platform::pushFocusChange(true);
  view->waitForEvents(1000);
  ASSERT_TRUE(view->timerRunning());
  step();
  EXPECT_EQ(Data::share().timeSegment(), 0.0f);
}

TEST_F(FrameLoop, RegainingFocusDoesNotUndoAPauseTheUserChose) {
  step();
  platform::pushCommandKey(platform::Command::TogglePause);
  view->takeFrameEvents();
  ASSERT_FALSE(view->timerRunning());

  platform::pushFocusChange(false);
  platform::pushFocusChange(true);
  view->waitForEvents(1000);
  EXPECT_FALSE(view->timerRunning());

  platform::pushCommandKey(platform::Command::TogglePause);
  view->waitForEvents(1000);
  EXPECT_TRUE(view->timerRunning());
}

TEST_F(FrameLoop, QuitCommandEndsTheLoop) {
  step();
  platform::pushCommandKey(platform::Command::Quit);
  RunSettings settings;  // no frame limit: only the quit ends it
  EXPECT_EQ(runFrames(*view, *window, clock, settings), 0);
  EXPECT_TRUE(view->quitRequested());
}

}  // namespace
