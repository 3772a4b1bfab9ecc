#include "app/startup_check.h"

#include <cstdio>
#include <cstdlib>

#include "platform/message_box.h"

bool openGLVersionSupported(int major, int minor) {
  return major > 1 || (major == 1 && minor >= 4);
}

void checkOpenGLVersion(int major, int minor) {
  if (openGLVersionSupported(major, minor)) return;
  const char* message = "This Application requires OpenGL 1.4 or newer.";
  platform::beep();
  std::fprintf(stderr, "Error: %s\n", message);
  platform::showModalMessage("Error", message, "Okay");
  std::fflush(nullptr);
  std::_Exit(1);
}
