// The game's frames as they relate to replays: played from a replay (watched, or verified), or
// played live with the session recorded and each new best run kept.
#pragma once

#include <optional>
#include <string>

#include "app/command_line.h"
#include "app/opengl_view.h"
#include "app/replay_file.h"
#include "app/run_loop.h"
#include "platform/clock.h"
#include "platform/window.h"

// The preference file the options name (--prefs), or the default one.
std::string preferencesPath(const Options& options);

// The replay the options name (--replay, --replay-best or --verify), or none. A file that cannot
// be used is reported on stderr and sets `failed`.
std::optional<Replay> chosenReplay(const Options& options, bool& failed);

// Checks that `replay` was recorded with the resource files of digest `digest` (else says so on
// stderr and returns false) and opens the preferences it was recorded with, in memory.
bool prepareReplay(const Replay& replay, const Options& options, const std::string& digest);

// Runs the frames with `replay` in place of the live input. Returns the exit status: with
// --verify the verdict's, otherwise 0. With `pace`, frames keep their recorded lengths.
int playReplay(const Replay& replay, const Options& options, OpenGLView& view,
               platform::Window& window, platform::Clock& clock, platform::MonotonicClock* pace,
               RunSettings settings);

// Runs the frames live, recording them: each new best time keeps its run's replay beside the
// preference file, and with --record the whole session is written when the game ends.
int playRecorded(const Options& options, const std::string& digest, OpenGLView& view,
                 platform::Window& window, platform::Clock& clock, const RunSettings& settings);
