#include "chart/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace chart {

namespace {

std::string parentOf(const std::string& path) {
  const std::string parent = std::filesystem::path(path).parent_path().string();
  return parent.empty() ? "." : parent;
}

// Writes all of `contents` to `fd`, retrying interrupted and partial writes.
bool writeAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = ::write(fd, contents.data(), contents.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return false;
    if (written == 0) {
      // No progress and no reason given: the caller still needs one for its message.
      errno = EIO;
      return false;
    }
    contents.remove_prefix(std::size_t(written));
  }
  return true;
}

// Writes `contents` to a new file `path`, synced to disk. Returns the errno of a failure, or 0.
int writeSynced(const std::string& path, std::string_view contents) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  if (!writeAll(fd, contents) || ::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    return error;
  }
  return ::close(fd) == 0 ? 0 : errno;
}

// Keeps the current file as `backup` without either ever going missing: a second link to it (or
// a copy where links are not supported) made under a staging name and renamed over the old
// backup. With no current file there is nothing to keep, and the old backup stays as it is.
int keepBackup(const std::string& path, const std::string& backup) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return errno == ENOENT ? 0 : errno;
  const std::string staging = backup + ".new";
  if (::unlink(staging.c_str()) != 0 && errno != ENOENT) return errno;
  if (::link(path.c_str(), staging.c_str()) != 0) {
    if (errno != EPERM && errno != EXDEV && errno != EMLINK && errno != ENOTSUP) return errno;
    std::ifstream old(path, std::ios::binary);
    std::ostringstream contents;
    contents << old.rdbuf();
    if (!old) return EIO;
    if (const int error = writeSynced(staging, contents.str())) {
      ::unlink(staging.c_str());
      return error;
    }
  }
  if (::rename(staging.c_str(), backup.c_str()) != 0) {
    const int error = errno;
    ::unlink(staging.c_str());
    return error;
  }
  return 0;
}

int syncDirectory(const std::string& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int error = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  return error;
}

}  // namespace

int writeFileAtomically(const std::string& path, std::string_view contents, KeepBackup backup) {
  const std::string directory = parentOf(path);
  std::error_code made;
  std::filesystem::create_directories(directory, made);
  if (made) return made.value();
  const std::string temporary = path + ".tmp";
  if (const int error = writeSynced(temporary, contents)) {
    ::unlink(temporary.c_str());
    return error;
  }
  if (backup == KeepBackup::Yes) {
    if (const int error = keepBackup(path, path + ".bak")) {
      ::unlink(temporary.c_str());
      return error;
    }
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return error;
  }
  return syncDirectory(directory);
}

}  // namespace chart
