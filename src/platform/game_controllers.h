// Game controllers through SDL's controller database: every device SDL recognises as a game
// controller is opened when it connects (also the ones connected at start) and closed when it
// goes, and its events are translated into the game's terms.
#pragma once

#include "platform/events.h"

union SDL_Event;

namespace platform {

// Starts SDL's game controller support. Without it (no joystick support on the system) the game
// plays on with keyboard and mouse only. `inBackground`: deliver controller events even when no
// window has the keyboard focus, as a headless run's never does.
void startGameControllers(bool inBackground);

// Translates a controller event; leaves `event` as it is (Ignored) for any other event, and for
// controller input the game does not use.
void translateControllerEvent(const SDL_Event& raw, Event& event);

}  // namespace platform
