#include "platform/window.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdio>
#include <cstring>

#include "platform/game_controllers.h"

namespace platform {

namespace {

bool initVideo(bool headless, std::string& error) {
  if (headless) {
    // An explicit choice: without a display SDL falls back to offscreen anyway, but a headless
    // run under a desktop session must not open a window or make a sound either.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
  }
  // Events are taken a frame's worth at a time, often leaving some queued for the next frame.
  // SDL's poll sentinel would then end the next frame's taking early, before the events
  // queued after it: switch it off so a poll sees the whole queue.
  SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
  // The desktop matches the window to its menu entry by class (X11) or app id (Wayland),
  // which must be the desktop file's id; SDL reads both when the video subsystem starts.
  // A user's own setting wins (overwrite 0).
  SDL_setenv("SDL_VIDEO_X11_WMCLASS", ALOFT_APP_ID, 0);
  SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", ALOFT_APP_ID, 0);
  // SDL takes an empty SDL_VIDEODRIVER as unset.
  const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
  const bool driverChosen = chosen != nullptr && chosen[0] != '\0';
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    error = SDL_GetError();
    return false;
  }
  // Without a display SDL settles for a driver that shows nothing: the game would run unseen.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!headless && !driverChosen && driver != nullptr &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    error = kNoDisplayError;
    return false;
  }
  startGameControllers(headless);
  return true;
}

void requestContext(int depthBits) {
  // Fixed-function drawing needs a compatibility context; asking for 3.2+ without the
  // compatibility profile would give a core profile without it.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
}

}  // namespace

std::unique_ptr<Window> Window::open(const WindowSettings& settings, std::string& error) {
  if (!initVideo(settings.headless, error)) return nullptr;

  const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI |
                       SDL_WINDOW_HIDDEN;
  // Ask for a 32-bit depth buffer; most drivers offer 24, which serves as well.
  for (int depthBits : {32, 24}) {
    requestContext(depthBits);
    SDL_Window* window =
        SDL_CreateWindow(settings.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                         settings.size.width, settings.size.height, flags);
    if (!window) {
      error = SDL_GetError();
      continue;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
      error = SDL_GetError();
      SDL_DestroyWindow(window);
      continue;
    }
    // Ask for presentation in step with the display, but the frame clock holds the rate either
    // way: many X servers without vsync accept this and do not throttle.
    SDL_GL_SetSwapInterval(1);
    return std::unique_ptr<Window>(new Window(window, context, settings.headless));
  }
  return nullptr;
}

Window::~Window() {
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

Size Window::drawableSize() const {
  Size size;
  SDL_GL_GetDrawableSize(window, &size.width, &size.height);
  return size;
}

Size Window::sizeInPoints() const {
  Size size;
  SDL_GetWindowSize(window, &size.width, &size.height);
  return size;
}

void Window::show() {
  SDL_ShowWindow(window);
  SDL_RaiseWindow(window);
}

void Window::present() {
  // The headless window's surface has nothing to swap, and its swap does not hand the frame's
  // drawing to the driver: without the flush the driver queued every frame's commands
  // unexecuted, its memory growing by about 300 KB a frame on the stats screen.
  if (headless_) glFlush();
  SDL_GL_SwapWindow(window);
}

bool Window::setFullScreen(bool fullScreen) {
  return SDL_SetWindowFullscreen(window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0;
}

bool Window::isFullScreen() const {
  return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

GLVersion currentGLVersion() {
  GLVersion version;
  const auto* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (text == nullptr || std::sscanf(text, "%d.%d", &version.major, &version.minor) != 2) {
    return GLVersion{};
  }
  return version;
}

}  // namespace platform
