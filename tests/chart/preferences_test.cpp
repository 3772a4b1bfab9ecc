#include "chart/preferences.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <set>

#include "chart/preference_file.h"
#include "support/chart_test_support.h"
#include "support/flight.h"
#include "support/run_program.h"

namespace chart::testing {
namespace {

namespace fs = std::filesystem;

// The file's JSON; discarded when it does not parse.
nlohmann::json parsed(const fs::path& path) {
  return nlohmann::json::parse(readText(path), nullptr, false);
}

class PreferencesTest : public ChartTest {
 protected:
  void TearDown() override {
    while (!children.empty()) killed(children.back());
    ChartTest::TearDown();
  }

  // Runs `body` in a child process, which exits 0 when it returns and 1 on the fatal alert. A
  // child dies with the test process, and is killed at the end of the test if still running.
  pid_t spawn(const std::function<void()>& body) {
    const pid_t child = fork();
    if (child == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      try {
        body();
      } catch (const engine::FatalAlert& alert) {
        std::fprintf(stderr, "child: %s\n", alert.what());
        _exit(1);
      }
      _exit(0);
    }
    EXPECT_GT(child, 0);
    children.push_back(child);
    return child;
  }
  // Kills the child and reaps it; its wait status.
  int killed(pid_t child) {
    ::kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    std::erase(children, child);
    return status;
  }

  ScratchDirectory directory{"preferences"};
  fs::path file = directory / "aloft" / "preferences.json";
  std::vector<pid_t> children;
};

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
  const std::vector<std::string> refused = {"{\"Hard\": [1, 2", "{\"Easy\": [0, 0", nested(10000),
                                            nested(kMaxPreferenceDepth + 1),
                                            longText(kMaxPreferenceFileBytes)};
  for (const std::string& contents : refused) {
    Preferences::open(file);
    Preferences::share().save("Hard", nlohmann::json(1));
    Preferences::share().save("Hard", nlohmann::json(2));  // the backup holds 1
    Preferences::endFrame();
    std::ofstream(file) << contents;
    Preferences::open(file);
    EXPECT_FALSE(fs::exists(file));
    Preferences::share().save("Easy", nlohmann::json(5));
    Preferences::endFrame();
    EXPECT_EQ(parsed(file)["Hard"], 1);
    EXPECT_EQ(parsed(file.string() + ".bak")["Hard"], 1);
  }
  EXPECT_EQ(copiesSetAside(file), std::multiset<std::string>(refused.begin(), refused.end()));

  for (const std::string& accepted :
       {nested(kMaxPreferenceDepth), longText(kMaxPreferenceFileBytes - 13)}) {
    std::ofstream(file) << accepted;
    Preferences::open(file);
    EXPECT_EQ(Preferences::share().valuesText(), nlohmann::json::parse(accepted).dump());
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
  EXPECT_EQ(parsed(file), easy);
  EXPECT_EQ(copiesSetAside(file), std::multiset<std::string>{stored});

  const std::string later = R"({"Easy": [0, 0, 4, 2, 1, 7], "Hard": "slow"})";
  std::ofstream(file) << later;
  ASSERT_TRUE(Preferences::share().holdLock());
  EXPECT_EQ(Preferences::share().find("Hard"), nullptr);
  EXPECT_EQ(parsed(file), easy);
  EXPECT_EQ(copiesSetAside(file), (std::multiset<std::string>{stored, later}));
}

// Without a file option the data home is used when it is an absolute path, else the home's
// default. A location that cannot be written keeps the save in memory and says why once.
TEST_F(PreferencesTest, WhereTheFileIs) {
  for (const char* unusable : {(const char*)nullptr, "", "relative"}) {
    EXPECT_EQ(Preferences::defaultPath(unusable, "/home/u"),
              "/home/u/.local/share/aloft/preferences.json");
  }
  setenv("XDG_DATA_HOME", directory.path().c_str(), 1);
  Preferences::open("");
  unsetenv("XDG_DATA_HOME");
  Preferences::share().save("Easy", nlohmann::json(4));
  EXPECT_EQ(parsed(file)["Easy"], 4);

  Preferences::open(file / "preferences.json");
  Preferences::share().save("Hard", nlohmann::json(1));
  EXPECT_EQ(*Preferences::share().find("Hard"), 1);
  EXPECT_EQ(Preferences::share().problem(),
            "could not save " + file.string() +
                ": Not a directory; kept, and tried again at the next save and at exit");
}

// What is at the file's name and beside it, and what a save does then: only regular files are
// read or moved, no planted link is written through, a link the player made is written through
// to its file, and a save that cannot be written is kept and said once, naming the file.
TEST_F(PreferencesTest, FilesAtAndBesideThePreferenceFile) {
  const fs::path folder = file.parent_path(), outside = directory / "outside";
  struct Case {
    const char* name;
    std::function<void()> make;
    std::string refused;  // chooseFile's problem, or the save's failing file
  };
  const std::string notRegular = "the preferences file " + file.string() + " is not a regular file";
  const Case cases[] = {
      {"Folder", [&] { fs::create_directory(file); }, notRegular},
      {"NamedPipe", [&] { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); }, notRegular},
      {"LinkToADevice", [&] { fs::create_symlink("/dev/null", file); }, notRegular},
      {"PlayersLink", [&] { fs::create_symlink("../outside", file); }, ""},
      {"PlantedLinks", [&] {
         fs::create_symlink(outside, file.string() + ".tmp");
         fs::create_symlink(outside, file.string() + ".lock");
       }, file.string() + ".lock: Too many levels of symbolic links"},
      {"LockIsAFolder", [&] { fs::create_directory(file.string() + ".lock"); },
       file.string() + ".lock: Is a directory"},
      {"BackupIsAFolder", [&] {
         writeText(file, "{}");
         fs::create_directory(file.string() + ".bak");
       }, file.string() + ".bak: Is a directory"}};
  for (const Case& each : cases) {
    SCOPED_TRACE(each.name);
    fs::remove_all(folder);
    fs::remove_all(outside);
    fs::create_directories(folder);
    each.make();
    std::string problem;
    const std::string chosen = Preferences::chooseFile(file, problem);
    if (chosen.empty()) {
      EXPECT_EQ(problem, each.refused);
      EXPECT_NE(fs::symlink_status(file).type(), fs::file_type::regular);
      continue;
    }
    Preferences preferences(chosen);
    preferences.save("Hard", nlohmann::json(7));
    EXPECT_EQ(*preferences.find("Hard"), 7);
    EXPECT_FALSE(fs::exists(outside) && !fs::is_symlink(file)) << "written outside";
    if (!each.refused.empty()) {
      EXPECT_EQ(preferences.problem(), "could not save " + each.refused +
                                           "; kept, and tried again at the next save and at exit");
      // The file the note over the picture names.
      EXPECT_TRUE(each.refused.starts_with(preferences.problemFile() + ": "));
      continue;
    }
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(parsed(outside)["Hard"], 7);
  }
}

// A child saves ever longer hard times until it is killed at a random moment. It says when each
// save starts (+time) and ends (-time), so the test knows which times the file may hold: the
// one being saved or the one before it. The easy time is never touched. Each child takes the
// lock the one before was killed holding.
TEST_F(PreferencesTest, AKilledSaveLeavesTheOldOrTheNewTime) {
  const nlohmann::json easy = storedDigits(4217);
  Preferences::open(file);
  Preferences::share().save("Easy", easy);
  Preferences::share().save("Hard", storedDigits(0));
  Preferences::endFrame();
  std::mt19937 random(20261206);
  std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
  int stored = 0, leftTheOld = 0, leftTheNew = 0;
  for (int round = 0; round < 500; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    int said[2];
    ASSERT_EQ(pipe(said), 0);
    const pid_t saver = spawn([&] {
      const auto say = [&](int time) {
        if (write(said[1], &time, sizeof time) != sizeof time) _exit(2);
      };
      Preferences::open(file);
      for (int time = stored + 1;; ++time) {
        say(time);
        Preferences::share().save("Hard", storedDigits(time));
        Preferences::endFrame();  // one save a frame: some kills come while the lock is held
        say(-time);
      }
    });
    close(said[1]);
    usleep(useconds_t(delayMicroseconds(random)));
    ASSERT_TRUE(WIFSIGNALED(killed(saver))) << "the saver ended by itself";
    int last = 0;
    for (int next; read(said[0], &next, sizeof next) == sizeof next;) last = next;
    close(said[0]);

    const nlohmann::json saved = parsed(file);
    ASSERT_FALSE(saved.is_discarded());
    ASSERT_TRUE(nlohmann::json::accept(readText(file.string() + ".bak")));
    EXPECT_EQ(saved["Easy"], easy);
    // Killed inside the save of `last`, after the save of -`last`, or before the first.
    const int completed = last > 0 ? last - 1 : last < 0 ? -last : stored;
    const bool isNew = last > 0 && saved["Hard"] == storedDigits(last);
    ASSERT_TRUE(isNew || saved["Hard"] == storedDigits(completed))
        << saved["Hard"] << " after " << last;
    if (last > 0) ++(isNew ? leftTheNew : leftTheOld);
    stored = isNew ? last : completed;
  }
  std::printf("kills inside a save: %d left the old time, %d the new\n", leftTheOld, leftTheNew);
}

// Eight games each save 200 values under a key of their own, one save a frame, while the test
// reads the file in a loop as a starting game does, without the lock: every read parses, no key
// once seen goes missing or goes back, and every last value is in the file at the end.
TEST_F(PreferencesTest, EightGamesSavingAtOnceLoseNothing) {
  constexpr int kSaves = 200;
  Preferences::open(file);
  Preferences::share().save("Reader", nlohmann::json(0));
  Preferences::endFrame();
  nlohmann::json expected = {{"Reader", 0}};
  for (int game = 0; game < 8; ++game) {
    const std::string key = "Game" + std::to_string(game);
    expected[key] = kSaves;
    spawn([&, key] {
      Preferences own(file.string());
      for (int value = 1; value <= kSaves; ++value) {
        own.save(key, nlohmann::json(value));
        own.releaseLock();
      }
      if (!own.writeWaiting(kExitLockWait)) _exit(3);
    });
  }
  std::map<std::string, int> seen;
  int failedParses = 0, lostOrOlder = 0;
  while (!children.empty()) {
    std::erase_if(children, [](pid_t game) {
      int status = 0;
      if (waitpid(game, &status, WNOHANG) != game) return false;
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
      return true;
    });
    const nlohmann::json read = parsed(file);
    if (!read.is_object()) {
      ++failedParses;
      continue;
    }
    for (const auto& [key, value] : seen) lostOrOlder += !read.contains(key) || read[key] < value;
    for (const auto& [key, value] : read.items()) seen[key] = value.get<int>();
  }
  EXPECT_EQ(failedParses, 0);
  EXPECT_EQ(lostOrOlder, 0);
  EXPECT_EQ(parsed(file), expected);
}

// A game holding the lock (it stops, say, in a debugger): another game's save waits in memory,
// where its charts read it back, and nothing freezes. Once the holder lets go, the next frame
// with a preference command writes it, merged by the rule: a longer time the holder stored
// meanwhile stays.
TEST_F(PreferencesTest, AHeldLockDefersTheSaveUntilItsHolderLetsGo) {
  Preferences holder(file.string());
  holder.save("Easy", nlohmann::json(1));
  holder.save("Hard", nlohmann::json(2));
  Preferences waiting(file.string());  // reads without the lock
  waiting.setKeepStored([](std::string_view, const nlohmann::json& stored,
                           const nlohmann::json& value) { return stored >= value; });
  holder.save("Hard", nlohmann::json(9));  // in the same frame: the lock stays held
  const auto before = std::chrono::steady_clock::now();
  waiting.save("Easy", nlohmann::json(5));
  waiting.save("Hard", nlohmann::json(4));
  EXPECT_LT(std::chrono::steady_clock::now() - before, 4 * kPreferenceLockWait);
  EXPECT_EQ(*waiting.find("Easy"), 5);
  EXPECT_EQ(waiting.problem(), "");
  EXPECT_EQ(parsed(file), (nlohmann::json{{"Easy", 1}, {"Hard", 9}}));

  holder.releaseLock();
  waiting.releaseLock();  // the end of that frame
  ASSERT_TRUE(waiting.holdLock());
  EXPECT_FALSE(waiting.hasWaiting());
  EXPECT_EQ(parsed(file), (nlohmann::json{{"Easy", 5}, {"Hard", 9}}));
  EXPECT_EQ(*waiting.find("Hard"), 9);
}

}  // namespace
}  // namespace chart::testing
