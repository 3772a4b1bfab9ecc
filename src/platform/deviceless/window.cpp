// The window of a program that opens none: only `Window::none`'s, with no GL behind it.
#include "platform/window.h"

namespace platform {

std::unique_ptr<Window> Window::open(const WindowSettings&, std::string& error) {
  error = "this program opens no window; the game program does";
  return nullptr;
}

std::unique_ptr<Window> Window::none(Size drawable) {
  auto window = std::unique_ptr<Window>(new Window(nullptr, nullptr, true, Size{}));
  window->noneSize = drawable;
  return window;
}

Window::~Window() = default;

Size Window::drawableSize() const { return noneSize; }
Size Window::sizeInPoints() const { return noneSize; }
void Window::show() {}
void Window::setIcon(const IconImage&) {}
void Window::present() {}
bool Window::setFullScreen(bool) { return false; }
bool Window::isFullScreen() const { return false; }

GLVersion currentGLVersion() { return {}; }
void* glFunction(const char*) { return nullptr; }

}  // namespace platform
