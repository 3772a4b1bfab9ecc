// The real game started on a damaged preference file: it reaches the stats screen, says on
// stderr what it set aside, and keeps the file as it was beside the one it uses, once.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

struct DamagedPreferences {
  const char* name;
  const char* contents;
  bool readable;  // else moved aside whole; if readable, saved without the unusable "Hard"
};

class DamagedPreferencesFile : public ::testing::TestWithParam<DamagedPreferences> {};

// Three games started together, 15 frames of half a second each: past the logos, the stats
// screen drawn with the stored times. One of them sets the damage aside and says so; the others
// find the file it left.
TEST_P(DamagedPreferencesFile, ThreeStartsKeepOneCopyAside) {
  const DamagedPreferences& damaged = GetParam();
  ScratchDirectory directory("damaged-preferences");
  const fs::path prefs = directory / "preferences.json";
  writeText(prefs, damaged.contents);
  const std::vector<std::string> game = {"--headless", "--fixed-step", "0.5", "--frames", "15",
                                         "--prefs", prefs};

  const std::vector<ProgramResult> results = runProgramsTogether(gameBinary(), {game, game, game});

  // A game that finds the lock busy leaves the value out for its run and says so; only the one
  // that holds it sets the copy aside.
  const std::string reported =
      prefs.string() +
      (damaged.readable ? " holds a value under \"Hard\" the game cannot use; kept a copy in"
                        : " is not a preferences file; moved it to ");
  int reports = 0;
  for (const ProgramResult& result : results) {
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    reports += result.err.find(reported) != std::string::npos;
  }
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(copiesSetAside(prefs), std::multiset<std::string>{damaged.contents});
  EXPECT_EQ(fs::exists(prefs), damaged.readable);
  if (damaged.readable) {
    nlohmann::json kept = nlohmann::json::parse(damaged.contents);
    kept.erase("Hard");
    EXPECT_EQ(nlohmann::json::parse(readText(prefs)), kept);
  }
}

// A best time is a list that starts with six numbers (the rest is not read); only the two
// modes' keys hold best times.
INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedPreferencesFile,
    ::testing::ValuesIn(std::vector<DamagedPreferences>{
        {"Empty", "", false},
        {"Truncated", R"({"Easy": [0, 0, 4, 2, 1, 7], "Hard": [0, 1)", false},
        {"NotAnObject", "[0, 0, 4, 2, 1, 7]", false},
        {"TextForATime", R"({"Easy": [0.5, -1, 40, 2, 1, 7], "Hard": "fast"})", true},
        {"FiveDigits", R"({"Easy": [0, 0, 4, 2, 1, 7, 9], "Hard": [1, 2, 3, 4, 5], "X": "y"})", true},
        {"NumberForATime", R"({"Hard": 5})", true},
        {"ADigitAsText", R"({"Hard": [0, 0, 1, 2, 3, "4"]})", true}}),
    [](const ::testing::TestParamInfo<DamagedPreferences>& each) { return each.param.name; });

}  // namespace
