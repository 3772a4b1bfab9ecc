#include "app/pause_screen.h"

#include <GL/gl.h>

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
  while (glGetError() != GL_NO_ERROR) {
  }
  picture.resize(std::size_t(bounds.width) * std::size_t(bounds.height) * 4);
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, bounds.width, bounds.height, GL_RGBA, GL_UNSIGNED_BYTE, picture.data());
  glReadBuffer(GL_BACK);
  glPopClientAttrib();
  // A system without a readable front buffer pauses over black.
  if (glGetError() != GL_NO_ERROR) picture.clear();
  pictureSize = bounds;
}

void PauseScreen::drawPicture(platform::Size bounds, float brightness) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (picture.empty()) return;
  WindowPixelsOverlay overlay(bounds);
  const overlay_layout::Fit fit = overlay_layout::fitPicture(pictureSize, bounds);
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glDisable(GL_BLEND);
  for (GLenum scale : {GL_RED_SCALE, GL_GREEN_SCALE, GL_BLUE_SCALE}) {
    glPixelTransferf(scale, brightness);
  }
  glPixelZoom(fit.zoom, fit.zoom);
  glRasterPos2i(fit.at.x, fit.at.y);
  glDrawPixels(pictureSize.width, pictureSize.height, GL_RGBA, GL_UNSIGNED_BYTE, picture.data());
  glPixelZoom(1, 1);
  for (GLenum scale : {GL_RED_SCALE, GL_GREEN_SCALE, GL_BLUE_SCALE}) glPixelTransferf(scale, 1);
  glEnable(GL_BLEND);
  glPopClientAttrib();
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
