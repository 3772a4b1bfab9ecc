// The program's options.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/board_client.h"
#include "platform/exit_status.h"
#include "platform/window.h"

struct Options {
  bool fullscreen = false;
  platform::Size size{960, 640};  // the window's size in points
  bool sizeGiven = false;         // --size was given: a watched replay opens at it too
  std::string resources;          // the folder holding kivResources; empty: the installed one
  std::string prefs;              // the preference file; empty: the default location
  std::vector<std::string> trace;  // charts whose nodes are printed as they run
  std::optional<int> volume;       // percent, for this run; the stored setting otherwise
  bool mute = false;               // silent for this run
  std::string countNodes;          // where to write how often each node ran, at the end

  // Instead of playing: print a chart (or "all") as a Graphviz graph, coloured by `counts`.
  std::string chartGraph;
  std::string counts;

  // Automation, for tests, benchmarks and checks.
  bool headless = false;
  std::optional<std::int64_t> frames;   // end normally after this frame
  std::optional<double> fixedStep;      // every frame lasts this many seconds
  std::string script;                   // input events to deliver
  std::string screenshot;               // PNG of the last frame

  // Replays (see app/replay_file.h).
  std::string record;      // the session is written here when the game ends
  std::string replay;      // a replay to watch
  std::string replayBest;  // "hard" or "easy": the kept best run to watch
  std::string verify;      // a replay to verify headless
  std::string flight;      // with --verify: where the flyer was every tenth of a second

  BoardCommand boardCommand;  // instead of playing: talk to a board server
};

// The exit status of a refused command line.
using platform::kExitUsage;

// Says on stderr, in one line, why the command line is refused, and where the options are told;
// returns `kExitUsage`.
int refuseCommandLine(const std::string& problem);

// Parses the command line. Returns the options to run with, or the exit status to end with at
// once (after --help or --version, 0; after a bad option, 2, said by `refuseCommandLine`).
std::variant<Options, int> parseCommandLine(int argc, const char* const* argv);
