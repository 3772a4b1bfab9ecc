// What tells a watched replay from a game: a small "REPLAY" mark while it plays, and once it has
// ended, a note saying so and how to quit, so its last picture is not taken for a frozen game.
#pragma once

#include "app/overlay_drawing.h"
#include "platform/window.h"

class ReplayMarks {
 public:
  void drawPlaying(platform::Size bounds);
  void drawEnded(platform::Size bounds);

  static constexpr const char* kMark = "REPLAY";
  static constexpr const char* kEnded = "The replay has ended  -  Ctrl+Q to quit";

 private:
  OverlayLabel mark{20, platform::Rgb{255, 80, 80}};
  OverlayLabel ended{24, platform::Rgb{255, 255, 255}};
};
