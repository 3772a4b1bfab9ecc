#include "app/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

bool writeAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = ::write(fd, contents.data(), contents.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    contents.remove_prefix(std::size_t(written));
  }
  return true;
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::string_view contents, std::string& error) {
  std::string directory = std::filesystem::path(path).parent_path().string();
  if (directory.empty()) directory = ".";
  // The process id keeps two games that replace the same file from sharing a staging file.
  const std::string staging = path + ".tmp-" + std::to_string(::getpid());
  const int fd = ::open(staging.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  const bool written = writeAll(fd, contents) && ::fsync(fd) == 0;
  const int writeError = errno;
  if (::close(fd) != 0 || !written || ::rename(staging.c_str(), path.c_str()) != 0) {
    error = path + ": " + std::strerror(written ? errno : writeError);
    ::unlink(staging.c_str());
    return false;
  }
  const int directoryFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool synced = directoryFd >= 0 && ::fsync(directoryFd) == 0;
  if (!synced) error = directory + ": " + std::strerror(errno);
  if (directoryFd >= 0) ::close(directoryFd);
  return synced;
}
