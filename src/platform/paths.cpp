#include "platform/paths.h"

#include <unistd.h>

#include <climits>

namespace platform {

std::string executableDirectory() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || std::size_t(length) >= sizeof path) return {};
  std::string directory(path, std::size_t(length));
  const std::size_t slash = directory.rfind('/');
  if (slash == std::string::npos) return {};
  directory.resize(slash + 1);
  return directory;
}

}  // namespace platform
