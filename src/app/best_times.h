// The best-time record: under the preference keys "Easy" and "Hard", a list of the six digits of
// the time (tens and units of the minutes, of the seconds and of the hundredths). This module
// owns the keys, the checks of a stored value, the time's text form and where the replay of a
// best run is kept; it reads and writes no file.
//
// The charts stop the game with a fatal diagnostic on a stored value of another shape, which a
// hand-edited or foreign file may hold; such a value is set aside at start instead, so the game
// shows no time for that mode and keeps the value on disk.
#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>

namespace chart {
class Preferences;
}

// "Easy" or "Hard": a key the charts keep a best time under.
bool isBestTimeKey(std::string_view key);

// The mode a key names as the command line and the replay files write it: "hard" for "Hard".
std::string modeName(std::string_view key);

// A list whose first six elements are numbers: what the stats screen and the time display read.
bool isUsableBestTime(const nlohmann::json& value);

// A best time's key with a value the charts cannot read (see `Preferences::setAsideWhen`).
bool isUnusableBestTime(std::string_view key, const nlohmann::json& value);

// "MM:SS.CC" from a best time whose six digits are whole numbers 0 to 9, else an empty text.
std::string bestTimeText(const nlohmann::json& value);

// `best-hard.replay` for "Hard" (or "hard"), beside the preference file `preferencesPath`.
std::string bestReplayPath(const std::string& preferencesPath, std::string_view mode);

// A best time that waited in memory (see `Preferences::setKeepStored`) is written only when it is
// longer than the one the file holds by then: another game may have stored a longer one.
void keepLongerStoredBestTimes(chart::Preferences& preferences);
