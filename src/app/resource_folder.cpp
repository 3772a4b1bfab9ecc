#include "app/resource_folder.h"

#include <algorithm>
#include <filesystem>

namespace {

// Whether the program (the game, a test or a benchmark) runs from inside the build tree it was
// built in rather than from an installed copy, which must never depend on the source tree.
bool runsFromBuildTree(const std::string& executableDirectory) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path build = fs::canonical(ALOFT_BINARY_DIR, error);
  if (error) return false;
  const fs::path program = fs::canonical(executableDirectory, error);
  if (error) return false;
  return std::mismatch(build.begin(), build.end(), program.begin(), program.end()).first == build.end();
}

}  // namespace

std::vector<std::string> resourceFolderCandidates(const std::string& executableDirectory) {
  std::vector<std::string> candidates;
  if (!executableDirectory.empty()) candidates.push_back(executableDirectory + ALOFT_DATA_FROM_BIN);
  if (executableDirectory.empty() || runsFromBuildTree(executableDirectory)) {
    candidates.push_back(ALOFT_SOURCE_DIR);
  }
  return candidates;
}

std::string findResourceFolder(const std::vector<std::string>& candidates) {
  for (const std::string& folder : candidates) {
    std::error_code error;
    if (std::filesystem::is_directory(folder + "/kivResources", error)) return folder;
  }
  return {};
}
