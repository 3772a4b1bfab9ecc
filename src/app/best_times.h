// The best times as the charts read them back from the preferences: under "Easy" and "Hard", a
// list of the six digits of the time. The charts stop the game with a fatal diagnostic on any
// other shape, which a hand-edited or foreign file may hold; such a value is set aside at start
// instead, so the game shows no time for that mode and keeps the value on disk.
#pragma once

#include <nlohmann/json_fwd.hpp>

namespace chart {
class Preferences;
}

// A list whose first six elements are numbers: what the stats screen and the time display read.
bool isUsableBestTime(const nlohmann::json& value);

// Sets aside (see `Preferences::setAsideWhen`) each best time that is stored but not usable,
// now and whenever the file is read again.
void setAsideUnusableBestTimes(chart::Preferences& preferences);

// A best time that waited in memory (see `Preferences::setKeepStored`) is written only when it is
// longer than the one the file holds by then: another game may have stored a longer one.
void keepLongerStoredBestTimes(chart::Preferences& preferences);
