#include "platform/program_exec.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

std::string replaceProcess(const std::string& path, char** argv) {
  execv(path.c_str(), argv);
  return std::strerror(errno);
}

}  // namespace platform
