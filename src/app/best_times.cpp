#include "app/best_times.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "chart/preferences.h"

bool isUsableBestTime(const nlohmann::json& value) {
  constexpr std::size_t kDigits = 6;
  return value.is_array() && value.size() >= kDigits &&
         std::all_of(value.begin(), value.begin() + kDigits,
                     [](const nlohmann::json& digit) { return digit.is_number(); });
}

void setAsideUnusableBestTimes(chart::Preferences& preferences) {
  for (const char* key : {"Easy", "Hard"}) {
    const nlohmann::json* stored = preferences.find(key);
    if (stored != nullptr && !isUsableBestTime(*stored)) preferences.setAside(key);
  }
}
