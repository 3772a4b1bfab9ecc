#include "app/overlay_drawing.h"

#include <GL/gl.h>

#include "engine/kiv_alert.h"

WindowPixelsOverlay::WindowPixelsOverlay(platform::Size bounds) {
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glViewport(0, 0, bounds.width, bounds.height);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, bounds.width, 0, bounds.height, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
}

WindowPixelsOverlay::~WindowPixelsOverlay() {
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glPopAttrib();
}

void drawBackdrop(const overlay_layout::Rect& area, float opacity) {
  glColor4f(0, 0, 0, opacity);
  glRecti(area.x, area.y, area.right(), area.top());
}

void OverlayLabel::setHeight(int heightInPixels) {
  if (heightInPixels == pixels) return;
  pixels = heightInPixels;
  font.reset();
}

void OverlayLabel::setText(std::string_view newText) {
  if (font && newText == text) return;
  if (!font) {
    std::string error;
    font = platform::OverlayFont::open("DejaVu Sans:style=Bold", pixels, error);
    if (!font) KivAlert::share().setQuitAlert("The overlay font could not be opened: " + error);
  }
  text = newText;
  font->render(text.c_str(), colour, image);
}

void OverlayLabel::draw(int x, int y) const {
  if (image.rgba.empty()) return;
  glRasterPos2i(x, y);
  glDrawPixels(image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
}
