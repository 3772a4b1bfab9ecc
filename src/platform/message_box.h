// Modal message box and beep.
#pragma once

#include <string>

namespace platform {

// Shows a modal box with `title`, `message` and a single button labelled `button`, and waits for
// it. Returns false when no box can be shown (no display, or the offscreen driver): the caller's
// message on stderr is then all the user gets.
bool showModalMessage(const std::string& title, const std::string& message,
                      const std::string& button);

// From now on no box is shown and no beep sounds: a headless run opens no window of any kind,
// and a verifier run for a server has nobody to close a box or hear a beep.
void quietAlerts();

// A short alert sound: through the game's audio output when one is open, else the terminal bell
// when stderr is a terminal; nothing after `quietAlerts`.
void beep();

}  // namespace platform
