// Finding the folder that holds `kivResources`, the game's pictures and sounds.
#pragma once

#include <string>
#include <vector>

// The folders searched, in order, when no folder is given: the installed data folder, found
// from the program's own folder by the path from bin to data fixed when the build was
// configured (`<prefix>/bin/../share/aloft` by default, so a moved prefix still works), then,
// for a program inside its build tree (or one whose folder is unknown), the source tree.
std::vector<std::string> resourceFolderCandidates(const std::string& executableDirectory);

// The first of `candidates` holding `kivResources`; an empty text when none does.
std::string findResourceFolder(const std::vector<std::string>& candidates);
