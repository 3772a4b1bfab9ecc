// Software controllers need the game program's controller support: none connects here.
#include "platform/virtual_controller.h"

namespace platform {

std::unique_ptr<VirtualController> VirtualController::connect(std::string& error) {
  error = "this program has no game controller support; the game program has";
  return nullptr;
}

// Never called: `connect` makes none.
VirtualController::~VirtualController() = default;
void VirtualController::setButton(ControllerInput::Button, bool) {}
void VirtualController::setStickX(std::int16_t) {}

}  // namespace platform
