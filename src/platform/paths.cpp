#include "platform/paths.h"

#include <SDL.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace platform {

std::string executableDirectory() {
  char* base = SDL_GetBasePath();
  if (!base) return {};
  std::string directory(base);
  SDL_free(base);
  return directory;
}

std::optional<std::string> homeDirectory(std::string_view user) {
  if (user.empty()) {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return std::string(home);
  }
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  const int failed =
      user.empty()
          ? getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found)
          : getpwnam_r(std::string(user).c_str(), &entry, buffer.data(), buffer.size(), &found);
  if (failed != 0 || found == nullptr || found->pw_dir == nullptr || *found->pw_dir == '\0') {
    return std::nullopt;
  }
  return std::string(found->pw_dir);
}

}  // namespace platform
