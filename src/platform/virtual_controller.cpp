#include "platform/virtual_controller.h"

#include <SDL.h>

namespace platform {

namespace {

SDL_Joystick* handle(void* joystick) { return static_cast<SDL_Joystick*>(joystick); }

int sdlButton(ControllerInput::Button button) {
  using Button = ControllerInput::Button;
  switch (button) {
    case Button::A:
      return SDL_CONTROLLER_BUTTON_A;
    case Button::B:
      return SDL_CONTROLLER_BUTTON_B;
    case Button::Start:
      return SDL_CONTROLLER_BUTTON_START;
    case Button::Up:
      return SDL_CONTROLLER_BUTTON_DPAD_UP;
    case Button::Down:
      return SDL_CONTROLLER_BUTTON_DPAD_DOWN;
    case Button::Left:
      return SDL_CONTROLLER_BUTTON_DPAD_LEFT;
    case Button::Right:
      return SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
  }
  return SDL_CONTROLLER_BUTTON_INVALID;
}

}  // namespace

std::unique_ptr<VirtualController> VirtualController::connect(std::string& error) {
  // A controller type with every standard button and axis: SDL maps it as a game controller
  // whose button and axis numbers are the controller API's own.
  SDL_VirtualJoystickDesc description{};
  description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  description.naxes = SDL_CONTROLLER_AXIS_MAX;
  description.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  description.name = "aloft virtual controller";
  const int deviceIndex = SDL_JoystickAttachVirtualEx(&description);
  if (deviceIndex < 0) {
    error = SDL_GetError();
    return nullptr;
  }
  SDL_Joystick* joystick = SDL_JoystickOpen(deviceIndex);
  if (joystick == nullptr) {
    error = SDL_GetError();
    SDL_JoystickDetachVirtual(deviceIndex);
    return nullptr;
  }
  return std::unique_ptr<VirtualController>(new VirtualController(joystick));
}

VirtualController::~VirtualController() {
  // Detaching needs the device index current now: other devices may have come or gone.
  const SDL_JoystickID id = SDL_JoystickInstanceID(handle(joystick));
  SDL_JoystickClose(handle(joystick));
  for (int index = 0; index < SDL_NumJoysticks(); ++index) {
    if (SDL_JoystickGetDeviceInstanceID(index) == id) {
      SDL_JoystickDetachVirtual(index);
      return;
    }
  }
}

void VirtualController::setButton(ControllerInput::Button button, bool down) {
  SDL_JoystickSetVirtualButton(handle(joystick), sdlButton(button),
                               down ? SDL_PRESSED : SDL_RELEASED);
}

void VirtualController::setStickX(std::int16_t position) {
  SDL_JoystickSetVirtualAxis(handle(joystick), SDL_CONTROLLER_AXIS_LEFTX, position);
}

}  // namespace platform
