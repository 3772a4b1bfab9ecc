#include "app/first_start_hint.h"

void FirstStartHint::draw(bool panelsShown, platform::Size bounds) {
  if (!showing) return;
  if (!panelsShown) {
    showing = !panelsSeen;
    return;
  }
  panelsSeen = true;
  hint.setHeight(overlay_layout::textHeights(bounds).note);
  hint.setText(kHint);
  const overlay_layout::Spot at = overlay_layout::firstStartHint(bounds, hint.size());
  const int margin = overlay_layout::backdropMargin(bounds);
  WindowPixelsOverlay overlay(bounds);
  drawBackdrop(
      {at.x - margin, at.y - margin, hint.width() + margin * 2, hint.height() + margin * 2}, 0.45f);
  hint.draw(at.x, at.y);
}
