#include "app/replay_marks.h"

namespace {

constexpr float kBackdropOpacity = 0.6f;

void drawOnBackdrop(const OverlayLabel& label, overlay_layout::Spot at, platform::Size bounds) {
  const int margin = overlay_layout::backdropMargin(bounds);
  WindowPixelsOverlay overlay(bounds);
  drawBackdrop(
      {at.x - margin, at.y - margin, label.width() + margin * 2, label.height() + margin * 2},
      kBackdropOpacity);
  label.draw(at.x, at.y);
}

}  // namespace

void ReplayMarks::drawPlaying(platform::Size bounds) {
  mark.setHeight(overlay_layout::textHeights(bounds).mark);
  mark.setText(kMark);
  drawOnBackdrop(mark, overlay_layout::replayMark(bounds, mark.size()), bounds);
}

void ReplayMarks::drawEnded(platform::Size bounds) {
  drawPlaying(bounds);
  ended.setHeight(overlay_layout::textHeights(bounds).note);
  ended.setText(kEnded);
  drawOnBackdrop(ended, overlay_layout::replayEndedNote(bounds, ended.size()), bounds);
}
