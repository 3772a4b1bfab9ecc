// A save of the preferences failing at each of its system calls: the file on disk stays as it
// was, nothing is left beside it but the file and its backup, and the failure is the fatal
// alert that names the file and the reason.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "chart/preferences.h"
#include "engine/kiv_alert.h"
#include "system_call_faults.h"

namespace {

namespace fs = std::filesystem;
using faults::Call;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

std::set<std::string> namesIn(const fs::path& directory) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

struct Fault {
  Call call;
  int occurrence;
  int error;
};

struct FaultCase {
  const char* name;
  std::vector<Fault> faults;
  std::size_t writeLimit;  // 0: whole writes
  int reportedError;       // 0: the save succeeds
  bool renamedBeforeFailure;
};

void PrintTo(const FaultCase& faultCase, std::ostream* out) { *out << faultCase.name; }

class PreferencesFault : public ::testing::TestWithParam<FaultCase> {
 protected:
  void SetUp() override {
    KivAlert::share().throwInsteadOfExiting(true);
    char pattern[] = "/tmp/aloft-preference-faults-XXXXXX";
    directory = mkdtemp(pattern);
    file = directory / "preferences.json";
    // A backup from an earlier save and the file of the last one, with the other mode's time.
    preferences = std::make_unique<chart::Preferences>(file.string());
    preferences->save("Easy", nlohmann::json{0, 0, 4, 2, 1, 7});
    preferences->save("Hard", nlohmann::json{0, 0, 1, 0, 0, 0});
    preferences->save("Hard", nlohmann::json{0, 0, 2, 0, 0, 0});
  }
  void TearDown() override {
    faults::reset();
    fs::remove_all(directory);
  }

  // Saves a new hard time with the case's faults armed; the alert's message, or empty.
  std::string saveUnderFaults(const FaultCase& faultCase) {
    faults::reset();
    if (faultCase.writeLimit != 0) faults::shortenWrites(faultCase.writeLimit);
    for (const Fault& fault : faultCase.faults) {
      faults::failCall(fault.call, fault.occurrence, fault.error);
    }
    std::string message;
    try {
      preferences->save("Hard", newTime);
    } catch (const FatalAlert& alert) {
      message = alert.what();
    }
    faults::reset();
    return message;
  }

  const nlohmann::json newTime{0, 0, 3, 0, 0, 0};
  fs::path directory;
  fs::path file;
  std::unique_ptr<chart::Preferences> preferences;
};

TEST_P(PreferencesFault, KeepsTheFileAndReportsTheFailure) {
  const FaultCase& faultCase = GetParam();
  const std::string before = readFile(file);
  const std::string backupBefore = readFile(file.string() + ".bak");

  const std::string message = saveUnderFaults(faultCase);

  EXPECT_EQ(namesIn(directory), (std::set<std::string>{"preferences.json", "preferences.json.bak",
                                                        "preferences.json.lock"}))
      << "a temporary file was left behind";
  const nlohmann::json stored = nlohmann::json::parse(readFile(file), nullptr, false);
  const nlohmann::json backup =
      nlohmann::json::parse(readFile(file.string() + ".bak"), nullptr, false);
  ASSERT_FALSE(stored.is_discarded());
  ASSERT_FALSE(backup.is_discarded());
  EXPECT_EQ(backup["Easy"], (nlohmann::json{0, 0, 4, 2, 1, 7}));
  if (faultCase.reportedError == 0) {
    EXPECT_EQ(message, "");
    EXPECT_EQ(stored["Hard"], newTime);
    EXPECT_EQ(readFile(file.string() + ".bak"), before);
    return;
  }
  EXPECT_EQ(message, "The preferences file " + file.string() +
                         " could not be saved: " + std::strerror(faultCase.reportedError));
  if (faultCase.renamedBeforeFailure) {
    // Only the directory's sync failed: the new file is in place, the old one is the backup.
    EXPECT_EQ(stored["Hard"], newTime);
    EXPECT_EQ(readFile(file.string() + ".bak"), before);
  } else {
    EXPECT_EQ(readFile(file), before);
    // The backup is the one before, or the file as it was.
    const std::string backupAfter = readFile(file.string() + ".bak");
    EXPECT_TRUE(backupAfter == backupBefore || backupAfter == before);
  }
  // After the reported failure a later save still works.
  preferences->save("Hard", newTime);
  EXPECT_EQ(nlohmann::json::parse(readFile(file))["Hard"], newTime);
  EXPECT_EQ(nlohmann::json::parse(readFile(file))["Easy"], (nlohmann::json{0, 0, 4, 2, 1, 7}));
}

// One save's calls: the new file written and synced under a temporary name, the current file
// linked as the backup, the new file renamed over it, then the folder synced.
INSTANTIATE_TEST_SUITE_P(
    EverySaveStep, PreferencesFault,
    ::testing::Values(
        FaultCase{"WritesOfSevenBytes", {}, 7, 0, false},
        FaultCase{"FullDisk", {{Call::Write, 1, ENOSPC}}, 0, ENOSPC, false},
        FaultCase{"ShortWriteThenFullDisk", {{Call::Write, 3, ENOSPC}}, 16, ENOSPC, false},
        FaultCase{"WriteWithoutProgress", {{Call::Write, 1, 0}}, 0, EIO, false},
        FaultCase{"FileSyncFails", {{Call::Fsync, 1, EIO}}, 0, EIO, false},
        FaultCase{"CloseFails", {{Call::Close, 1, EIO}}, 0, EIO, false},
        FaultCase{"BackupLinkFails", {{Call::Link, 1, EIO}}, 0, EIO, false},
        FaultCase{"LinksRefusedBackupCopied", {{Call::Link, 1, EPERM}}, 0, 0, false},
        FaultCase{"LinksRefusedBackupCopyFullDisk",
                  {{Call::Link, 1, EPERM}, {Call::Write, 2, ENOSPC}}, 0, ENOSPC, false},
        FaultCase{"LinksRefusedBackupCopySyncFails",
                  {{Call::Link, 1, EPERM}, {Call::Fsync, 2, EIO}}, 0, EIO, false},
        FaultCase{"BackupRenameFails", {{Call::Rename, 1, EIO}}, 0, EIO, false},
        FaultCase{"RenameFails", {{Call::Rename, 2, ENOSPC}}, 0, ENOSPC, false},
        FaultCase{"FolderSyncFails", {{Call::Fsync, 2, EIO}}, 0, EIO, true}),
    [](const ::testing::TestParamInfo<FaultCase>& each) { return each.param.name; });

}  // namespace
