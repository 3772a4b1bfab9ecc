#include "app/pause_screen.h"

#include "engine/drawing.h"

namespace {

// How bright the kept picture stays behind the words.
constexpr float kDimming = 0.35f;
// The band under the words hides what the picture has there.
constexpr float kBandOpacity = 0.8f;

}  // namespace

void PauseScreen::capture(platform::Size bounds) {
  // The last frame was drawn into the back buffer and presented. Mesa's swap copies and keeps
  // the back buffer (a driver that flips buffers keeps a frame or two earlier there, as good a
  // background); its front buffer, under X, reads back black.
  // A system whose buffer cannot be read back pauses over black.
  engine::drawing().readPixels(bounds.width, bounds.height, true, picture);
  pictureSize = bounds;
}

void PauseScreen::drawPicture(platform::Size bounds, float brightness) {
  engine::drawing().clear();
  if (picture.empty()) return;
  WindowPixelsOverlay overlay(bounds);
  const overlay_layout::Fit fit = overlay_layout::fitPicture(pictureSize, bounds);
  engine::drawing().drawDimmedPixels(fit.at.x, fit.at.y, fit.zoom,
                                     {pictureSize.width, pictureSize.height, picture.data()},
                                     brightness);
}

void PauseScreen::draw(platform::Size bounds) {
  drawPicture(bounds, kDimming);
  const overlay_layout::TextHeights heights = overlay_layout::textHeights(bounds);
  title.setHeight(heights.pauseTitle);
  hint.setHeight(heights.pauseHint);
  controllerHint.setHeight(heights.pauseHint);
  title.setText(kTitle);
  hint.setText(kHowToResume);
  controllerHint.setText(kOnAController);
  const overlay_layout::PauseBand layout =
      overlay_layout::pauseBand(bounds, title.size(), hint.size(), controllerHint.size());
  WindowPixelsOverlay overlay(bounds);
  drawBackdrop(layout.band, kBandOpacity);
  title.draw(layout.title.x, layout.title.y);
  hint.draw(layout.hint.x, layout.hint.y);
  controllerHint.draw(layout.secondHint.x, layout.secondHint.y);
}
