#include "chart/preferences.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "chart/preference_file.h"
#include "chart_test_support.h"

namespace chart::testing {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

class PreferencesTest : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    char pattern[] = "/tmp/aloft-preferences-XXXXXX";
    directory = mkdtemp(pattern);
    file = directory / "aloft" / "preferences.json";
  }
  void TearDown() override {
    ChartTest::TearDown();
    fs::remove_all(directory);
  }

  // A chart that saves a number, a text, a number list and a text list under four keys.
  static ChartSource saver() {
    return testChart("Word", {"key", "value"},
                     straight({gets("key", "Hard"), run(Object_add_math, {"YES"}, "value"),
                               run(Object_add_math, {"NO"}, "value"),
                               run(Preference_save, {"key", "value"}),
                               run(Text_remove_all, {"key"}), gets("key", "Name"),
                               run(Object_add, {"EMPTY"}, "value"),
                               run(Text_add, {"EMPTY"}, "value"), gets("value", "fl\xC3\xBCgel"),
                               run(Preference_save, {"key", "value"}),
                               run(Text_remove_all, {"key"}), gets("key", "Best"),
                               set("value", 12.5f),
                               run(Preference_save, {"key", "value"})}));
  }
  static ChartSource opener() {
    return testChart("Stats", {"hard", "name", "best", "easy", "gone", "hardPrefs", "namePrefs",
                               "bestPrefs", "easyPrefs"},
                     straight({gets("hard", "Hard"), gets("name", "Name"), gets("best", "Best"),
                               gets("easy", "Easy"), run(Preference_open, {"hard"}, "hardPrefs"),
                               run(Preference_open, {"name"}, "namePrefs"),
                               run(Preference_open, {"best"}, "bestPrefs"), set("easyPrefs", 3),
                               run(Preference_open, {"easy"}, "easyPrefs")}));
  }

  // The files set aside beside the preferences, by their contents.
  std::multiset<std::string> copiesAside() const {
    std::multiset<std::string> copies;
    for (const auto& entry : fs::directory_iterator(file.parent_path())) {
      if (entry.path().filename().string().starts_with("preferences.json.corrupt-")) {
        copies.insert(readFile(entry.path()));
      }
    }
    return copies;
  }

  fs::path directory;
  fs::path file;
};

// Saved by one chart, read back by another after the file is opened again as at a restart.
TEST_F(PreferencesTest, EveryValueTypeSurvivesARestart) {
  Preferences::open(file);
  frames(load({saver()}), 1);
  Preferences::endFrame();
  Preferences::open(file);
  Chart& chart = load({opener()});
  frames(chart, 1);
  const Cell& hard = cell(chart, "hardPrefs");
  ASSERT_EQ(hard.type, kNumberList);
  ASSERT_EQ(hard.object->size(), 2u);
  EXPECT_EQ(std::get<float>((*hard.object)[0]), 1.0f);
  EXPECT_EQ(text(chart, "namePrefs"), "fl\xC3\xBCgel");
  EXPECT_EQ(cell(chart, "bestPrefs").math, 12.5f);
  EXPECT_EQ(cell(chart, "easyPrefs").type, kEmpty);  // never saved
}

TEST_F(PreferencesTest, SavingAnUndefinedNumberRemovesTheKey) {
  Preferences::open(file);
  Preferences::share().save("Hard", nlohmann::json(3));
  ran("Word", {"key", "value"},
      {gets("key", "Hard"), set("value", 1.0f / 0.0f), run(Preference_save, {"key", "value"})});
  EXPECT_EQ(nlohmann::json::parse(readFile(file)), nlohmann::json::object());
}

// Torn, too deep or too large: each file is moved aside as it was, the backup used, and the next
// save writes the file again while keeping the backup. Files set aside within one second are all
// kept. The deepest and largest files accepted are read as they are.
TEST_F(PreferencesTest, UnreadableFilesAreMovedAsideAndTheBackupUsed) {
  // Saved back with its indentation, the deep file would have grown to about 200 MB.
  const auto nested = [](std::size_t depth) {
    return "{\"Hard\": " + std::string(depth, '[') + std::string(depth, ']') + "}";
  };
  const auto longText = [](std::size_t bytes) {
    return "{\"Hard\": \"" + std::string(bytes, 'x') + "\"}";
  };
  const std::vector<std::string> refused = {"{\"Hard\": [1, 2", "{\"Easy\": [0, 0",
                                            nested(10000), nested(kMaxPreferenceDepth + 1),
                                            longText(kMaxPreferenceFileBytes)};
  for (const std::string& contents : refused) {
    Preferences::open(file);
    Preferences::share().save("Hard", nlohmann::json(1));
    Preferences::share().save("Hard", nlohmann::json(2));  // the backup holds 1
    Preferences::endFrame();
    std::ofstream(file) << contents;
    Preferences::open(file);
    ASSERT_NE(Preferences::share().find("Hard"), nullptr);
    EXPECT_EQ(*Preferences::share().find("Hard"), 1);
    EXPECT_FALSE(fs::exists(file));
    Preferences::share().save("Easy", nlohmann::json(5));
    Preferences::endFrame();
    EXPECT_EQ(nlohmann::json::parse(readFile(file))["Hard"], 1);
    EXPECT_EQ(nlohmann::json::parse(readFile(file.string() + ".bak"))["Hard"], 1);
  }
  EXPECT_EQ(copiesAside(), std::multiset<std::string>(refused.begin(), refused.end()));

  for (const std::string& accepted :
       {nested(kMaxPreferenceDepth), longText(kMaxPreferenceFileBytes - 13)}) {
    ASSERT_LE(accepted.size(), kMaxPreferenceFileBytes);
    std::ofstream(file) << accepted;
    Preferences::open(file);
    ASSERT_NE(Preferences::share().find("Hard"), nullptr);
    EXPECT_EQ(*Preferences::share().find("Hard"), nlohmann::json::parse(accepted)["Hard"]);
  }
}

// Three starts on a file with values the game cannot use: one copy of the file as it was, the
// file saved without them, every other key kept. A value written later by another program is
// set aside when a frame next reads the file.
TEST_F(PreferencesTest, AnUnusableValueIsSetAsideOnceAndTheOtherKeysKept) {
  fs::create_directories(file.parent_path());
  const std::string stored = R"({"Easy": [0, 0, 4, 2, 1, 7], "Hard": "fast", "Name": 3})";
  std::ofstream(file) << stored;
  const UnusableValue notAList = [](std::string_view key, const nlohmann::json& value) {
    return key != "Easy" && !value.is_array();
  };
  for (int start = 0; start < 3; ++start) {
    Preferences::open(file);
    Preferences::share().setAsideWhen(notAList);
  }
  const nlohmann::json easy = {{"Easy", {0, 0, 4, 2, 1, 7}}};
  EXPECT_EQ(nlohmann::json::parse(readFile(file)), easy);
  EXPECT_EQ(copiesAside(), std::multiset<std::string>{stored});

  const std::string later = R"({"Easy": [0, 0, 4, 2, 1, 7], "Hard": "slow"})";
  std::ofstream(file) << later;
  ASSERT_TRUE(Preferences::share().holdLock());
  EXPECT_EQ(Preferences::share().find("Hard"), nullptr);
  EXPECT_EQ(nlohmann::json::parse(readFile(file)), easy);
  EXPECT_EQ(copiesAside(), (std::multiset<std::string>{stored, later}));
}

TEST_F(PreferencesTest, AnUnwritableLocationIsFatal) {
  const fs::path regular = directory / "regular";
  std::ofstream(regular) << "x";
  Preferences::open(regular / "preferences.json");
  EXPECT_EQ(alertOf([] { Preferences::share().save("Hard", nlohmann::json(1)); }),
            "The preferences file " + (regular / "preferences.json").string() +
                " could not be saved: Not a directory");
}

// Without a file option: the data home when it is an absolute path, else the home's default.
TEST_F(PreferencesTest, WithoutAFileOptionTheDataHomeIsUsed) {
  for (const char* unusable : {(const char*)nullptr, "", "relative"}) {
    EXPECT_EQ(Preferences::defaultPath(unusable, "/home/u"),
              "/home/u/.local/share/aloft/preferences.json");
  }
  setenv("XDG_DATA_HOME", directory.c_str(), 1);
  Preferences::open("");
  unsetenv("XDG_DATA_HOME");
  Preferences::share().save("Easy", nlohmann::json(4));
  EXPECT_EQ(nlohmann::json::parse(readFile(file))["Easy"], 4);
}

// A best time as the time display stores it: six digits, most significant first.
nlohmann::json digitsOf(int hundredths) {
  const int minutes = hundredths / 6000 % 100, seconds = hundredths / 100 % 60;
  const int rest = hundredths % 100;
  return {minutes / 10, minutes % 10, seconds / 10, seconds % 10, rest / 10, rest % 10};
}

// A child process saves ever longer hard times until it is killed at a random moment. It says
// on a pipe when each save starts (+time) and ends (-time), so the parent knows which times the
// file may hold: the one being saved or the one before it. The easy time is never touched. Each
// child takes the lock the one before was killed holding.
TEST_F(PreferencesTest, AKilledSaveLeavesTheOldOrTheNewTime) {
  constexpr int kKills = 500;
  const nlohmann::json easy = digitsOf(4217);
  Preferences::open(file);
  Preferences::share().save("Easy", easy);
  Preferences::share().save("Hard", digitsOf(0));
  Preferences::endFrame();
  std::mt19937 random(20261206);
  std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
  int stored = 0;  // the hard time the file holds
  int leftTheOld = 0, leftTheNew = 0;
  for (int round = 0; round < kKills; ++round) {
    int announcements[2];
    ASSERT_EQ(pipe(announcements), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(announcements[0]);
      Preferences::open(file);
      for (int time = stored + 1; time < stored + 1000000; ++time) {
        const int starts = time, ends = -time;
        if (write(announcements[1], &starts, sizeof starts) != sizeof starts) _exit(2);
        Preferences::share().save("Hard", digitsOf(time));
        Preferences::endFrame();  // one save a frame: some kills come while the lock is held
        if (write(announcements[1], &ends, sizeof ends) != sizeof ends) _exit(2);
      }
      _exit(0);
    }
    close(announcements[1]);
    usleep(useconds_t(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round << ": the saver ended by itself";
    int last = 0;
    for (int said = 0; read(announcements[0], &said, sizeof said) == sizeof said;) last = said;
    close(announcements[0]);

    const nlohmann::json saved = nlohmann::json::parse(readFile(file), nullptr, false);
    ASSERT_FALSE(saved.is_discarded()) << "round " << round;
    ASSERT_TRUE(nlohmann::json::accept(readFile(file.string() + ".bak"))) << "round " << round;
    EXPECT_EQ(saved["Easy"], easy) << "round " << round;
    if (last > 0) {  // killed inside the save of `last`
      const bool isNew = saved["Hard"] == digitsOf(last);
      ASSERT_TRUE(isNew || saved["Hard"] == digitsOf(last - 1))
          << "round " << round << ": neither " << last - 1 << " nor " << last << " but "
          << saved["Hard"];
      ++(isNew ? leftTheNew : leftTheOld);
      stored = isNew ? last : last - 1;
    } else {  // between two saves, or before the first
      const int completed = last < 0 ? -last : stored;
      ASSERT_EQ(saved["Hard"], digitsOf(completed)) << "round " << round;
      stored = completed;
    }
  }
  std::printf("%d kills: %d inside a save left the old time, %d the new\n", kKills, leftTheOld,
              leftTheNew);
}

// Eight games each save 200 values under a key of their own, one save a frame, while another
// reads the file in a loop as a starting game does, without the lock: every read parses, no key
// once seen goes missing or goes back, and every last value is in the file at the end.
TEST_F(PreferencesTest, EightGamesSavingAtOnceLoseNothing) {
  constexpr int kGames = 8, kSaves = 200;
  Preferences::open(file);
  Preferences::share().save("Reader", nlohmann::json(0));
  Preferences::endFrame();
  std::vector<pid_t> games;
  for (int game = 0; game < kGames; ++game) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      try {
        Preferences own(file.string());
        for (int value = 1; value <= kSaves; ++value) {
          own.save("Game" + std::to_string(game), nlohmann::json(value));
          own.releaseLock();
        }
      } catch (const FatalAlert& alert) {
        std::fprintf(stderr, "game %d: %s\n", game, alert.what());
        _exit(1);
      }
      _exit(0);
    }
    games.push_back(child);
  }
  std::map<std::string, int> seen;
  int reads = 0, failedParses = 0, lostOrOlder = 0;
  for (std::size_t running = games.size(); running > 0;) {
    const nlohmann::json read = nlohmann::json::parse(readFile(file), nullptr, false);
    ++reads;
    if (!read.is_object()) {
      ++failedParses;
    } else {
      for (const auto& [key, value] : seen) lostOrOlder += !read.contains(key) || read[key] < value;
      for (const auto& [key, value] : read.items()) seen[key] = value.get<int>();
    }
    for (pid_t& game : games) {
      int status = 0;
      if (game == 0 || waitpid(game, &status, WNOHANG) != game) continue;
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
      game = 0;
      --running;
    }
  }
  EXPECT_EQ(failedParses, 0);
  EXPECT_EQ(lostOrOlder, 0);
  nlohmann::json expected = {{"Reader", 0}};
  for (int game = 0; game < kGames; ++game) expected["Game" + std::to_string(game)] = kSaves;
  EXPECT_EQ(nlohmann::json::parse(readFile(file)), expected);
  std::printf("%d games x %d saves: %d reads, %d failed to parse, %d lost a key\n", kGames,
              kSaves, reads, failedParses, lostOrOlder);
}

// A game holding the lock (it stops, say, in a debugger): another game's save fails with the
// alert after its wait, its reads keep the values last read; once the holder is killed, the
// lock is free and the next save sees the holder's save.
TEST_F(PreferencesTest, AHeldLockFailsTheSaveUntilItsHolderIsKilled) {
  Preferences::open(file);
  Preferences::share().save("Easy", nlohmann::json(1));
  Preferences::endFrame();
  int saved[2], go[2];
  ASSERT_EQ(pipe(saved), 0);
  ASSERT_EQ(pipe(go), 0);
  const pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    close(saved[0]);
    close(go[1]);
    Preferences own(file.string());
    char byte = 0;
    own.save("Hard", nlohmann::json(2));
    if (write(saved[1], &byte, 1) != 1 || read(go[0], &byte, 1) != 1) _exit(2);
    own.save("Hard", nlohmann::json(3));  // still in the same frame: the lock stays held
    if (write(saved[1], &byte, 1) != 1) _exit(2);
    while (read(go[0], &byte, 1) > 0) {  // held until killed, or until the test is gone
    }
    _exit(0);
  }
  close(saved[1]);
  close(go[0]);
  // Killed on every way out of the test, so that no holder outlives it.
  struct Killed {
    pid_t pid;
    void now() {
      if (pid <= 0) return;
      ::kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      pid = -1;
    }
    ~Killed() { now(); }
  } killed{holder};
  char byte = 0;
  ASSERT_EQ(read(saved[0], &byte, 1), 1);
  Preferences waiting(file.string(), std::chrono::milliseconds(100));  // reads Hard 2
  ASSERT_EQ(write(go[1], &byte, 1), 1);
  ASSERT_EQ(read(saved[0], &byte, 1), 1);

  EXPECT_FALSE(waiting.holdLock());
  ASSERT_NE(waiting.find("Hard"), nullptr);
  EXPECT_EQ(*waiting.find("Hard"), 2);
  EXPECT_EQ(alertOf([&] { waiting.save("Easy", nlohmann::json(5)); }),
            "The preferences file " + file.string() + " could not be saved: another program held "
            "its lock " + file.string() + ".lock for 0.1 seconds");

  killed.now();
  waiting.releaseLock();  // the end of that frame
  waiting.save("Easy", nlohmann::json(5));
  EXPECT_EQ(nlohmann::json::parse(readFile(file)), (nlohmann::json{{"Easy", 5}, {"Hard", 3}}));
  close(saved[0]);
  close(go[1]);
}

}  // namespace
}  // namespace chart::testing
