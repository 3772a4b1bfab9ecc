#include "chart/preferences.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "chart/preference_file.h"
#include "engine/kiv_alert.h"

namespace chart {

namespace {

std::unique_ptr<Preferences>& shared() {
  static std::unique_ptr<Preferences> preferences;
  return preferences;
}

std::string homeDirectory() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  const passwd* user = getpwuid(getuid());
  return user != nullptr ? user->pw_dir : ".";
}

std::string parentOf(const std::string& path) {
  const std::string parent = std::filesystem::path(path).parent_path().string();
  return parent.empty() ? "." : parent;
}

[[noreturn]] void cannotWrite(const std::string& path, int error) {
  KivAlert::share().setQuitAlert("The preferences file " + path +
                                 " could not be saved: " + std::strerror(error));
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

// Up to `limit` bytes of `in`: one byte over a size limit is enough to know a file exceeds it.
std::string readAtMost(std::istream& in, std::size_t limit) {
  std::string contents;
  char chunk[65536];
  while (contents.size() < limit && in) {
    in.read(chunk, std::streamsize(std::min(sizeof chunk, limit - contents.size())));
    contents.append(chunk, std::size_t(in.gcount()));
  }
  return contents;
}

std::string utcStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &utc);
  return stamp;
}

// `<file>.corrupt-<UTC>`, with a number after it when a file of that name is already there: an
// earlier copy set aside in the same second is never replaced.
std::string asideName(const std::string& file) {
  const std::string stamped = file + ".corrupt-" + utcStamp();
  std::string name = stamped;
  std::error_code unknown;
  for (int copy = 2; copy < 1000 && std::filesystem::exists(name, unknown); ++copy) {
    name = stamped + "-" + std::to_string(copy);
  }
  return name;
}

}  // namespace

Preferences& Preferences::share() {
  if (!shared()) open({});
  return *shared();
}

void Preferences::open(const std::string& path) {
  const std::string chosen =
      path.empty() ? defaultPath(std::getenv("XDG_DATA_HOME"), homeDirectory()) : path;
  shared() = std::make_unique<Preferences>(chosen);
}

void Preferences::openInMemory(const nlohmann::json& values) {
  auto preferences = std::make_unique<Preferences>(std::string());
  *preferences->values = values.is_object() ? values : nlohmann::json::object();
  preferences->inMemory = true;
  shared() = std::move(preferences);
}

std::string Preferences::defaultPath(const char* xdgDataHome, const std::string& home) {
  const bool usable = xdgDataHome != nullptr && xdgDataHome[0] == '/';
  const std::string base = usable ? std::string(xdgDataHome) : home + "/.local/share";
  return base + "/aloft/preferences.json";
}

Preferences::Preferences(std::string path)
    : path_(std::move(path)), values(std::make_unique<nlohmann::json>(nlohmann::json::object())) {
  load();
}

Preferences::~Preferences() = default;

const nlohmann::json* Preferences::find(std::string_view key) const {
  const auto found = values->find(key);
  return found == values->end() ? nullptr : &*found;
}

void Preferences::save(std::string_view key, const std::optional<nlohmann::json>& value) {
  if (value) {
    (*values)[std::string(key)] = *value;
  } else {
    values->erase(std::string(key));
  }
  if (!inMemory) {
    write(values->dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
  }
  if (saveListener) saveListener(key, find(key));
}

std::string Preferences::valuesText() const {
  return values->dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void Preferences::setAside(std::string_view key) {
  if (!values->contains(key)) return;
  if (loadedFrom.empty()) {  // saved in this run: there is no file to keep
    values->erase(std::string(key));
    return;
  }
  if (copiedAsideTo.empty()) {
    const std::string aside = asideName(loadedFrom);
    std::error_code failed;
    std::filesystem::copy_file(loadedFrom, aside, failed);
    if (failed) cannotWrite(aside, failed.value());
    copiedAsideTo = aside;
  }
  std::fprintf(stderr, "aloft: %s holds a value under \"%.*s\" the game cannot use; kept a copy "
               "in %s and left the value out\n", loadedFrom.c_str(), int(key.size()), key.data(),
               copiedAsideTo.c_str());
  values->erase(std::string(key));
}

void Preferences::load() {
  if (path_.empty()) return;  // a store in memory
  if (loadFile(path_)) return;
  if (loadFile(path_ + ".bak")) return;
  *values = nlohmann::json::object();
}

bool Preferences::loadFile(const std::string& file) {
  struct stat status {};
  // No file, or no directory it could be in: no preferences.
  if (::stat(file.c_str(), &status) != 0 && (errno == ENOENT || errno == ENOTDIR)) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    KivAlert::share().setQuitAlert("The preferences file " + file +
                                   " could not be read: " + std::strerror(errno));
  }
  if (auto parsed = parsePreferences(readAtMost(in, kMaxPreferenceFileBytes + 1))) {
    *values = std::move(*parsed);
    loadedFrom = file;
    return true;
  }
  const std::string aside = asideName(file);
  in.close();
  if (std::rename(file.c_str(), aside.c_str()) == 0) {
    std::fprintf(stderr, "aloft: %s is not a preferences file; moved it to %s\n", file.c_str(),
                 aside.c_str());
  } else {
    std::fprintf(stderr, "aloft: %s is not a preferences file and could not be moved aside: %s\n",
                 file.c_str(), std::strerror(errno));
  }
  return false;
}

void Preferences::write(const std::string& contents) const {
  const std::string directory = parentOf(path_);
  std::error_code made;
  std::filesystem::create_directories(directory, made);
  if (made) cannotWrite(path_, made.value());
  const std::string temporary = path_ + ".tmp";
  if (const int error = writeSynced(temporary, contents)) {
    ::unlink(temporary.c_str());
    cannotWrite(path_, error);
  }
  if (const int error = keepBackup(path_, path_ + ".bak")) {
    ::unlink(temporary.c_str());
    cannotWrite(path_, error);
  }
  if (::rename(temporary.c_str(), path_.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    cannotWrite(path_, error);
  }
  if (const int error = syncDirectory(directory)) cannotWrite(path_, error);
}

}  // namespace chart
