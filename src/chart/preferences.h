// The user's preferences: one JSON object in a file that every game of the user shares, like a
// desktop's user defaults. Games running at once see each other's saves: the first preference
// command of a frame takes an exclusive lock on `<file>.lock` and reads the file again, and the
// lock is held to the end of that frame, so a chart's read, compare and save of a best time is
// one step for all games. A save changes its own key in the file as it is on disk then.
//
// Every save writes the whole file atomically (see atomic_file.h); the previous file is kept
// beside it as `<file>.bak`. A file that does not parse is moved aside, never overwritten, and
// the backup is tried next. A file that cannot be written is a fatal error: a best time is never
// lost silently.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "chart/file_lock.h"

namespace chart {

// How long a preference command waits for another game to give the lock up.
inline constexpr std::chrono::milliseconds kPreferenceLockWait{5000};

// True for a stored value the game cannot use under `key`.
using UnusableValue = bool (*)(std::string_view key, const nlohmann::json& value);

class Preferences {
 public:
  // The game's store. `open` reads the file at start: `path` is the `--prefs FILE` option, or
  // empty for the default location. Without `open`, the first use opens the default location.
  static Preferences& share();
  static void open(const std::string& path);

  // `$XDG_DATA_HOME/aloft/preferences.json`, or below `<home>/.local/share` when the variable is
  // unset, empty or not an absolute path.
  static std::string defaultPath(const char* xdgDataHome, const std::string& home);

  // Called by the view at the end of every frame: gives the game's store's lock up if the frame
  // took it. A frame without a preference command costs one test of a flag here.
  static void endFrame();

  // Loads `path` now, under the lock when it can be had within `lockWait`.
  explicit Preferences(std::string path, std::chrono::milliseconds lockWait = kPreferenceLockWait);
  ~Preferences();

  // Holds the lock until `releaseLock` (the end of the frame, for the game's store). The first
  // call takes it and reads the file again; later calls return at once. False when the lock
  // could not be had: the values last read stay, and a save reports the failure. Anything that
  // must change on disk together with the preferences (written with `writeFileAtomically`) is
  // written after this returned true, within the same frame.
  bool holdLock();
  void releaseLock();

  // The value stored under `key` as last read, or null.
  const nlohmann::json* find(std::string_view key) const;
  // Stores `value` under `key` (nothing removes the key) in the file as it is on disk, under
  // the lock (taken here if not yet held). A failure, the lock's included, is the fatal alert.
  void save(std::string_view key, const std::optional<nlohmann::json>& value);

  // From now on, whenever the file is read under the lock, the values `unusable` refuses are set
  // aside: the file is first copied to `<file>.corrupt-<UTC>`, then saved without them, every
  // other key kept, so the next read finds a clean file and makes no second copy. Applied to
  // the file at once; call before the first frame. Without the lock the values are only left out
  // of this run's values, and the file is not touched.
  void setAsideWhen(UnusableValue unusable);

  const std::string& path() const { return path_; }

 private:
  enum class LockState { Free, Held, Failed };

  void load();
  bool loadFile(const std::string& file);
  void setAsideUnusable();
  void write() const;

  std::string path_;
  std::chrono::milliseconds lockWait;
  FileLock lock;
  LockState lockState = LockState::Free;
  std::string lockFailure;  // why the lock was not had, for the save's alert
  UnusableValue unusable = nullptr;
  std::string loadedFrom;  // the file the values came from: the file, its backup, or none
  std::string loadedBytes;  // its contents as read
  std::unique_ptr<nlohmann::json> values;
};

}  // namespace chart
