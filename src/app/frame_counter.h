// The frames-per-second overlay: a reading of the frame rate, taken at most once a second, drawn
// in red at the top left of the view.
#pragma once

#include <memory>

#include "platform/overlay_font.h"
#include "platform/window.h"

class FrameCounter {
 public:
  // Counts one frame at reference time `now` (seconds) and draws the last reading over a view
  // of `bounds` pixels.
  void draw(double now, platform::Size bounds);

  // The text of the last reading, e.g. "100.0000 FPS\n"; empty before the first.
  const char* reading() const { return buffer; }

 private:
  void countFrame(double now);
  void updateImage();

  double previousCall = 0;
  double accumulated = 0;
  int frames = 0;
  char buffer[32] = {};

  // The reading rendered to pixels; redone only when the reading changes.
  std::unique_ptr<platform::OverlayFont> font;
  platform::TextImage image;
  bool imageCurrent = false;
};
