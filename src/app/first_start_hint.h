// The first minute of a new player: on a first start (no best time stored yet) the stats screen
// says how to choose a mode, under the panels, until the first choice is made.
#pragma once

#include "app/overlay_drawing.h"
#include "platform/window.h"

class FirstStartHint {
 public:
  // `firstStart`: the preferences held no best time when the game started.
  explicit FirstStartHint(bool firstStart) : showing(firstStart) {}

  // Called each frame with whether the charts showed panels to choose from in it. The hint
  // shows with the first panels and is gone for good once they have gone: a mode was chosen.
  void draw(bool panelsShown, platform::Size bounds);

  static constexpr const char* kHint = "click a mode, or Tab and Return";

 private:
  bool showing;
  bool panelsSeen = false;
  OverlayLabel hint{24, platform::Rgb{255, 255, 255}};
};
