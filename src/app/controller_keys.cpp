#include "app/controller_keys.h"

namespace {

using platform::ControllerInput;

constexpr char16_t kCharacters[] = {platform::kLeftArrowCharacter, platform::kRightArrowCharacter,
                                    platform::kUpArrowCharacter, platform::kDownArrowCharacter};

}  // namespace

ControllerKeys::Held* ControllerKeys::slotFor(std::int32_t controller) {
  Held* free = nullptr;
  for (Held& slot : slots) {
    if (slot.controller == controller) return &slot;
    if (slot.controller < 0 && free == nullptr) free = &slot;
  }
  if (free != nullptr) *free = Held{controller};
  return free;
}

bool ControllerKeys::held(Direction direction) const {
  for (const Held& slot : slots) {
    if (slot.controller < 0) continue;
    if (slot.pad[direction]) return true;
    if (direction == Left && slot.stickLeft) return true;
    if (direction == Right && slot.stickRight) return true;
  }
  return false;
}

ControllerKeys::KeyEvents ControllerKeys::translate(const ControllerInput& input) {
  bool before[kDirections];
  for (int d = 0; d < kDirections; ++d) before[d] = held(Direction(d));

  Held* slot = slotFor(input.controller);
  if (slot == nullptr) return {};
  switch (input.kind) {
    case ControllerInput::Kind::Connected:
      break;
    case ControllerInput::Kind::Disconnected:
      *slot = Held{};
      break;
    case ControllerInput::Kind::ButtonDown:
    case ControllerInput::Kind::ButtonUp: {
      const bool down = input.kind == ControllerInput::Kind::ButtonDown;
      switch (input.button) {
        case ControllerInput::Button::Left:
          slot->pad[Left] = down;
          break;
        case ControllerInput::Button::Right:
          slot->pad[Right] = down;
          break;
        case ControllerInput::Button::Up:
          slot->pad[Up] = down;
          break;
        case ControllerInput::Button::Down:
          slot->pad[Down] = down;
          break;
        default:
          break;
      }
      break;
    }
    case ControllerInput::Kind::StickX:
      slot->stickLeft = input.stickX < -kDeadZone;
      slot->stickRight = input.stickX > kDeadZone;
      break;
  }

  // Releases first: a stick swept from left to right lets go of Left before holding Right.
  KeyEvents events;
  for (int d = 0; d < kDirections; ++d) {
    if (before[d] && !held(Direction(d))) events.add(platform::InputKind::KeyUp, kCharacters[d]);
  }
  for (int d = 0; d < kDirections; ++d) {
    if (!before[d] && held(Direction(d))) events.add(platform::InputKind::KeyDown, kCharacters[d]);
  }
  return events;
}
