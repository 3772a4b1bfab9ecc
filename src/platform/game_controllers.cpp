#include "platform/game_controllers.h"

#include <SDL.h>

namespace platform {

namespace {

std::optional<ControllerInput::Button> buttonOf(Uint8 button) {
  using Button = ControllerInput::Button;
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
      return Button::A;
    case SDL_CONTROLLER_BUTTON_B:
      return Button::B;
    case SDL_CONTROLLER_BUTTON_START:
      return Button::Start;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return Button::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return Button::Down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return Button::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return Button::Right;
    default:
      return std::nullopt;
  }
}

void setController(Event& event, ControllerInput::Kind kind, SDL_JoystickID controller) {
  event.type = Event::Type::Controller;
  event.controller.kind = kind;
  event.controller.controller = controller;
}

}  // namespace

void startGameControllers(bool inBackground) {
  if (inBackground) SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  // The devices already connected arrive as connection events, like those plugged in later.
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void translateControllerEvent(const SDL_Event& raw, Event& event) {
  using Kind = ControllerInput::Kind;
  switch (raw.type) {
    case SDL_CONTROLLERDEVICEADDED: {
      // Here `which` is the device index; the controller is known by its instance id after.
      SDL_GameController* controller = SDL_GameControllerOpen(raw.cdevice.which);
      if (controller == nullptr) return;
      setController(event, Kind::Connected,
                    SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)));
      return;
    }
    case SDL_CONTROLLERDEVICEREMOVED:
      if (SDL_GameController* controller = SDL_GameControllerFromInstanceID(raw.cdevice.which)) {
        SDL_GameControllerClose(controller);
      }
      setController(event, Kind::Disconnected, raw.cdevice.which);
      return;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const auto button = buttonOf(raw.cbutton.button);
      if (!button) return;
      setController(event, raw.type == SDL_CONTROLLERBUTTONDOWN ? Kind::ButtonDown : Kind::ButtonUp,
                    raw.cbutton.which);
      event.controller.button = *button;
      return;
    }
    case SDL_CONTROLLERAXISMOTION:
      if (raw.caxis.axis != SDL_CONTROLLER_AXIS_LEFTX) return;
      setController(event, Kind::StickX, raw.caxis.which);
      event.controller.stickX = raw.caxis.value;
      return;
    default:
      return;
  }
}

}  // namespace platform
