// The user's preferences: one JSON object in a file, read once at start and kept in memory.
// Every save writes the whole file so that a crash or power cut at any moment leaves a whole
// file, old or new; the previous file is kept beside it as `<file>.bak`. A file that does not
// parse is moved aside, never overwritten, and the backup is tried next. A file that cannot be
// written is a fatal error: a best time is never lost silently.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

namespace chart {

class Preferences {
 public:
  // The game's store. `open` reads the file at start: `path` is the `--prefs FILE` option, or
  // empty for the default location. Without `open`, the first use opens the default location.
  static Preferences& share();
  static void open(const std::string& path);
  // A store of `values` (a JSON object) that reads and writes no file: saves change only memory.
  // A replay runs on it, so the user's file is never written while one plays.
  static void openInMemory(const nlohmann::json& values);

  // `$XDG_DATA_HOME/aloft/preferences.json`, or below `<home>/.local/share` when the variable is
  // unset, empty or not an absolute path.
  static std::string defaultPath(const char* xdgDataHome, const std::string& home);

  // Loads `path` now.
  explicit Preferences(std::string path);
  ~Preferences();

  // The value stored under `key`, or null.
  const nlohmann::json* find(std::string_view key) const;
  // Stores `value` under `key` (nothing removes the key) and writes the whole file.
  void save(std::string_view key, const std::optional<nlohmann::json>& value);

  // Forgets `key` for this run, for a stored value the game cannot use. The file it was read
  // from is first copied to `<that file>.corrupt-<UTC>`, once a run, so the value stays on disk
  // after the next save rewrites the file without it.
  void setAside(std::string_view key);

  // Told of every save once it is stored, with the value now under the key (null when removed);
  // the best-run recorder keeps a replay with each new best time this way.
  using SaveListener = std::function<void(std::string_view key, const nlohmann::json* value)>;
  void setSaveListener(SaveListener listener) { saveListener = std::move(listener); }
  // The values as they stand, as one line of JSON.
  std::string valuesText() const;

  const std::string& path() const { return path_; }

 private:
  void load();
  bool loadFile(const std::string& file);
  void write(const std::string& contents) const;

  std::string path_;
  std::string loadedFrom;  // the file the values came from: the file, its backup, or none
  std::string copiedAsideTo;
  std::unique_ptr<nlohmann::json> values;
  bool inMemory = false;
  SaveListener saveListener;
};

}  // namespace chart
