#include "app/best_times.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string_view>

#include "chart/preferences.h"

bool isUsableBestTime(const nlohmann::json& value) {
  constexpr std::size_t kDigits = 6;
  return value.is_array() && value.size() >= kDigits &&
         std::all_of(value.begin(), value.begin() + kDigits,
                     [](const nlohmann::json& digit) { return digit.is_number(); });
}

namespace {

bool isBestTimeKey(std::string_view key) { return key == "Easy" || key == "Hard"; }

bool isUnusableBestTime(std::string_view key, const nlohmann::json& value) {
  return isBestTimeKey(key) && !isUsableBestTime(value);
}

// Digits compared most significant first, as the time display compares them.
bool storedIsNoShorter(std::string_view key, const nlohmann::json& stored,
                       const nlohmann::json& waiting) {
  if (!isBestTimeKey(key) || !isUsableBestTime(stored) || !isUsableBestTime(waiting)) return false;
  for (std::size_t digit = 0; digit < 6; ++digit) {
    const double kept = stored[digit].get<double>(), made = waiting[digit].get<double>();
    if (kept != made) return kept > made;
  }
  return true;
}

}  // namespace

void setAsideUnusableBestTimes(chart::Preferences& preferences) {
  preferences.setAsideWhen(isUnusableBestTime);
}

void keepLongerStoredBestTimes(chart::Preferences& preferences) {
  preferences.setKeepStored(storedIsNoShorter);
}
