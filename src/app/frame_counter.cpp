#include "app/frame_counter.h"

#include <cstdio>
#include <string_view>

#include "engine/drawing.h"

void FrameCounter::countFrame(double now) {
  accumulated += now - previousCall;
  previousCall = now;
  ++frames;
  if (accumulated > 1.0) {
    std::snprintf(buffer, sizeof buffer, "%3.4f FPS\n", double(frames) / accumulated);
    frames = 0;
    accumulated = 0;
  }
}

void FrameCounter::draw(double now, platform::Size bounds) {
  countFrame(now);
  // The reading's closing newline draws nothing.
  const std::string_view reading(buffer);
  label.setText(reading.substr(0, reading.find('\n')));

  // The text's baseline 15 pixels below the top, 5 from the left.
  const platform::TextImage& image = label.picture();
  engine::drawing().drawFrameRate(
      bounds.width, bounds.height, 5, float(bounds.height - 15), image.descent,
      {image.width, image.height, image.rgba.empty() ? nullptr : image.rgba.data()});
}
