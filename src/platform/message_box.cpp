#include "platform/message_box.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/audio_output.h"

namespace platform {

namespace {

// A box needs a display. Under the offscreen or dummy video driver SDL would fall back to
// talking to an X server if one happens to be reachable, and a box nobody can see would wait
// forever; without any display it fails at once.
bool quiet = false;

bool canShowBox() {
  if (quiet) return false;
  if (const char* driver = SDL_GetCurrentVideoDriver()) {
    return std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
  }
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

void quietAlerts() { quiet = true; }

bool showModalMessage(const std::string& title, const std::string& message,
                      const std::string& button) {
  if (!canShowBox()) return false;
  SDL_MessageBoxButtonData quit{};
  quit.flags = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
  quit.buttonid = 0;
  quit.text = button.c_str();

  SDL_MessageBoxData box{};
  box.flags = SDL_MESSAGEBOX_ERROR;
  box.window = SDL_GL_GetCurrentWindow();
  box.title = title.c_str();
  box.message = message.c_str();
  box.numbuttons = 1;
  box.buttons = &quit;
  int pressed = -1;
  return SDL_ShowMessageBox(&box, &pressed) == 0;
}

void beep() {
  if (quiet) return;
  if (AudioOutput* output = AudioOutput::current()) {
    output->beep();
  } else if (isatty(STDERR_FILENO)) {
    const char bell = '\a';
    [[maybe_unused]] ssize_t written = write(STDERR_FILENO, &bell, 1);
  }
}

}  // namespace platform
