// Choosing the panels the charts test for picking (HARD and EASY on the stats screen) without a
// mouse. Down and Tab focus the next panel in the order the charts tested them, Up and Shift+Tab
// the previous, wrapping; the first of these keys on a screen focuses the first panel. Return
// (or a controller's A) on the focused panel clicks it: a left-button press at its centre,
// current for a frame, then the release there. Moving the mouse hides the focus. Keys taken here
// never reach the charts; without panels on screen every key reaches them as before.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "engine/picking.h"
#include "platform/events.h"
#include "platform/window.h"

class PanelFocus {
 public:
  using Panels = std::span<const engine::PickingOutline>;

  // What became of a key offered to the focus.
  enum class Taken : std::uint8_t {
    No,       // it is for the charts
    Yes,      // the focus took it (or its press): it must not reach the charts
    Clicked,  // a Return that clicked the focused panel: the press is to be current now
  };
  // Offers a key event with the panels of the last frame.
  Taken takeKey(const platform::InputEvent& key, bool shift, Panels panels);
  // Clicks the focused panel; false when none is focused.
  bool click(Panels panels);
  void hide() { focused = -1; }
  bool hasFocus(Panels panels) const {
    return focused >= 0 && std::size_t(focused) < panels.size();
  }
  std::int32_t focusedIndex() const { return focused; }

  // The frame's click. At the start of each frame's input: the event the click makes current
  // now (the release, the frame after the press), if any.
  std::optional<platform::InputKind> advanceClick();
  // Where the click is, while its press or release is current: the picking point then.
  std::optional<platform::Point> clickPoint() const;

  // Outlines the focused panel; inside nothing else's GL state.
  void draw(Panels panels, platform::Size bounds) const;

 private:
  enum class ClickStage : std::uint8_t { None, Pressed, Released };

  void move(int by, Panels panels);

  std::int32_t focused = -1;
  ClickStage stage = ClickStage::None;
  platform::Point clickAt;
  // Key-downs taken here, by character, so their key-ups are taken too.
  char16_t takenKeys[4] = {};
};
