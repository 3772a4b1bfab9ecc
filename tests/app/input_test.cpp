// Which input event the charts see in each frame.
#include <gtest/gtest.h>

#include "platform/events.h"
#include "support/headless_view.h"

namespace {

using platform::InputKind;

class CurrentEvent : public HeadlessView {
 protected:
  InputKind kindAfterFrame(InputScript& script) {
    step(&script);
    return view->currentEvent().kind;
  }
};

TEST_F(CurrentEvent, HeldKeyStaysCurrentUntilItsRelease) {
  InputScript script = scriptOf("2 key-down Right\n6 key-up Right\n");
  EXPECT_EQ(kindAfterFrame(script), InputKind::None);
  for (int frame = 2; frame <= 5; ++frame) {
    ASSERT_EQ(kindAfterFrame(script), InputKind::KeyDown) << "frame " << frame;
    EXPECT_EQ(view->currentEvent().character, platform::kRightArrowCharacter);
  }
  EXPECT_EQ(kindAfterFrame(script), InputKind::KeyUp);
  EXPECT_EQ(kindAfterFrame(script), InputKind::KeyUp);
}

TEST_F(CurrentEvent, TapBetweenTwoFramesIsCurrentForExactlyOneFrame) {
  // A shifted letter is upper case.
  InputScript script = scriptOf("3 key-down A\n3 key-up A\n3 mouse-down left\n3 mouse-up left\n");
  step(&script);
  step(&script);
  EXPECT_EQ(kindAfterFrame(script), InputKind::KeyDown);
  EXPECT_EQ(view->currentEvent().character, u'A');
  // The release and the click were queued behind the key: one down event per frame.
  EXPECT_EQ(kindAfterFrame(script), InputKind::LeftMouseDown);
  EXPECT_EQ(kindAfterFrame(script), InputKind::LeftMouseUp);
  EXPECT_EQ(kindAfterFrame(script), InputKind::LeftMouseUp);
}

TEST_F(CurrentEvent, PointerMotionMovesThePointButKeepsTheEvent) {
  InputScript script = scriptOf("1 key-down Left\n2 mouse-move 100 40\n");
  step(&script);
  step(&script);
  EXPECT_EQ(view->currentEvent().kind, InputKind::KeyDown);
  EXPECT_EQ(view->currentEvent().character, platform::kLeftArrowCharacter);
  // Base coordinates: origin at the bottom left, in drawable pixels.
  const platform::Size points = window->sizeInPoints();
  const platform::Size pixels = window->drawableSize();
  EXPECT_DOUBLE_EQ(view->mouseLocation().x, 100.0 * pixels.width / points.width);
  EXPECT_DOUBLE_EQ(view->mouseLocation().y, (points.height - 40.0) * pixels.height / points.height);
}

TEST_F(CurrentEvent, MenuCommandsNeverBecomeTheCurrentEvent) {
  InputScript script = scriptOf("1 key-down 7\n");
  step(&script);
  ASSERT_EQ(view->currentEvent().kind, InputKind::KeyDown);

  platform::pushCommandKey(platform::Command::ToggleFullScreen);
  step();
  EXPECT_TRUE(view->isFullScreen());
  EXPECT_EQ(view->currentEvent().kind, InputKind::KeyDown);
  EXPECT_EQ(view->currentEvent().character, u'7');

  platform::pushCommandKey(platform::Command::ToggleFullScreen);
  step();
  EXPECT_FALSE(view->isFullScreen());
  EXPECT_EQ(view->currentEvent().character, u'7');
}

}  // namespace
