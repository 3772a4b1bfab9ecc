// A save of the preferences failing at each of its system calls: the file on disk stays as it
// was, nothing is left beside it but the file and its backup, the failure is said naming the
// file it was on and the reason, the game goes on with the value in memory, and the next save
// writes it too.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "chart/preferences.h"
#include "support/run_program.h"
#include "support/system_call_faults.h"

namespace {

namespace fs = std::filesystem;
using faults::Call;

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
  const char* failedOn = "preferences.json";
  bool renamedBeforeFailure = false;
};

class PreferencesFault : public ::testing::TestWithParam<FaultCase> {
 protected:
  void TearDown() override { faults::reset(); }
  ScratchDirectory directory{"preference-faults"};
};

TEST_P(PreferencesFault, KeepsTheFileAndReportsTheFailure) {
  const FaultCase& fault = GetParam();
  const fs::path file = directory / "preferences.json";
  const fs::path backup = directory / "preferences.json.bak";
  const nlohmann::json easy{0, 0, 4, 2, 1, 7}, newTime{0, 0, 3, 0, 0, 0};
  // A backup from an earlier save and the file of the last one, with the other mode's time.
  chart::Preferences preferences(file.string());
  preferences.save("Easy", easy);
  preferences.save("Hard", nlohmann::json{0, 0, 1, 0, 0, 0});
  preferences.save("Hard", nlohmann::json{0, 0, 2, 0, 0, 0});
  const std::string before = readText(file), backupBefore = readText(backup);

  faults::reset();  // counts the save's calls from here
  faults::shortenWrites(fault.writeLimit);
  for (const Fault& each : fault.faults) faults::failCall(each.call, each.occurrence, each.error);
  preferences.save("Hard", newTime);
  faults::reset();

  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory.path())) {
    names.insert(entry.path().filename());
  }
  EXPECT_EQ(names, (std::set<std::string>{"preferences.json", "preferences.json.bak",
                                          "preferences.json.lock"}));
  EXPECT_EQ(preferences.problem(),
            fault.reportedError == 0
                ? ""
                : "could not save " +
                      (*fault.failedOn ? directory / fault.failedOn : directory.path()).string() +
                      ": " +
                      std::strerror(fault.reportedError) +
                      "; kept, and tried again at the next save and at exit");
  EXPECT_EQ(*preferences.find("Hard"), newTime);
  if (fault.reportedError == 0 || fault.renamedBeforeFailure) {
    EXPECT_EQ(nlohmann::json::parse(readText(file))["Hard"], newTime);
    EXPECT_EQ(readText(backup), before);
  } else {
    EXPECT_EQ(readText(file), before);
    const std::string backupAfter = readText(backup);
    EXPECT_TRUE(backupAfter == backupBefore || backupAfter == before);
  }
  preferences.save("Easy", easy);
  EXPECT_EQ(nlohmann::json::parse(readText(file)),
            (nlohmann::json{{"Easy", easy}, {"Hard", newTime}}));
}

// One save's calls: the new file written and synced under a temporary name, the current file
// linked as the backup (copied where links are refused), the new file renamed over it, then the
// folder synced: only that last failure leaves the new file in place.
const FaultCase kFaults[] = {
    {"WritesOfSevenBytes", {}, 7, 0},
    {"FullDisk", {{Call::Write, 1, ENOSPC}}, 0, ENOSPC},
    {"ShortWriteThenFullDisk", {{Call::Write, 3, ENOSPC}}, 16, ENOSPC},
    {"WriteWithoutProgress", {{Call::Write, 1, 0}}, 0, EIO},
    {"FileSyncFails", {{Call::Fsync, 1, EIO}}, 0, EIO},
    {"CloseFails", {{Call::Close, 1, EIO}}, 0, EIO},
    {"BackupLinkFails", {{Call::Link, 1, EIO}}, 0, EIO, "preferences.json.bak"},
    {"LinksRefusedBackupCopied", {{Call::Link, 1, EPERM}}, 0, 0},
    {"LinksRefusedCopyFullDisk", {{Call::Link, 1, EPERM}, {Call::Write, 2, ENOSPC}}, 0, ENOSPC,
     "preferences.json.bak"},
    {"LinksRefusedCopySyncFails", {{Call::Link, 1, EPERM}, {Call::Fsync, 2, EIO}}, 0, EIO,
     "preferences.json.bak"},
    {"BackupRenameFails", {{Call::Rename, 1, EIO}}, 0, EIO, "preferences.json.bak"},
    {"RenameFails", {{Call::Rename, 2, ENOSPC}}, 0, ENOSPC},
    {"FolderSyncFails", {{Call::Fsync, 2, EIO}}, 0, EIO, "", true},
};
INSTANTIATE_TEST_SUITE_P(EverySaveStep, PreferencesFault, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<FaultCase>& each) {
                           return each.param.name;
                         });

}  // namespace
