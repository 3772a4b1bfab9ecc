// The view's own reactions: the frame-rate overlay, other keys, and full-screen switching.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "chart/data.h"
#include "engine/kiv_alert.h"
#include "support/headless_view.h"

namespace {

class View : public HeadlessView {
 protected:
  // Renders the next frame and counts clearly red pixels in the top-left corner, where the
  // overlay's text goes.
  int redPixelsInCornerAfterFrame(InputScript* script = nullptr) {
    const std::int64_t frame = view->framesDrawn() + 1;
    if (script) script->deliver(frame);
    clock.waitForNextTick();
    view->takeFrameEvents();
    view->renderFrame();
    const platform::Size size = window->drawableSize();
    const int width = 200, height = 30;
    std::vector<std::uint8_t> rgba(std::size_t(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, size.height - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    view->present();
    int red = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
      if (rgba[i] > 128 && rgba[i + 1] < 64 && rgba[i + 2] < 64) ++red;
    }
    return red;
  }
};

TEST_F(View, F1ShowsAndThenHidesTheFrameRate) {
  InputScript script = scriptOf("2 key-down F1\n3 key-up F1\n150 key-down F1\n");
  for (int frame = 1; frame < 149; ++frame) redPixelsInCornerAfterFrame(&script);
  EXPECT_TRUE(view->frameCounting());
  // The first reading measures from time 0: 100 frames over 1.01 s.
  EXPECT_STREQ(view->counter().reading(), "99.0099 FPS\n");
  EXPECT_GT(redPixelsInCornerAfterFrame(&script), 50);

  EXPECT_EQ(redPixelsInCornerAfterFrame(&script), 0);
  EXPECT_FALSE(view->frameCounting());
}

TEST_F(View, OtherKeysLeaveTheViewAsItWas) {
  InputScript script = scriptOf("2 key-down F2\n3 key-down a\n4 key-down Escape\n");
  for (int frame = 1; frame <= 5; ++frame) step(&script);
  EXPECT_FALSE(view->frameCounting());
  EXPECT_FALSE(view->isFullScreen());
  EXPECT_TRUE(view->timerRunning());
  EXPECT_FALSE(view->quitRequested());
}

// Setting the mode in force changes nothing; every switch reaches the window, the shared state
// and the alert, and an alert in full screen returns to the window before it is shown.
TEST_F(View, FullScreenSwitchesReachEverySideAndAnAlertLeavesIt) {
  step();
  auto expectFullScreen = [&](bool full, const char* after) {
    EXPECT_EQ(view->isFullScreen(), full) << after;
    EXPECT_EQ(window->isFullScreen(), full) << after;
    EXPECT_EQ(Data::share().fullScreen(), full) << after;
    EXPECT_EQ(KivAlert::share().fullScreen(), full) << after;
  };
  view->setFullScreen(false);
  expectFullScreen(false, "setting the window mode");
  view->setFullScreen(true);
  expectFullScreen(true, "setting full screen");
  view->setFullScreen(true);
  expectFullScreen(true, "setting full screen again");
  view->toggleFullScreen();
  expectFullScreen(false, "toggling");
  view->toggleFullScreen();
  try {
    KivAlert::share().setQuitAlert("The \" Game \" chart failed at 100%d %s.");
    FAIL() << "the alert returned";
  } catch (const FatalAlert& alert) {
    EXPECT_STREQ(alert.what(), "The \" Game \" chart failed at 100%d %s.");
  }
  expectFullScreen(false, "the alert");
}

}  // namespace
