#include "chart/preferences.h"

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
#include <vector>

#include "chart/atomic_file.h"
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

std::string describeWait(std::chrono::milliseconds wait) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%g", double(wait.count()) / 1000.0);
  return seconds;
}

[[noreturn]] void cannotWrite(const std::string& path, const std::string& reason) {
  KivAlert::share().setQuitAlert("The preferences file " + path + " could not be saved: " + reason);
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

std::string Preferences::defaultPath(const char* xdgDataHome, const std::string& home) {
  const bool usable = xdgDataHome != nullptr && xdgDataHome[0] == '/';
  const std::string base = usable ? std::string(xdgDataHome) : home + "/.local/share";
  return base + "/aloft/preferences.json";
}

Preferences::Preferences(std::string path, std::chrono::milliseconds wait)
    : path_(std::move(path)),
      lockWait(wait),
      lock(path_ + ".lock"),
      values(std::make_unique<nlohmann::json>(nlohmann::json::object())) {
  if (!holdLock()) load();
  releaseLock();
}

Preferences::~Preferences() = default;

void Preferences::endFrame() {
  if (shared()) shared()->releaseLock();
}

bool Preferences::holdLock() {
  if (lockState != LockState::Free) return lockState == LockState::Held;
  std::error_code made;
  std::filesystem::create_directories(parentOf(path_), made);
  const int error = made ? made.value() : lock.acquire(lockWait);
  if (error != 0) {
    lockState = LockState::Failed;
    lockFailure = error == EWOULDBLOCK ? "another program held its lock " + lock.path() +
                                             " for " + describeWait(lockWait) + " seconds"
                                       : std::strerror(error);
    return false;
  }
  lockState = LockState::Held;
  load();
  setAsideUnusable();
  return true;
}

void Preferences::releaseLock() {
  lock.release();
  lockState = LockState::Free;
}

const nlohmann::json* Preferences::find(std::string_view key) const {
  const auto found = values->find(key);
  return found == values->end() ? nullptr : &*found;
}

void Preferences::save(std::string_view key, const std::optional<nlohmann::json>& value) {
  if (!holdLock()) cannotWrite(path_, lockFailure);
  if (value) {
    (*values)[std::string(key)] = *value;
  } else {
    values->erase(std::string(key));
  }
  write();
}

void Preferences::setAsideWhen(UnusableValue check) {
  unusable = check;
  if (!holdLock()) setAsideUnusable();
  releaseLock();
}

void Preferences::setAsideUnusable() {
  if (unusable == nullptr) return;
  std::vector<std::string> keys;
  for (const auto& [key, value] : values->items()) {
    if (unusable(key, value)) keys.push_back(key);
  }
  if (keys.empty()) return;
  const std::string file = loadedFrom;
  std::string done = "left it out for this run";
  if (lockState == LockState::Held) {
    // The file was read just now, under the lock. Its copy is whole on disk before the file
    // without the values replaces it.
    const std::string aside = asideName(file);
    if (const int error = writeFileAtomically(aside, loadedBytes, KeepBackup::No)) {
      cannotWrite(aside, std::strerror(error));
    }
    for (const std::string& key : keys) values->erase(key);
    write();
    done = "kept a copy in " + aside + " and saved the file without it";
  } else {
    for (const std::string& key : keys) values->erase(key);
  }
  for (const std::string& key : keys) {
    std::fprintf(stderr, "aloft: %s holds a value under \"%s\" the game cannot use; %s\n",
                 file.c_str(), key.c_str(), done.c_str());
  }
}

void Preferences::load() {
  if (loadFile(path_)) return;
  if (loadFile(path_ + ".bak")) return;
  *values = nlohmann::json::object();
  loadedFrom.clear();
  loadedBytes.clear();
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
  std::string bytes = readAtMost(in, kMaxPreferenceFileBytes + 1);
  if (auto parsed = parsePreferences(bytes)) {
    *values = std::move(*parsed);
    loadedFrom = file;
    loadedBytes = std::move(bytes);
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

void Preferences::write() const {
  const std::string contents =
      values->dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  if (const int error = writeFileAtomically(path_, contents, KeepBackup::Yes)) {
    cannotWrite(path_, std::strerror(error));
  }
}

}  // namespace chart
