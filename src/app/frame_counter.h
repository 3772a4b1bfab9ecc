// The frames-per-second overlay: a reading of the frame rate, taken at most once a second, drawn
// in red at the top left of the view.
#pragma once

#include "app/overlay_drawing.h"
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

  double previousCall = 0;
  double accumulated = 0;
  int frames = 0;
  char buffer[32] = {};

  OverlayLabel label{18, platform::Rgb{255, 0, 0}, kFrameRateFace};
};
