#include "app/frame_counter.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/drawing.h"
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

  // The text's baseline 15 pixels below the top, 5 from the left.
  engine::drawing().drawFrameRate(
      bounds.width, bounds.height, 5, float(bounds.height - 15), image.descent,
      {image.width, image.height, image.rgba.empty() ? nullptr : image.rgba.data()});
}
