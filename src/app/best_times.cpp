#include "app/best_times.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <nlohmann/json.hpp>

#include "chart/preferences.h"
#include "platform/files.h"

namespace {

constexpr std::size_t kDigits = 6;

}  // namespace

bool isBestTimeKey(std::string_view key) { return key == "Easy" || key == "Hard"; }

std::string modeName(std::string_view key) {
  std::string lower(key);
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool isUsableBestTime(const nlohmann::json& value) {
  return value.is_array() && value.size() >= kDigits &&
         std::all_of(value.begin(), value.begin() + kDigits,
                     [](const nlohmann::json& digit) { return digit.is_number(); });
}

bool isUnusableBestTime(std::string_view key, const nlohmann::json& value) {
  return isBestTimeKey(key) && !isUsableBestTime(value);
}

namespace {

// Digits compared most significant first, as the time display compares them.
bool storedIsNoShorter(std::string_view key, const nlohmann::json& stored,
                       const nlohmann::json& waiting) {
  if (!isBestTimeKey(key) || !isUsableBestTime(stored) || !isUsableBestTime(waiting)) return false;
  for (std::size_t digit = 0; digit < kDigits; ++digit) {
    const double kept = stored[digit].get<double>(), made = waiting[digit].get<double>();
    if (kept != made) return kept > made;
  }
  return true;
}

}  // namespace

std::string bestTimeText(const nlohmann::json& value) {
  if (!isUsableBestTime(value)) return {};
  std::string text;
  for (std::size_t at = 0; at < kDigits; ++at) {
    const double digit = value[at].get<double>();
    if (!(digit >= 0 && digit <= 9) || digit != std::floor(digit)) return {};
    if (at == 2) text += ':';
    if (at == 4) text += '.';
    text += char('0' + int(digit));
  }
  return text;
}

std::string bestReplayPath(const std::string& preferencesPath, std::string_view mode) {
  return platform::parentFolder(preferencesPath) + "/best-" + modeName(mode) + ".replay";
}

void keepLongerStoredBestTimes(chart::Preferences& preferences) {
  preferences.setKeepStored(storedIsNoShorter);
}
