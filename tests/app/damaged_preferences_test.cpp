// The real game started on a damaged preference file: it reaches the stats screen, says on
// stderr what it set aside, and keeps the file as it was beside the one it uses, once.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

struct DamagedPreferences {
  const char* name;
  const char* contents;
  const char* reported;  // what stderr says about the file
  bool rewritten;        // saved without the value set aside, or moved aside (unreadable)
};

void PrintTo(const DamagedPreferences& damaged, std::ostream* out) { *out << damaged.name; }

class DamagedPreferencesFile : public ::testing::TestWithParam<DamagedPreferences> {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/aloft-damaged-preferences-XXXXXX";
    directory = mkdtemp(pattern);
  }
  void TearDown() override { fs::remove_all(directory); }

  fs::path directory;
};

// Three games started together, 15 frames of half a second each: past the logos, the stats
// screen drawn with the stored times. One of them sets the damage aside and says so; the others
// find the file it left.
TEST_P(DamagedPreferencesFile, ThreeStartsKeepOneCopyAside) {
  const DamagedPreferences& damaged = GetParam();
  const fs::path prefs = directory / "preferences.json";
  std::ofstream(prefs, std::ios::binary) << damaged.contents;
  const std::vector<std::string> game = {"--headless", "--fixed-step", "0.5", "--frames", "15",
                                         "--prefs", prefs};

  const std::vector<ProgramResult> results = runProgramsTogether(gameBinary(), {game, game, game});

  int reports = 0;
  for (const ProgramResult& result : results) {
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    reports += result.err.find(prefs.string() + damaged.reported) != std::string::npos;
  }
  EXPECT_EQ(reports, 1);
  int asides = 0;
  for (const auto& entry : fs::directory_iterator(directory)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with("preferences.json.corrupt-")) continue;
    ++asides;
    EXPECT_EQ(readFile(entry.path()), damaged.contents);
  }
  EXPECT_EQ(asides, 1);
  EXPECT_EQ(fs::exists(prefs), damaged.rewritten);
  if (damaged.rewritten) {
    nlohmann::json kept = nlohmann::json::parse(damaged.contents);
    kept.erase("Hard");
    EXPECT_EQ(nlohmann::json::parse(readFile(prefs)), kept);
  }
}

constexpr const char* kUnreadable = " is not a preferences file; moved it to ";
constexpr const char* kUnusable = " holds a value under \"Hard\" the game cannot use";

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedPreferencesFile,
    ::testing::Values(
        DamagedPreferences{"Empty", "", kUnreadable, false},
        DamagedPreferences{"Truncated", R"({"Easy": [0, 0, 4, 2, 1, 7], "Hard": [0, 1)",
                           kUnreadable, false},
        DamagedPreferences{"NotAnObject", "[0, 0, 4, 2, 1, 7]", kUnreadable, false},
        DamagedPreferences{"BinaryBytes", "\x89PNG\r\n\x1a\n", kUnreadable, false},
        DamagedPreferences{"TextForATime", R"({"Easy": [0, 0, 4, 2, 1, 7], "Hard": "fast"})",
                           kUnusable, true},
        DamagedPreferences{"ThreeDigits", R"({"Easy": [0, 0, 4, 2, 1, 7], "Hard": [1, 2, 3]})",
                           kUnusable, true},
        DamagedPreferences{"NumberForATime", R"({"Hard": 5})", kUnusable, true},
        DamagedPreferences{"DigitsAsTexts", R"({"Hard": ["0", "0", "1", "2", "3", "4"]})",
                           kUnusable, true}),
    [](const ::testing::TestParamInfo<DamagedPreferences>& each) { return each.param.name; });

}  // namespace
