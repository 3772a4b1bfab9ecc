// Finding the folder that holds `kivResources`, the game's pictures and sounds.
#pragma once

#include <string>
#include <vector>

// The folders searched, in order, when no folder is given: next to an installed program
// (`<prefix>/bin/../share/aloft`), then the source tree the program was built from.
std::vector<std::string> resourceFolderCandidates(const std::string& executableDirectory);

// The first of `candidates` holding `kivResources`; an empty text when none does.
std::string findResourceFolder(const std::vector<std::string>& candidates);
