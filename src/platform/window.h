// The game's one window and its OpenGL compatibility context.
#pragma once

#include <memory>
#include <string>

struct SDL_Window;

namespace platform {

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct WindowSettings {
  std::string title;
  Size size;            // in points
  bool headless = false;  // no visible window: SDL's offscreen driver, audio on the dummy driver
};

// What `Window::open` reports when the system has no display to show the window on.
inline constexpr const char* kNoDisplayError =
    "no display could be opened (none is set in DISPLAY or WAYLAND_DISPLAY, or the one set does "
    "not answer); run it from a desktop session, or use --headless";

class Window {
 public:
  // Opens the window with a current GL context, or returns null and sets `error`
  // (`kNoDisplayError` when there is no display and the run is not headless).
  static std::unique_ptr<Window> open(const WindowSettings& settings, std::string& error);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The drawing area in pixels (larger than `sizeInPoints` on HiDPI displays).
  Size drawableSize() const;
  Size sizeInPoints() const;
  bool headless() const { return headless_; }

  void show();
  void present();
  // Full screen at the desktop's resolution on the display the window is on. Returns false when
  // the system refused the change.
  bool setFullScreen(bool fullScreen);
  bool isFullScreen() const;

 private:
  Window(SDL_Window* sdlWindow, void* glContext, bool headless)
      : window(sdlWindow), context(glContext), headless_(headless) {}

  SDL_Window* window;
  void* context;
  bool headless_;
};

// The GL version of the current context, as "major.minor" numbers.
struct GLVersion {
  int major = 0;
  int minor = 0;
};
GLVersion currentGLVersion();

}  // namespace platform
