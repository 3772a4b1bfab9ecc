// What a paused game shows: the last frame, dimmed, with "PAUSED" and how to resume and quit on
// a band of their own across it. The kept frame also stands in for the picture once a replay
// has ended, when no more frames are drawn. Both follow the window: the frame is shown whole,
// as large as the window allows.
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
  // Draws the kept picture as it was, over black bars where the window's shape differs.
  void drawKept(platform::Size bounds) { drawPicture(bounds, 1.0f); }

  static constexpr const char* kTitle = "PAUSED";
  static constexpr const char* kHowToResume = "Pause or Ctrl+P to resume  -  Ctrl+Q to quit";
  static constexpr const char* kOnAController = "On a controller: Start or B to resume";

 private:
  void drawPicture(platform::Size bounds, float brightness);

  std::vector<std::uint8_t> picture;  // RGBA rows from the bottom up
  platform::Size pictureSize;
  OverlayLabel title{72, platform::Rgb{255, 255, 255}};
  OverlayLabel hint{24, platform::Rgb{230, 230, 230}};
  OverlayLabel controllerHint{24, platform::Rgb{200, 200, 200}};
};
