// The user's preferences: one JSON object in a file that every game of the user shares, like a
// desktop's user defaults. Games running at once see each other's saves: the first preference
// command of a frame takes an exclusive lock on `<file>.lock` and reads the file again, and the
// lock is held to the end of that frame, so a chart's read, compare and save of a best time is
// one step for all games. A save changes its own key in the file as it is on disk then.
//
// Every save writes the whole file atomically (see platform/files.h); the previous file is kept
// beside it as `<file>.bak`. A file that does not parse is moved aside, never overwritten, and
// the backup is tried next. A save never ends the game: one that cannot be written (the lock
// busy past a frame's short wait, or the disk refusing) stays in memory, where the charts read
// it back, and is written at the next frame with a preference command or at exit, merged with
// what the file holds then. A failure is said once.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "platform/files.h"

namespace chart {

// How long a frame's preference command waits for another game to give the lock up: a save
// that waits longer is kept for later, so no frame stalls.
inline constexpr std::chrono::milliseconds kPreferenceLockWait{40};
// How long the saves still waiting at exit wait for the lock.
inline constexpr std::chrono::milliseconds kExitLockWait{5000};

// True for a stored value the game cannot use under `key`.
using UnusableValue = bool (*)(std::string_view key, const nlohmann::json& value);
// True when the value `stored` in the file under `key` is to stay rather than the `waiting`
// value of a save that was decided on older values.
using KeepStored = bool (*)(std::string_view key, const nlohmann::json& stored,
                            const nlohmann::json& waiting);

class Preferences {
 public:
  // The game's store. `open` reads the file at start: `path` is the `--prefs FILE` option, or
  // empty for the default location. Without `open`, the first use opens the default location.
  static Preferences& share();
  static void open(const std::string& path);
  // The file `open` uses for the option `path`: a link the player made there is followed to the
  // file it names, once, so that file is written in place. Empty, with `problem` set, when that
  // is something other than a regular file: nothing is read or moved then.
  static std::string chooseFile(const std::string& path, std::string& problem);
  // A store of `values` (a JSON object) that reads, locks and writes no file: saves change only
  // memory. A replay runs on it, so the user's file is never written while one plays.
  static void openInMemory(const nlohmann::json& values);

  // `$XDG_DATA_HOME/aloft/preferences.json`, or below `<home>/.local/share` when the variable is
  // unset, empty or not an absolute path.
  static std::string defaultPath(const char* xdgDataHome, const std::string& home);

  // Called at the end of every frame of the root chart: gives the game's store's lock up if the
  // frame took it. A frame without a preference command costs one test of a flag here.
  static void endFrame();

  // Loads `path` now, under the lock when it can be had within `waitForLock`.
  explicit Preferences(std::string path,
                       std::chrono::milliseconds waitForLock = kPreferenceLockWait);
  ~Preferences();

  // Holds the lock until `releaseLock` (the end of the frame, for the game's store). The first
  // call takes it, reads the file again and writes the saves still waiting; later calls return
  // at once. False when the lock could not be had: the values last read stay, with the waiting
  // saves over them.
  bool holdLock();
  void releaseLock();

  // The value stored under `key` as last read, or null.
  const nlohmann::json* find(std::string_view key) const;
  // Stores `value` under `key` (nothing removes the key) in the file as it is on disk, under
  // the lock (taken here if not yet held); kept waiting in memory when that fails.
  void save(std::string_view key, const std::optional<nlohmann::json>& value);
  // Writes the saves still waiting, waiting up to `wait` for the lock: at exit. True when none
  // is left.
  bool writeWaiting(std::chrono::milliseconds wait);
  bool hasWaiting() const { return !waiting.empty(); }
  // Why the last write failed, naming the file; empty once one succeeded.
  const std::string& problem() const { return problem_; }
  // The file that `problem` names: the preference file, its backup, its lock, its folder or a
  // replay kept with it.
  const std::string& problemFile() const { return problemFile_; }
  // Says once, on stderr and to the problem listener, that `failed` could not be written and
  // that what it was to hold is kept: for the preferences and what is written with them.
  void report(const platform::FileError& failed);
  // Told each new problem once, after it went to stderr, with the file that failed: the view
  // shows a note.
  void setProblemListener(std::function<void(const std::string& file)> listener) {
    problemListener = std::move(listener);
  }
  // Decides, for each waiting save, whether the value then in the file stays instead.
  void setKeepStored(KeepStored rule) { keepStored = rule; }

  // From now on, whenever the file is read under the lock, the values `unusable` refuses are set
  // aside: the file is first copied to `<file>.corrupt-<UTC>`, then saved without them, every
  // other key kept, so the next read finds a clean file and makes no second copy. Applied to
  // the file at once; call before the first frame. Without the lock the values are only left out
  // of this run's values, and the file is not touched.
  void setAsideWhen(UnusableValue unusable);

  // Told of every save as the charts make it, with the value now under the key (null when
  // removed): the best-run recorder keeps a replay with each new best time this way.
  using SaveListener = std::function<void(std::string_view key, const nlohmann::json* value)>;
  void setSaveListener(SaveListener listener) { saveListener = std::move(listener); }
  // Told when a save is settled: `written` to the file (under the lock, which is still held),
  // or dropped because the file held a value to keep.
  using SettledListener = std::function<void(std::string_view key, bool written)>;
  void setSettledListener(SettledListener listener) { settledListener = std::move(listener); }
  // The values as last read, as one line of JSON.
  std::string valuesText() const;

  const std::string& path() const { return path_; }

 private:
  enum class LockState { Free, Held, Failed };
  struct InMemory {};
  Preferences(std::string name, InMemory, const nlohmann::json& values);

  bool takeLock(std::chrono::milliseconds wait);
  void load();
  bool loadFile(const std::string& file);
  void setAsideUnusable();
  // Under the lock: puts the waiting saves over the values read, as `keepStored` allows, and
  // writes the file.
  void writeOut();
  bool write();

  std::string path_;
  std::chrono::milliseconds lockWait_;
  platform::FileLock lock;
  LockState lockState = LockState::Free;
  int lockError = 0;  // of the last attempt to take the lock
  UnusableValue unusable = nullptr;
  KeepStored keepStored = nullptr;
  std::map<std::string, std::optional<nlohmann::json>, std::less<>> waiting;
  std::string problem_;
  std::string problemFile_;
  std::string loadedFrom;  // the file the values came from: the file, its backup, or none
  std::string loadedBytes;  // its contents as read
  std::unique_ptr<nlohmann::json> values;
  std::unique_ptr<nlohmann::json> onDisk;  // the file as last read or written
  bool inMemory = false;
  SaveListener saveListener;
  SettledListener settledListener;
  std::function<void(const std::string&)> problemListener;
};

}  // namespace chart
