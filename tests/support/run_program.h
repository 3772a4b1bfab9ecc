// Runs the game's binary as a child process and collects its exit status and output.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

struct ProgramResult {
  int exitStatus = -1;  // -1 when the child did not exit normally
  std::string out;
  std::string err;
};

// The game's binary, as the build registered it for the tests.
std::string gameBinary();

ProgramResult runProgram(const std::string& binary, const std::vector<std::string>& arguments);

// Runs `binary` once for each list of arguments, all started before any is waited for: games
// that share files. The results are in the order of the lists.
std::vector<ProgramResult> runProgramsTogether(
    const std::string& binary, const std::vector<std::vector<std::string>>& argumentLists);

// A fresh directory under /tmp for one test, removed with all it holds when the test ends.
class ScratchDirectory {
 public:
  explicit ScratchDirectory(const std::string& name);
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string readText(const std::filesystem::path& file);
void writeText(const std::filesystem::path& file, const std::string& contents);
// The contents of the copies set aside beside the preference file `file` (FILE.corrupt-...).
std::multiset<std::string> copiesSetAside(const std::filesystem::path& file);

// The game headless at frames of 0.01 s for `frames` frames, playing `script` (written beside
// `prefs` as script.txt) with the preference file `prefs` and the `extra` arguments.
ProgramResult playScript(const std::string& script, int frames,
                         const std::filesystem::path& prefs,
                         const std::vector<std::string>& extra = {});
