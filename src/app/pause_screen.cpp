#include "app/pause_screen.h"

#include "engine/drawing.h"

namespace {

// How bright the kept picture stays behind the words.
constexpr float kDimming = 0.35f;

}  // namespace

void PauseScreen::capture(platform::Size bounds) {
  // The last frame was drawn into the back buffer and presented. Mesa's swap copies and keeps
  // the back buffer (a driver that flips buffers keeps a frame or two earlier there, as good a
  // background); its front buffer, under X, reads back black.
  // A system whose buffer cannot be read back pauses over black.
  engine::drawing().readPixels(bounds.width, bounds.height, true, picture);
  pictureSize = bounds;
}

void PauseScreen::draw(platform::Size bounds) {
  engine::Drawing& drawing = engine::drawing();
  drawing.clear();
  WindowPixelsOverlay overlay(bounds);
  if (!picture.empty()) {
    drawing.drawDimmedPixels({pictureSize.width, pictureSize.height, picture.data()}, kDimming);
  }
  title.setText(kTitle);
  hint.setText(kHowToResume);
  const int middle = bounds.height / 2;
  title.draw((bounds.width - title.width()) / 2, middle + 8);
  hint.draw((bounds.width - hint.width()) / 2, middle - hint.height() - 8);
}
