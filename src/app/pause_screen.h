// What a paused game shows: the last frame, dimmed, with "PAUSED" and how to resume over it.
#pragma once

#include <cstdint>
#include <vector>

#include "app/overlay_drawing.h"
#include "platform/window.h"

class PauseScreen {
 public:
  // Keeps the last frame drawn, `bounds` pixels; called right after it was presented.
  void capture(platform::Size bounds);
  // Draws the kept picture dimmed, and the words, into the back buffer.
  void draw(platform::Size bounds);

  static constexpr const char* kTitle = "PAUSED";
  static constexpr const char* kHowToResume =
      "Pause or Ctrl+P to resume  -  Start or B on a controller";

 private:
  std::vector<std::uint8_t> picture;  // RGBA rows from the bottom up
  platform::Size pictureSize;
  OverlayLabel title{72, platform::Rgb{255, 255, 255}};
  OverlayLabel hint{24, platform::Rgb{220, 220, 220}};
};
