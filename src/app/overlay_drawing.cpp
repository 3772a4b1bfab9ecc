#include "app/overlay_drawing.h"

#include "engine/drawing.h"
#include "engine/kiv_alert.h"

WindowPixelsOverlay::WindowPixelsOverlay(platform::Size bounds) {
  engine::drawing().beginOverlay(bounds.width, bounds.height);
}

WindowPixelsOverlay::~WindowPixelsOverlay() { engine::drawing().endOverlay(); }

void drawBackdrop(const overlay_layout::Rect& area, float opacity) {
  engine::drawing().fillRect(area.x, area.y, area.right(), area.top(), {0, 0, 0, opacity});
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
    font = platform::OverlayFont::open(fontFace.pattern, pixels, error);
    if (!font) {
      engine::KivAlert::share().setQuitAlert(std::string("The ") + fontFace.role +
                                             " font could not be opened: " + error);
    }
  }
  text = newText;
  font->render(text.c_str(), colour, image);
}

void OverlayLabel::draw(int x, int y) const {
  if (image.rgba.empty()) return;
  engine::drawing().drawPixels(x, y, {image.width, image.height, image.rgba.data()});
}
