#include "app/overlay_drawing.h"

#include "engine/drawing.h"
#include "engine/kiv_alert.h"

WindowPixelsOverlay::WindowPixelsOverlay(platform::Size bounds) {
  engine::drawing().beginOverlay(bounds.width, bounds.height);
}

WindowPixelsOverlay::~WindowPixelsOverlay() { engine::drawing().endOverlay(); }

void OverlayLabel::setText(const std::string& newText) {
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
  engine::drawing().drawPixels(x, y, {image.width, image.height, image.rgba.data()});
}
