// Game controllers acting as the keyboard's arrow keys, all of them as one: the D-pad's left and
// right and the left stick pushed past its dead zone hold the Left and Right arrows, so the
// flyer turns exactly as with the keys; the D-pad's up and down are the Up and Down arrows. A
// direction is held while any controller holds it, and a controller that disconnects lets go
// of what it held.
#pragma once

#include <array>
#include <cstdint>

#include "platform/events.h"

class ControllerKeys {
 public:
  // The stick's travel, of 32767, that does not count as a push: sticks rest a little off centre.
  static constexpr std::int16_t kDeadZone = 8000;
  static constexpr int kControllers = 8;  // more at once are not followed

  // The arrow-key events a controller event makes, in order; none for buttons other than the
  // D-pad's and for changes that leave every direction as it was.
  struct KeyEvents {
    std::array<platform::InputEvent, 4> events{};
    int count = 0;
    void add(platform::InputKind kind, char16_t character) {
      events[std::size_t(count++)] = {kind, character};
    }
  };
  KeyEvents translate(const platform::ControllerInput& input);

 private:
  enum Direction : std::uint8_t { Left, Right, Up, Down, kDirections };
  struct Held {
    std::int32_t controller = -1;  // -1: the slot is free
    bool pad[kDirections] = {};
    bool stickLeft = false;
    bool stickRight = false;
  };

  Held* slotFor(std::int32_t controller);
  bool held(Direction direction) const;

  std::array<Held, kControllers> slots{};
};
