#include "app/volume_keys.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>

#include "chart/preferences.h"
#include "engine/drawing.h"
#include "engine/kiv_audio.h"

namespace {

constexpr const char* kKey = "Volume";

bool usable(const nlohmann::json& value) {
  if (!value.is_object()) return false;
  const auto percent = value.find("Percent");
  const auto muted = value.find("Muted");
  return percent != value.end() && percent->is_number_integer() && *percent >= 0 &&
         *percent <= 100 && muted != value.end() && muted->is_boolean();
}

}  // namespace

VolumeKeys::VolumeKeys(chart::Preferences& store) : preferences(store) {
  // A stored value the game cannot use is left as it is until the player sets the volume.
  const nlohmann::json* stored = preferences.find(kKey);
  if (stored != nullptr && usable(*stored)) {
    percent_ = stored->at("Percent").get<int>();
    muted_ = stored->at("Muted").get<bool>();
  }
  apply();
}

void VolumeKeys::startWith(std::optional<int> percent, bool mute) {
  if (percent) {
    percent_ = *percent;
    muted_ = false;
  }
  if (mute) muted_ = true;
  apply();
}

bool VolumeKeys::handle(platform::Command command, double now) {
  switch (command) {
    case platform::Command::ToggleMute:
      muted_ = !muted_;
      break;
    case platform::Command::VolumeDown:
    case platform::Command::VolumeUp: {
      // A step is heard at once: it also ends muting.
      const int step = command == platform::Command::VolumeUp ? kStepPercent : -kStepPercent;
      percent_ = std::clamp(percent_ + step, 0, 100);
      muted_ = false;
      break;
    }
    default:
      return false;
  }
  apply();
  preferences.save(kKey, nlohmann::json{{"Percent", percent_}, {"Muted", muted_}});
  // Keys are handled between frames (or while paused): no chart's command holds the lock now,
  // and other games waiting for the file need not wait for the next frame's end.
  preferences.releaseLock();
  showNote(muted_ ? "MUTED" : "VOLUME " + std::to_string(percent_) + "%", now);
  return true;
}

void VolumeKeys::showNote(const std::string& text, double now) {
  noteText = text;
  noteUntil = now + kNoteSeconds;
}

void VolumeKeys::apply() {
  // The ear hears loudness roughly by the square of the amplitude's fraction: squared steps
  // sound even.
  const float fraction = float(percent_) / 100.0f;
  engine::KivAudio::setSharedVolume(muted_ ? 0.0f : fraction * fraction);
}

void VolumeKeys::drawNote(double now, platform::Size bounds) {
  if (now >= noteUntil) return;
  note.setHeight(overlay_layout::textHeights(bounds).note);
  note.setText(noteText);
  const overlay_layout::Spot at = overlay_layout::volumeNote(bounds, note.size());
  const int margin = overlay_layout::backdropMargin(bounds);
  WindowPixelsOverlay overlay(bounds);
  drawBackdrop({at.x - margin, at.y - margin, note.width() + margin * 2,
                note.height() + margin * 2},
               0.6f);
  note.draw(at.x, at.y);
}
