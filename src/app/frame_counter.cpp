#include "app/frame_counter.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/kiv_alert.h"

void FrameCounter::countFrame(double now) {
  accumulated += now - previousCall;
  previousCall = now;
  ++frames;
  if (accumulated > 1.0) {
    std::snprintf(buffer, sizeof buffer, "%3.4f FPS\n", double(frames) / accumulated);
    frames = 0;
    accumulated = 0;
    imageCurrent = false;
  }
}

void FrameCounter::updateImage() {
  if (!font) {
    std::string error;
    font = platform::OverlayFont::open("DejaVu Sans:style=Book", 18, error);
    if (!font) {
      KivAlert::share().setQuitAlert("The frames-per-second font could not be opened: " + error);
    }
  }
  // The reading ends in a newline, which draws nothing.
  char line[sizeof buffer];
  std::memcpy(line, buffer, sizeof buffer);
  line[std::strcspn(line, "\n")] = '\0';
  font->render(line, platform::Rgb{255, 0, 0}, image);
  imageCurrent = true;
}

void FrameCounter::draw(double now, platform::Size bounds) {
  countFrame(now);
  if (!imageCurrent) updateImage();

  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, bounds.width, 0, bounds.height, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glColor3f(1, 0, 0);
  glRasterPos2f(5, float(bounds.height - 15));
  if (!image.rgba.empty()) {
    // The raster position is the text's baseline; the picture starts below it by the descent.
    glBitmap(0, 0, 0, 0, 0, float(-image.descent), nullptr);
    // Blend the glyphs' soft edges over the picture without disturbing the charts' own blending.
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDrawPixels(image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    glPopAttrib();
  }
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glEnable(GL_DEPTH_TEST);
}
