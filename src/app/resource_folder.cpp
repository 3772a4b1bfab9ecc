#include "app/resource_folder.h"

#include <filesystem>

std::vector<std::string> resourceFolderCandidates(const std::string& executableDirectory) {
  std::vector<std::string> candidates;
  if (!executableDirectory.empty()) candidates.push_back(executableDirectory + "../share/aloft");
  candidates.push_back(ALOFT_SOURCE_DIR);
  return candidates;
}

std::string findResourceFolder(const std::vector<std::string>& candidates) {
  for (const std::string& folder : candidates) {
    std::error_code error;
    if (std::filesystem::is_directory(folder + "/kivResources", error)) return folder;
  }
  return {};
}
