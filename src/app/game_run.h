// Playing, watching or verifying as the command line asks, once it is parsed: shared by the game
// program and the front program, which verifies replays without devices.
#pragma once

#include <string>
#include <vector>

#include "app/command_line.h"

// The folder holding kivResources and the digest of its files, when they were found before the
// run starts.
struct FoundResources {
  std::string folder;
  std::string digest;
};

// Where the resources are looked for: the folder given with --resources, else the installed
// ones (app/resource_folder.h).
std::vector<std::string> resourceFolderCandidatesFor(const Options& options);

// Runs the game with `options` and returns the process's exit status. `found`, when not null,
// is the resource folder to use instead of looking for one.
int runGame(Options options, const FoundResources* found);
