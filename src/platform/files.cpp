#include "platform/files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace platform {

namespace {

// Links a chain may hold before it counts as a loop, as the kernel counts.
constexpr int kMaxLinks = 40;

// Closes a descriptor when it goes out of scope.
struct Descriptor {
  int fd;
  explicit Descriptor(int opened) : fd(opened) {}
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  // Closes now, for the caller to see a failing close.
  int closeNow() {
    const int result = ::close(fd);
    fd = -1;
    return result;
  }
};

// Opens `path` for reading without blocking and checks that it is a regular file.
int openRegular(const std::string& path, bool followLink, int& error) {
  const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
  const int fd = ::open(path.c_str(), flags);
  if (fd < 0) {
    error = errno;
    return -1;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    error = errno;
  } else if (!S_ISREG(status.st_mode)) {
    error = kNotRegularFile;
  } else {
    return fd;
  }
  ::close(fd);
  return -1;
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

// The mode a new file gets from open(…, 0666): the process's umask applied.
mode_t newFileMode() {
  static const mode_t mode = [] {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mode_t(0666) & ~mask;
  }();
  return mode;
}

// A fresh name beside `path` that nothing has yet: `<path>.<tag>-<random>`.
std::string uniqueName(const std::string& path, const char* tag) {
  unsigned long long random = 0;
  if (::getrandom(&random, sizeof random, 0) != sizeof random) random ^= std::uint64_t(::getpid());
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, "%016llx", random);
  return path + "." + tag + "-" + suffix;
}

// Writes `contents` to a new file under a unique name beside `path`, synced, with the mode a new
// file of the user has. The name is in `staging`.
int writeStaging(const std::string& path, std::string_view contents, std::string& staging) {
  std::string pattern = path + ".tmp-XXXXXX";
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  staging = pattern;
  Descriptor file(fd);
  if (::fchmod(fd, newFileMode()) != 0 || !writeAll(fd, contents) || ::fsync(fd) != 0) {
    return errno;
  }
  return file.closeNow() == 0 ? 0 : errno;
}

// Keeps the current file as `backup` without either ever going missing: a second link to it (or
// a copy where links are not supported) made under a unique name and renamed over the old
// backup. With no current file there is nothing to keep, and the old backup stays as it is.
FileError keepBackup(const std::string& path, const std::string& backup) {
  switch (kindOf(path)) {
    case FileKind::Missing:
      return {};
    case FileKind::Regular:
      break;
    default:
      return {kNotRegularFile, path};
  }
  std::string staging;
  for (int attempt = 0; attempt < 8 && staging.empty(); ++attempt) {
    const std::string name = uniqueName(backup, "new");
    if (::link(path.c_str(), name.c_str()) == 0) {
      staging = name;
    } else if (errno != EEXIST) {
      if (errno != EPERM && errno != EXDEV && errno != EMLINK && errno != ENOTSUP) {
        return {errno, backup};
      }
      std::string contents;
      if (FileError read = readRegularFile(path, std::size_t(-1), contents, false)) return read;
      if (const int error = writeStaging(backup, contents, staging)) {
        if (!staging.empty()) ::unlink(staging.c_str());
        return {error, backup};
      }
    }
  }
  if (staging.empty()) return {EEXIST, backup};
  if (::rename(staging.c_str(), backup.c_str()) != 0) {
    const int error = errno;
    ::unlink(staging.c_str());
    return {error, backup};
  }
  return {};
}

FileError syncFolder(const std::string& folder) {
  Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.fd < 0) return {errno, folder};
  if (::fsync(fd.fd) != 0) return {errno, folder};
  return {};
}

}  // namespace

std::string FileError::reason() const {
  return error == kNotRegularFile ? "not a regular file" : std::strerror(error);
}

std::string homeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  const passwd* user = ::getpwuid(::getuid());
  return user != nullptr && user->pw_dir[0] != '\0' ? user->pw_dir : ".";
}

std::string homeFolderOf(const std::string& name) {
  const passwd* user = ::getpwnam(name.c_str());
  return user != nullptr ? user->pw_dir : "";
}

std::string parentFolder(const std::string& path) {
  const std::string parent = std::filesystem::path(path).parent_path().string();
  return parent.empty() ? "." : parent;
}

FileKind kindOf(const std::string& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) return FileKind::Missing;
  if (S_ISREG(status.st_mode)) return FileKind::Regular;
  return S_ISLNK(status.st_mode) ? FileKind::Link : FileKind::Other;
}

std::string followLinks(const std::string& path) {
  std::filesystem::path current = path;
  for (int links = 0; links < kMaxLinks && kindOf(current) == FileKind::Link; ++links) {
    std::error_code failed;
    const std::filesystem::path target = std::filesystem::read_symlink(current, failed);
    if (failed) break;
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return current.lexically_normal().string();
}

FileError readRegularFile(const std::string& path, std::size_t limit, std::string& contents,
                          bool followLink) {
  int error = 0;
  Descriptor fd(openRegular(path, followLink, error));
  if (fd.fd < 0) return {error, path};
  contents.clear();
  char chunk[65536];
  while (contents.size() < limit) {
    const ssize_t got = ::read(fd.fd, chunk, std::min(sizeof chunk, limit - contents.size()));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return {errno, path};
    if (got == 0) break;
    contents.append(chunk, std::size_t(got));
  }
  return {};
}

FileError checkRegularFile(const std::string& path) {
  int error = 0;
  Descriptor fd(openRegular(path, true, error));
  return fd.fd < 0 ? FileError{error, path} : FileError{};
}

FileError checkWritable(const std::string& path) {
  const FileKind kind = kindOf(followLinks(path));
  if (kind != FileKind::Missing && kind != FileKind::Regular) return {kNotRegularFile, path};
  std::string staging;
  const int error = writeStaging(path, {}, staging);
  if (!staging.empty()) ::unlink(staging.c_str());
  return {error, path};
}

FileError moveAside(const std::string& from, const std::string& to) {
  if (kindOf(from) != FileKind::Regular) return {kNotRegularFile, from};
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
    return {errno, to};
  }
  return {};
}

FileError writeFileAtomically(const std::string& path, std::string_view contents,
                              KeepBackup backup) {
  const std::string folder = parentFolder(path);
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  if (made) return {made.value(), folder};
  const FileKind kind = kindOf(path);
  if (kind == FileKind::Other) return {kNotRegularFile, path};
  std::string staging;
  if (const int error = writeStaging(path, contents, staging)) {
    if (!staging.empty()) ::unlink(staging.c_str());
    return {error, path};
  }
  if (backup == KeepBackup::Yes) {
    if (FileError failed = keepBackup(path, path + ".bak")) {
      ::unlink(staging.c_str());
      return failed;
    }
  }
  if (::rename(staging.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(staging.c_str());
    return {error, path};
  }
  return syncFolder(folder);
}

}  // namespace platform
