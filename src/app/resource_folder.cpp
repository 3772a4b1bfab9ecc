#include "app/resource_folder.h"

#include <filesystem>

namespace {

// Whether the program runs from the build tree it was built in rather than from an installed
// copy, which must never depend on the source tree still being there.
bool runsFromBuildTree(const std::string& executableDirectory) {
  std::error_code error;
  return std::filesystem::equivalent(executableDirectory, ALOFT_BINARY_DIR, error);
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
