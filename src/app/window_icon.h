// The game's own icon on its window, so the desktop shows it even for a program run from the
// build tree, whose icon no desktop entry names.
#pragma once

#include "platform/window.h"

// Gives `window` the generated desktop icon the program carries; a picture that cannot be
// decoded leaves the desktop's default.
void setGameIcon(platform::Window& window);
