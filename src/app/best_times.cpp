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

bool isUnusableBestTime(std::string_view key, const nlohmann::json& value) {
  return (key == "Easy" || key == "Hard") && !isUsableBestTime(value);
}

}  // namespace

void setAsideUnusableBestTimes(chart::Preferences& preferences) {
  preferences.setAsideWhen(isUnusableBestTime);
}
