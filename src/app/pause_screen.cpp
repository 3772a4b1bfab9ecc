#include "app/pause_screen.h"

#include <GL/gl.h>

namespace {

// How bright the kept picture stays behind the words.
constexpr float kDimming = 0.35f;

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

void PauseScreen::draw(platform::Size bounds) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  WindowPixelsOverlay overlay(bounds);
  if (!picture.empty()) {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glDisable(GL_BLEND);
    for (GLenum scale : {GL_RED_SCALE, GL_GREEN_SCALE, GL_BLUE_SCALE}) {
      glPixelTransferf(scale, kDimming);
    }
    glRasterPos2i(0, 0);
    glDrawPixels(pictureSize.width, pictureSize.height, GL_RGBA, GL_UNSIGNED_BYTE, picture.data());
    for (GLenum scale : {GL_RED_SCALE, GL_GREEN_SCALE, GL_BLUE_SCALE}) glPixelTransferf(scale, 1);
    glEnable(GL_BLEND);
    glPopClientAttrib();
  }
  title.setText(kTitle);
  hint.setText(kHowToResume);
  const int middle = bounds.height / 2;
  title.draw((bounds.width - title.width()) / 2, middle + 8);
  hint.draw((bounds.width - hint.width()) / 2, middle - hint.height() - 8);
}
