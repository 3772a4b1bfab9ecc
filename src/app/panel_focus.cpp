#include "app/panel_focus.h"

#include <algorithm>

#include "app/overlay_drawing.h"
#include "engine/drawing.h"

namespace {

constexpr char16_t kTab = u'\t';
constexpr char16_t kReturn = u'\r';

}  // namespace

PanelFocus::Taken PanelFocus::takeKey(const platform::InputEvent& key, bool shift,
                                      Panels panels) {
  if (key.kind == platform::InputKind::KeyUp) {
    for (char16_t& taken : takenKeys) {
      if (taken != 0 && taken == key.character) {
        taken = 0;
        return Taken::Yes;
      }
    }
    return Taken::No;
  }
  if (key.kind != platform::InputKind::KeyDown) return Taken::No;
  if (panels.empty()) {
    hide();
    return Taken::No;
  }

  const char16_t c = key.character;
  Taken taken = Taken::Yes;
  if (c == platform::kDownArrowCharacter || (c == kTab && !shift)) {
    move(+1, panels);
  } else if (c == platform::kUpArrowCharacter || (c == kTab && shift)) {
    move(-1, panels);
  } else if (c == kReturn && click(panels)) {
    taken = Taken::Clicked;
  } else {
    return Taken::No;
  }
  // Held keys repeat: one slot per character is enough.
  if (std::find(std::begin(takenKeys), std::end(takenKeys), c) == std::end(takenKeys)) {
    if (char16_t* free = std::find(std::begin(takenKeys), std::end(takenKeys), u'\0');
        free != std::end(takenKeys)) {
      *free = c;
    }
  }
  return taken;
}

void PanelFocus::move(int by, Panels panels) {
  const int count = int(panels.size());
  if (!hasFocus(panels)) {
    focused = 0;
    return;
  }
  focused = (focused + by + count) % count;
}

bool PanelFocus::click(Panels panels) {
  if (!hasFocus(panels) || stage == ClickStage::Pressed) return false;
  const engine::PickingOutline& panel = panels[std::size_t(focused)];
  clickAt = {panel.centerX(), panel.centerY()};
  stage = ClickStage::Pressed;
  return true;
}

std::optional<platform::InputKind> PanelFocus::advanceClick() {
  switch (stage) {
    case ClickStage::Pressed:
      stage = ClickStage::Released;
      return platform::InputKind::LeftMouseUp;
    case ClickStage::Released:
      stage = ClickStage::None;
      return std::nullopt;
    case ClickStage::None:
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<platform::Point> PanelFocus::clickPoint() const {
  if (stage == ClickStage::None) return std::nullopt;
  return clickAt;
}

void PanelFocus::draw(Panels panels, platform::Size bounds) const {
  if (!hasFocus(panels)) return;
  const engine::PickingOutline& panel = panels[std::size_t(focused)];
  constexpr int kGap = 6;
  constexpr int kWidth = 4;
  const int left = panel.left - kGap, right = panel.right + kGap;
  const int bottom = panel.bottom - kGap, top = panel.top + kGap;
  WindowPixelsOverlay overlay(bounds);
  engine::Drawing& drawing = engine::drawing();
  constexpr std::array<float, 4> kYellow = {1.0f, 0.85f, 0.0f, 1.0f};
  drawing.fillRect(left - kWidth, bottom - kWidth, right + kWidth, bottom, kYellow);
  drawing.fillRect(left - kWidth, top, right + kWidth, top + kWidth, kYellow);
  drawing.fillRect(left - kWidth, bottom, left, top, kYellow);
  drawing.fillRect(right, bottom, right + kWidth, top, kYellow);
}
