#include "platform/paths.h"

#include <SDL.h>

namespace platform {

std::string executableDirectory() {
  char* base = SDL_GetBasePath();
  if (!base) return {};
  std::string directory(base);
  SDL_free(base);
  return directory;
}

}  // namespace platform
