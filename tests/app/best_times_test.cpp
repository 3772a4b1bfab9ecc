// Which stored best times the charts can read back, and that only those under the two mode keys
// are set aside.
#include "app/best_times.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "chart/preferences.h"

namespace {

TEST(BestTimes, UsableAreListsStartingWithSixNumbers) {
  EXPECT_TRUE(isUsableBestTime(nlohmann::json{0, 0, 4, 2, 1, 7}));
  EXPECT_TRUE(isUsableBestTime(nlohmann::json{0, 0, 4, 2, 1, 7, 9}));  // the rest is not read
  EXPECT_TRUE(isUsableBestTime(nlohmann::json{0.5, -1, 40, 2, 1, 7}));
  // Each of these stops the stats screen with a diagnostic.
  EXPECT_FALSE(isUsableBestTime(nlohmann::json("fast")));
  EXPECT_FALSE(isUsableBestTime(nlohmann::json(5)));
  EXPECT_FALSE(isUsableBestTime(nlohmann::json{1, 2, 3}));
  EXPECT_FALSE(isUsableBestTime(nlohmann::json{"0", "0", "4", "2", "1", "7"}));
  EXPECT_FALSE(isUsableBestTime(nlohmann::json{0, 0, nullptr, 2, 1, 7, 3}));
  // These show no time; set aside too, so they are kept when the next best time is saved.
  EXPECT_FALSE(isUsableBestTime(nlohmann::json::array()));
  EXPECT_FALSE(isUsableBestTime(nlohmann::json(nullptr)));
  EXPECT_FALSE(isUsableBestTime(nlohmann::json::object()));
}

TEST(BestTimes, OnlyTheModeKeysAreChecked) {
  namespace fs = std::filesystem;
  char pattern[] = "/tmp/aloft-best-times-XXXXXX";
  const fs::path directory = mkdtemp(pattern);
  const fs::path file = directory / "preferences.json";
  std::ofstream(file) << R"({"Easy": [0, 0, 4, 2, 1, 7], "Hard": [1, 2, 3], "Other": "x"})";
  chart::Preferences preferences(file.string());
  setAsideUnusableBestTimes(preferences);
  EXPECT_NE(preferences.find("Easy"), nullptr);
  EXPECT_EQ(preferences.find("Hard"), nullptr);
  EXPECT_NE(preferences.find("Other"), nullptr);
  fs::remove_all(directory);
}

}  // namespace
