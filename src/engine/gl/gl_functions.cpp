#include "engine/gl/gl_functions.h"

#include "platform/window.h"

namespace engine {

bool GLFunctions::load() {
  bool all = true;
#define ALOFT_GL_LOOK_UP(name)                                                  \
  name = reinterpret_cast<decltype(&::name)>(platform::glFunction(#name)); \
  all = all && name != nullptr;
  ALOFT_GL_FUNCTIONS(ALOFT_GL_LOOK_UP)
#undef ALOFT_GL_LOOK_UP
  return all;
}

}  // namespace engine
