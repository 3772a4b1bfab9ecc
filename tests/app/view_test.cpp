// The view on a headless window, frame by frame: which frames run the root chart and how long
// each is, the event the charts see in each frame, and the view's own keys and commands.
#include <gtest/gtest.h>

#include <iterator>

#include "chart/data.h"
#include "engine/kiv_alert.h"
#include "platform/events.h"
#include "support/headless_view.h"
#include "support/picture.h"

namespace {

using platform::InputKind;
class View : public HeadlessView {
 protected:
  // Renders the next frame and counts clearly red pixels in the top-left corner, where the
  // frame-rate overlay's text goes.
  int redPixelsInCornerAfterFrame(InputScript& script) {
    script.deliver(view->framesDrawn() + 1);
    clock.waitForNextTick();
    view->takeFrameEvents();
    view->renderFrame();
    const platform::Size size = window->drawableSize();
    const Picture frame = readFrameBuffer(size.width, size.height);
    view->present();
    int red = 0;
    for (int y = size.height - 30; y < size.height; ++y) {
      for (const std::uint8_t* p = frame.at(0, y); p < frame.at(200, y); p += 4) {
        red += p[0] > 128 && p[1] < 64 && p[2] < 64;
      }
    }
    return red;
  }
};

TEST_F(View, FirstFrameRunsNoChartAndHasNoLengthAndEveryLaterOneTheFixedStep) {
  chart::Data::share().setSelectedChart("");
  step();
  EXPECT_EQ(chart::Data::share().selectedChart(), "");
  EXPECT_EQ(chart::Data::share().timeSegment(), 0.0f);
  for (int frame = 2; frame <= 500; ++frame) {
    step();
    ASSERT_EQ(chart::Data::share().timeSegment(), float(kStep)) << "frame " << frame;
  }
  EXPECT_EQ(chart::Data::share().selectedChart(), "Start");
  EXPECT_EQ(chart::Data::share().selectedSnippet(), "Start");
}

// A pause, and losing the focus, stop the timer; the first frame after either has no length.
// Regaining the focus does not undo a pause the user chose. The quit command ends the loop.
TEST_F(View, PausesAndFocusStopTheTimerAndTheFrameAfterHasNoLength) {
  step();
  step();
  view->togglePause();
  EXPECT_FALSE(view->timerRunning());
  clock.waitForNextTick();  // time passes while paused
  view->togglePause();
  step();
  EXPECT_EQ(chart::Data::share().timeSegment(), 0.0f);
  step();
  EXPECT_EQ(chart::Data::share().timeSegment(), float(kStep));

  platform::pushFocusChange(false);
  view->takeFrameEvents();
  EXPECT_FALSE(view->timerRunning());
  platform::pushFocusChange(true);
  view->waitForEvents(1000);
  ASSERT_TRUE(view->timerRunning());
  step();
  EXPECT_EQ(chart::Data::share().timeSegment(), 0.0f);

  platform::pushCommandKey(platform::Command::TogglePause);
  view->takeFrameEvents();
  platform::pushFocusChange(false);
  platform::pushFocusChange(true);
  view->waitForEvents(1000);
  EXPECT_FALSE(view->timerRunning());
  platform::pushCommandKey(platform::Command::TogglePause);
  view->waitForEvents(1000);
  EXPECT_TRUE(view->timerRunning());

  platform::pushCommandKey(platform::Command::Quit);
  RunSettings settings;  // no frame limit: only the quit ends it
  runFrames(*view, *window, clock, settings);
  EXPECT_TRUE(view->quitRequested());
}

// A held key stays current until its release, which stays current in turn; pointer motion and
// menu commands leave the event as it is; events that come together are current one a frame.
// Keys the view does not take change nothing of it. Each switch of full screen reaches the
// window; setting the mode in force changes nothing.
TEST_F(View, EachFrameTheChartsSeeOneEvent) {
  InputScript script = scriptOf(
      "2 key-down Right\n6 key-up Right\n7 mouse-move 100 40\n"
      "8 key-down A\n8 key-up A\n8 mouse-down right\n8 mouse-up right\n"
      "12 key-down F2\n13 key-down a\n14 key-down Escape\n");
  constexpr char16_t right = platform::kRightArrowCharacter;
  const std::pair<InputKind, char16_t> expected[] = {
      {InputKind::None, 0},          {InputKind::KeyDown, right},       {InputKind::KeyDown, right},
      {InputKind::KeyDown, right},   {InputKind::KeyDown, right},       {InputKind::KeyUp, right},
      {InputKind::KeyUp, right},     {InputKind::KeyDown, u'A'},        {InputKind::RightMouseDown, 0},
      {InputKind::RightMouseUp, 0},  {InputKind::RightMouseUp, 0}};
  for (int frame = 1; frame <= 15; ++frame) {
    if (frame == 3 || frame == 5) platform::pushCommandKey(platform::Command::ToggleFullScreen);
    if (frame == 4 || frame == 6) view->setFullScreen(frame == 4);
    step(&script);
    const bool full = frame >= 3 && frame < 5;
    EXPECT_EQ(window->isFullScreen(), full) << "frame " << frame;
    if (frame > int(std::size(expected))) continue;
    const auto [kind, character] = expected[frame - 1];
    EXPECT_EQ(view->currentEvent().kind, kind) << "frame " << frame;
    if (character) {
      EXPECT_EQ(view->currentEvent().character, character) << "frame " << frame;
    }
  }
  // Base coordinates: origin at the bottom left, in drawable pixels.
  const platform::Size points = window->sizeInPoints(), pixels = window->drawableSize();
  EXPECT_DOUBLE_EQ(view->mouseLocation().x, 100.0 * pixels.width / points.width);
  EXPECT_DOUBLE_EQ(view->mouseLocation().y, (points.height - 40.0) * pixels.height / points.height);
  EXPECT_FALSE(view->frameCounting());
  EXPECT_TRUE(view->timerRunning());
  EXPECT_FALSE(view->quitRequested());

  // An alert in full screen returns to the window before it is shown.
  view->toggleFullScreen();
  try {
    engine::KivAlert::share().setQuitAlert("The \" Game \" chart failed at 100%d %s.");
    FAIL() << "the alert returned";
  } catch (const engine::FatalAlert& alert) {
    EXPECT_STREQ(alert.what(), "The \" Game \" chart failed at 100%d %s.");
  }
  EXPECT_FALSE(window->isFullScreen());
}

TEST_F(View, F1ShowsAndThenHidesTheFrameRate) {
  InputScript script = scriptOf("2 key-down F1\n3 key-up F1\n150 key-down F1\n");
  for (int frame = 1; frame < 149; ++frame) redPixelsInCornerAfterFrame(script);
  EXPECT_TRUE(view->frameCounting());
  // The first reading measures from time 0: 100 frames over 1.01 s.
  EXPECT_STREQ(view->counter().reading(), "99.0099 FPS\n");
  EXPECT_GT(redPixelsInCornerAfterFrame(script), 50);
  EXPECT_EQ(redPixelsInCornerAfterFrame(script), 0);
  EXPECT_FALSE(view->frameCounting());
}

}  // namespace
