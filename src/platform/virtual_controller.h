// A software game controller that SDL treats like a connected device, for scripted runs and
// tests: its buttons and stick are set by the program and reach the game as a real
// controller's would.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/events.h"

namespace platform {

class VirtualController {
 public:
  // Connects a new controller (the game controller support must be started). Returns null with
  // `error` set when SDL refuses.
  static std::unique_ptr<VirtualController> connect(std::string& error);
  // Disconnects it.
  ~VirtualController();
  VirtualController(const VirtualController&) = delete;
  VirtualController& operator=(const VirtualController&) = delete;

  void setButton(ControllerInput::Button button, bool down);
  // The left stick's horizontal position, -32768 (left) to 32767 (right).
  void setStickX(std::int16_t position);

 private:
  explicit VirtualController(void* device) : joystick(device) {}
  void* joystick;  // SDL_Joystick
};

}  // namespace platform
