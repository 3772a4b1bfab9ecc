#include "chart/preferences.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <vector>

#include "chart/preference_file.h"
#include "engine/kiv_alert.h"

namespace chart {

namespace {

std::unique_ptr<Preferences>& shared() {
  static std::unique_ptr<Preferences> preferences;
  return preferences;
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
  for (int copy = 2; copy < 1000 && platform::kindOf(name) != platform::FileKind::Missing;
       ++copy) {
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
  std::string problem;
  std::string chosen = chooseFile(path, problem);
  if (chosen.empty()) engine::KivAlert::share().setQuitAlert(problem);
  shared() = std::make_unique<Preferences>(std::move(chosen));
}

std::string Preferences::chooseFile(const std::string& path, std::string& problem) {
  const std::string given =
      path.empty() ? defaultPath(std::getenv("XDG_DATA_HOME"), platform::homeFolder()) : path;
  const std::string file = platform::followLinks(given);
  const platform::FileKind kind = platform::kindOf(file);
  if (kind == platform::FileKind::Missing || kind == platform::FileKind::Regular) return file;
  problem = "the preferences file " + given + " is not a regular file";
  return {};
}

void Preferences::openInMemory(const nlohmann::json& values) {
  // The path is only a name: no file of it is read, locked or written.
  auto preferences = std::unique_ptr<Preferences>(new Preferences("(in memory)", {}, values));
  shared() = std::move(preferences);
}

std::string Preferences::defaultPath(const char* xdgDataHome, const std::string& home) {
  const bool usable = xdgDataHome != nullptr && xdgDataHome[0] == '/';
  const std::string base = usable ? std::string(xdgDataHome) : home + "/.local/share";
  return base + "/aloft/preferences.json";
}

Preferences::Preferences(std::string path, std::chrono::milliseconds waitForLock)
    : path_(std::move(path)),
      lockWait_(waitForLock),
      lock(path_ + ".lock"),
      values(std::make_unique<nlohmann::json>(nlohmann::json::object())),
      onDisk(std::make_unique<nlohmann::json>(nlohmann::json::object())) {
  if (!takeLock(waitForLock)) load();
  releaseLock();
}

Preferences::Preferences(std::string name, InMemory, const nlohmann::json& initial)
    : path_(std::move(name)),
      lockWait_(0),
      lock(path_),
      values(std::make_unique<nlohmann::json>(initial.is_object() ? initial
                                                                  : nlohmann::json::object())),
      onDisk(std::make_unique<nlohmann::json>(*values)),
      inMemory(true) {}

Preferences::~Preferences() = default;

void Preferences::endFrame() {
  if (shared()) shared()->releaseLock();
}

bool Preferences::holdLock() { return takeLock(lockWait_); }

bool Preferences::takeLock(std::chrono::milliseconds wait) {
  if (inMemory) return true;
  if (lockState != LockState::Free) return lockState == LockState::Held;
  std::error_code made;
  const std::string folder = platform::parentFolder(path_);
  std::filesystem::create_directories(folder, made);
  const platform::FileError error =
      made ? platform::FileError{made.value(), folder} : platform::FileError{lock.acquire(wait), lock.path()};
  lockError = error.error;
  if (error) {
    lockState = LockState::Failed;
    // A busy lock only delays the saves; anything else keeps them from ever being written.
    if (error.error != EWOULDBLOCK) report(error);
    return false;
  }
  lockState = LockState::Held;
  load();
  setAsideUnusable();
  writeOut();
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
  if (saveListener) saveListener(key, value ? &*value : nullptr);
  if (!inMemory) {
    waiting[std::string(key)] = value;
    if (lockState == LockState::Held) {
      writeOut();
      return;
    }
    if (holdLock()) return;
  }
  // Kept in memory, where the charts read it back, until the file can be had.
  if (value) {
    (*values)[std::string(key)] = *value;
  } else {
    values->erase(std::string(key));
  }
}

bool Preferences::writeWaiting(std::chrono::milliseconds wait) {
  if (waiting.empty()) return true;
  const bool held = lockState == LockState::Held;
  if (!held) {
    releaseLock();
    takeLock(wait);
  }
  // A lock that could not be made was said as it failed; only a busy one is said here.
  if (!waiting.empty() && lockState != LockState::Held && lockError == EWOULDBLOCK) {
    report({EWOULDBLOCK, lock.path()});
  }
  if (!held) releaseLock();
  return waiting.empty();
}

void Preferences::writeOut() {
  std::vector<std::string> dropped;
  for (const auto& [key, value] : waiting) {
    const auto stored = onDisk->find(key);
    if (value && keepStored != nullptr && stored != onDisk->end() &&
        keepStored(key, *stored, *value)) {
      (*values)[key] = *stored;
      dropped.push_back(key);
    } else if (value) {
      (*values)[key] = *value;
    } else {
      values->erase(key);
    }
  }
  for (const std::string& key : dropped) {
    waiting.erase(key);
    if (settledListener) settledListener(key, false);
  }
  if (waiting.empty() || !write()) return;
  const auto written = std::move(waiting);
  waiting.clear();
  if (settledListener) {
    for (const auto& [key, value] : written) settledListener(key, true);
  }
}

void Preferences::report(const platform::FileError& failed) {
  const std::string problem =
      "could not save " + failed.describe() + "; kept, and tried again at the next save and at exit";
  if (problem == problem_) return;
  problem_ = problem;
  problemFile_ = failed.file;
  std::fprintf(stderr, "aloft: %s\n", problem.c_str());
  if (problemListener) problemListener(failed.file);
}

std::string Preferences::valuesText() const {
  return values->dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
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
    for (const std::string& key : keys) values->erase(key);
    const platform::FileError copied =
        platform::writeFileAtomically(aside, loadedBytes, platform::KeepBackup::No);
    if (copied) {
      report(copied);
    } else if (write()) {
      done = "kept a copy in " + aside + " and saved the file without it";
    }
  } else {
    for (const std::string& key : keys) values->erase(key);
  }
  for (const std::string& key : keys) {
    std::fprintf(stderr, "aloft: %s holds a value under \"%s\" the game cannot use; %s\n",
                 file.c_str(), key.c_str(), done.c_str());
  }
}

void Preferences::load() {
  if (!loadFile(path_) && !loadFile(path_ + ".bak")) {
    *values = nlohmann::json::object();
    loadedFrom.clear();
    loadedBytes.clear();
  }
  *onDisk = *values;
}

bool Preferences::loadFile(const std::string& file) {
  std::string bytes;
  // Never through a link (the player's was followed at start), never a pipe or a device.
  const platform::FileError read =
      platform::readRegularFile(file, kMaxPreferenceFileBytes + 1, bytes, false);
  // No file, no folder it could be in, or something that is not a file: no preferences.
  if (read.error == ENOENT || read.error == ENOTDIR || read.error == platform::kNotRegularFile) {
    return false;
  }
  if (read) {
    engine::KivAlert::share().setQuitAlert("The preferences file " + file +
                                           " could not be read: " + std::strerror(read.error));
  }
  if (auto parsed = parsePreferences(bytes)) {
    *values = std::move(*parsed);
    loadedFrom = file;
    loadedBytes = std::move(bytes);
    return true;
  }
  const std::string aside = asideName(file);
  if (const platform::FileError moved = platform::moveAside(file, aside)) {
    std::fprintf(stderr, "aloft: %s is not a preferences file and could not be moved aside: %s\n",
                 file.c_str(), moved.describe().c_str());
  } else {
    std::fprintf(stderr, "aloft: %s is not a preferences file; moved it to %s\n", file.c_str(),
                 aside.c_str());
  }
  return false;
}

bool Preferences::write() {
  const std::string contents =
      values->dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  if (const platform::FileError failed =
          platform::writeFileAtomically(path_, contents, platform::KeepBackup::Yes)) {
    report(failed);
    return false;
  }
  *onDisk = *values;
  problem_.clear();
  problemFile_.clear();
  return true;
}

}  // namespace chart
