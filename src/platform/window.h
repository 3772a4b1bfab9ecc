// The game's one window and its OpenGL compatibility context.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
  bool fullScreen = false;  // opens in full screen, as `setFullScreen(true)` would switch it
  // A visible window is never smaller than this, and never larger than the screen's usable area
  // (a larger `size` is reduced to fit, keeping its shape, and placed wholly on that area).
  Size minimumSize{};
};

// `requested` reduced, keeping its shape, to fit in `usable`; unchanged when it fits.
Size fittedSize(Size requested, Size usable);

// A picture for the window's icon: 8-bit RGBA, rows from the top down.
struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
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
  // A window that is not there: no display, no GL context, no events, nothing shown; its
  // drawing area is what `setDrawableSize` last gave. What verifying a replay runs in.
  static std::unique_ptr<Window> none(Size drawable);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The drawing area in pixels (larger than `sizeInPoints` on HiDPI displays).
  Size drawableSize() const;
  Size sizeInPoints() const;
  bool headless() const { return headless_; }
  // False for `none`'s window.
  bool exists() const { return window != nullptr; }
  // `none`'s window only: its drawing area from now on.
  void setDrawableSize(Size drawable) { noneSize = drawable; }

  void show();
  // The icon the desktop shows for the window (title bar, task switcher).
  void setIcon(const IconImage& icon);
  void present();
  // Full screen at the desktop's resolution on the display the window is on. Returns false when
  // the system refused the change.
  bool setFullScreen(bool fullScreen);
  bool isFullScreen() const;

 private:
  Window(SDL_Window* sdlWindow, void* glContext, bool headless, Size minimum)
      : window(sdlWindow), context(glContext), headless_(headless), minimumSize(minimum) {}

  SDL_Window* window;
  void* context;
  bool headless_;
  Size noneSize;
  Size minimumSize{};
};

// The GL version of the current context, as "major.minor" numbers.
struct GLVersion {
  int major = 0;
  int minor = 0;
};
GLVersion currentGLVersion();

// The address of the GL function `name` of the current context's library; null when there is
// none.
void* glFunction(const char* name);

}  // namespace platform
