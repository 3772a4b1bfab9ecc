// The player's volume: Ctrl+M mutes and unmutes, Ctrl+Minus and Ctrl+Plus step it by 10%. Each
// change reaches the mixer from its next buffer, is kept in the preference file under "Volume"
// ({"Percent": 0..100, "Muted": true|false}) and shows a note over the picture for a second, in
// play and while paused.
#pragma once

#include <optional>
#include <string>

#include "app/overlay_drawing.h"
#include "platform/events.h"
#include "platform/window.h"

namespace chart {
class Preferences;
}

class VolumeKeys {
 public:
  static constexpr int kStepPercent = 10;
  static constexpr double kNoteSeconds = 1.0;

  // Takes the stored setting (100% when there is none the game can use) and applies it to the
  // game's sound service.
  explicit VolumeKeys(chart::Preferences& store);

  // The --volume and --mute options: this run starts so, the stored setting stays as it is.
  void startWith(std::optional<int> percent, bool mute);

  // True when `command` is one of the volume keys; it is then applied and stored, and its note
  // shows from `now` on.
  bool handle(platform::Command command, double now);

  int percent() const { return percent_; }
  bool muted() const { return muted_; }

  // Shows `text` in the note from `now` on, for a second: also for what the player must know of
  // the preferences.
  void showNote(const std::string& text, double now);

  // Draws the note while it shows; does nothing otherwise.
  void drawNote(double now, platform::Size bounds);

 private:
  void apply();

  chart::Preferences& preferences;
  int percent_ = 100;
  bool muted_ = false;
  double noteUntil = -1;
  std::string noteText;
  OverlayLabel note{28, platform::Rgb{255, 255, 255}};
};
