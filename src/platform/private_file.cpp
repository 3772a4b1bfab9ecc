#include "platform/private_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

int createPrivateFile(const std::string& path, const std::string& contents) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return errno;
  std::size_t written = 0;
  while (written < contents.size()) {
    const ssize_t step = write(fd, contents.data() + written, contents.size() - written);
    if (step < 0 && errno == EINTR) continue;
    if (step < 0) {
      const int error = errno;
      close(fd);
      unlink(path.c_str());
      return error;
    }
    written += std::size_t(step);
  }
  if (fsync(fd) != 0 || close(fd) != 0) return errno;
  return 0;
}

}  // namespace platform
