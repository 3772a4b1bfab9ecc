#include "platform/window.h"

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
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

// The usable area (without panels and docks) of display `displayIndex`; empty when unknown.
SDL_Rect usableArea(int displayIndex) {
  SDL_Rect area{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(displayIndex, &area) != 0) area = {0, 0, 0, 0};
  return area;
}

// Fits a visible window into its display's usable area, frame included when the window manager
// says how thick it is, and keeps the player from making it smaller than `minimum`.
void fitOnScreen(SDL_Window* window, Size minimum) {
  const int display = std::max(0, SDL_GetWindowDisplayIndex(window));
  const SDL_Rect area = usableArea(display);
  if (area.w <= 0 || area.h <= 0) return;
  int top = 0, left = 0, bottom = 0, right = 0;
  if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0) {
    top = left = bottom = right = 0;
  }
  const Size room{area.w - left - right, area.h - top - bottom};
  SDL_SetWindowMinimumSize(window, std::min(minimum.width, room.width),
                           std::min(minimum.height, room.height));
  Size size;
  SDL_GetWindowSize(window, &size.width, &size.height);
  const Size fitted = fittedSize(size, room);
  if (!(fitted == size)) SDL_SetWindowSize(window, fitted.width, fitted.height);
  int x = 0, y = 0;
  SDL_GetWindowPosition(window, &x, &y);
  // Wholly on the usable area: moved in from any edge it crosses.
  x = std::clamp(x, area.x + left, area.x + area.w - right - fitted.width);
  y = std::clamp(y, area.y + top, area.y + area.h - bottom - fitted.height);
  SDL_SetWindowPosition(window, x, y);
}

}  // namespace

Size fittedSize(Size requested, Size usable) {
  if (requested.width <= usable.width && requested.height <= usable.height) return requested;
  const double scale = std::min(double(usable.width) / requested.width,
                                double(usable.height) / requested.height);
  return {std::max(1, int(requested.width * scale)), std::max(1, int(requested.height * scale))};
}

std::unique_ptr<Window> Window::open(const WindowSettings& settings, std::string& error) {
  if (!initVideo(settings.headless, error)) return nullptr;

  Size size = settings.size;
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
  if (!settings.headless) {
    // Centred on the usable area rather than the whole display, and within it.
    const SDL_Rect area = usableArea(0);
    if (area.w > 0 && area.h > 0) {
      size = fittedSize(size, {area.w, area.h});
      x = area.x + (area.w - size.width) / 2;
      y = area.y + (area.h - size.height) / 2;
    }
  }
  // Full screen from the start: the window manager is asked before the window is mapped, and
  // without one the window still covers the screen.
  const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI |
                       SDL_WINDOW_HIDDEN |
                       (settings.fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  // Ask for a 32-bit depth buffer; most drivers offer 24, which serves as well.
  for (int depthBits : {32, 24}) {
    requestContext(depthBits);
    SDL_Window* window =
        SDL_CreateWindow(settings.title.c_str(), x, y, size.width, size.height, flags);
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
    return std::unique_ptr<Window>(
        new Window(window, context, settings.headless, settings.minimumSize));
  }
  return nullptr;
}

std::unique_ptr<Window> Window::none(Size drawable) {
  auto window = std::unique_ptr<Window>(new Window(nullptr, nullptr, true, Size{}));
  window->noneSize = drawable;
  return window;
}

Window::~Window() {
  if (window == nullptr) return;
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

Size Window::drawableSize() const {
  if (window == nullptr) return noneSize;
  Size size;
  SDL_GL_GetDrawableSize(window, &size.width, &size.height);
  return size;
}

Size Window::sizeInPoints() const {
  if (window == nullptr) return noneSize;
  Size size;
  SDL_GetWindowSize(window, &size.width, &size.height);
  return size;
}

void Window::show() {
  if (window == nullptr) return;
  SDL_ShowWindow(window);
  SDL_RaiseWindow(window);
  // Shown, the window has its frame (when the window manager has added it already).
  if (!headless_ && !isFullScreen()) fitOnScreen(window, minimumSize);
}

void Window::setIcon(const IconImage& icon) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<std::uint8_t*>(icon.rgba.data()), icon.width, icon.height, 32, icon.width * 4,
      SDL_PIXELFORMAT_RGBA32);
  if (surface == nullptr) return;  // the window keeps the desktop's default icon
  SDL_SetWindowIcon(window, surface);
  SDL_FreeSurface(surface);
}

void Window::present() {
  // The headless window's surface has nothing to swap, and its swap does not hand the frame's
  // drawing to the driver: without the flush the driver queued every frame's commands
  // unexecuted, its memory growing by about 300 KB a frame on the stats screen.
  if (window == nullptr) return;
  if (headless_) {
    using Flush = void (*)();
    if (auto flush = reinterpret_cast<Flush>(glFunction("glFlush"))) flush();
  }
  SDL_GL_SwapWindow(window);
}

bool Window::setFullScreen(bool fullScreen) {
  if (window == nullptr) return false;
  return SDL_SetWindowFullscreen(window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0;
}

bool Window::isFullScreen() const {
  if (window == nullptr) return false;
  return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

GLVersion currentGLVersion() {
  GLVersion version;
  using GetString = const unsigned char* (*)(unsigned);
  constexpr unsigned kGLVersion = 0x1F02;
  const auto getString = reinterpret_cast<GetString>(glFunction("glGetString"));
  const auto* text =
      getString ? reinterpret_cast<const char*>(getString(kGLVersion)) : nullptr;
  if (text == nullptr || std::sscanf(text, "%d.%d", &version.major, &version.minor) != 2) {
    return GLVersion{};
  }
  return version;
}

void* glFunction(const char* name) {
  // A definition in the program itself comes first: a benchmark's layer over GL.
  if (void* own = dlsym(RTLD_DEFAULT, name)) return own;
  return SDL_GL_GetProcAddress(name);
}

}  // namespace platform
