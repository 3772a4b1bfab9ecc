// Whole runs of the game in one process: the real chart tree in a headless view on the
// fixed-step clock, from seeded random input (random_runs.h). After every run, back on the stats
// screen, the engine must hold exactly what it held there before the first run, and the run must
// have landed once; with `--verify-with GAME`, every best run kept must verify (`GAME --verify`)
// to the time stored. Prints the resident memory as it goes; exits 1 on the first fault. With
// `--print-script` it prints the runs as a script for the game's --script instead (the real-time
// soak, the run under load and the leak check play it).
#include <GL/gl.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/best_times.h"
#include "app/input_script.h"
#include "app/opengl_view.h"
#include "app/resource_digest.h"
#include "app/resource_folder.h"
#include "app/root_chart.h"
#include "app/run_loop.h"
#include "app/run_start_state.h"
#include "app/session_recorder.h"
#include "chart/data.h"
#include "chart/preferences.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "random_runs.h"
#include "support/engine_counts.h"
#include "support/run_program.h"

namespace {

constexpr platform::Size kWindow{120, 80};

struct Options {
  int runs = 10;
  std::uint32_t seed = 1;
  int reportEvery = 100;
  std::string game;  // verifies the kept best runs when given
};

long residentKb() {
  const std::string status = readText("/proc/self/status");
  const auto at = status.find("VmRSS:");
  return at == std::string::npos ? -1 : std::stol(status.substr(at + 6));
}

std::string describe(const EngineCounts& counts) {
  return std::to_string(counts.polygons) + " polygons, " + std::to_string(counts.picking) +
         " picking entries, " + std::to_string(counts.textures) + " textures, " +
         std::to_string(counts.sounds) + " sounds";
}

bool runEnded() {
  return chart::Data::share().globalVariableDictionary().find("gvRestart") != nullptr;
}

// Plays the runs; returns the number of faults found (it stops at the first run with one).
int playRuns(const Options& options, platform::Window& window, const std::filesystem::path& prefs) {
  platform::FixedStepClock clock{0.01};
  OpenGLView view(window, clock, engine::KivPolygons::share(), makeStartChart());
  view.showInFront();
  RunStartState runStart(chart::Data::share().globalVariableDictionary());
  Replay header;
  header.gameVersion = "soak";
  header.window = kWindow;
  header.resourceDigest = resourceDigest(chart::Data::share().resourcePath() + "/kivResources");
  SessionRecorder recorder(header, false, runStart, chart::Preferences::share());
  view.setFrameInputTap(&recorder);
  std::vector<std::string> keptModes;
  chart::Preferences::share().setSaveListener(
      [&](std::string_view key, const nlohmann::json* value) {
        recorder.saved(key, value);
        keptModes.emplace_back(key);
      });
  chart::Preferences::share().setSettledListener(
      [&](std::string_view key, bool written) { recorder.settled(key, written); });

  // Runs the frames up to `lastFrame`; returns how many runs ended in them.
  const auto play = [&](std::int64_t lastFrame, InputScript* script) {
    int ended = 0;
    for (bool endSeen = runEnded(); view.framesDrawn() < lastFrame && !view.quitRequested();) {
      RunSettings settings;
      settings.frameLimit = view.framesDrawn() + 1;
      settings.script = script;
      runFrames(view, window, clock, settings);
      // Unlike a window's buffer swap, the headless one does not wait for the GL driver, which
      // would queue hundreds of megabytes of frames still to be drawn.
      glFinish();
      const bool end = runEnded();
      ended += end && !endSeen;
      endSeen = end;
    }
    return ended;
  };

  std::int64_t frame = RandomRuns::kFirstRunFrame;
  play(frame - 1, nullptr);
  const EngineCounts onStats = engineCounts();
  std::printf("stats screen before the first run: %s, VmRSS %ld kB\n", describe(onStats).c_str(),
              residentKb());
  RandomRuns randomRuns(options.seed, kWindow);
  int failures = 0, verified = 0;
  for (int run = 1; run <= options.runs && failures == 0; ++run) {
    std::string text, error;
    const std::int64_t next = randomRuns.appendRun(frame, text);
    std::istringstream in(text);
    auto script = InputScript::parse(in, "run " + std::to_string(run), error);
    if (!script) {
      std::fprintf(stderr, "aloft-soak: bad script: %s\n", error.c_str());
      return 1;
    }
    if (const int landings = play(next - 1, &*script); landings != 1) {
      std::fprintf(stderr, "run %d (frames from %lld): %d landings instead of 1\n", run,
                   static_cast<long long>(frame), landings);
      ++failures;
    }
    frame = next;
    for (const std::string& mode : std::exchange(keptModes, {})) {
      if (options.game.empty()) break;
      const std::string replay = bestReplayPath(prefs, mode);
      if (runProgram(options.game, {"--verify", replay}).exitStatus != 0) {
        std::fprintf(stderr, "run %d: its kept best run %s does not verify\n", run, replay.c_str());
        ++failures;
      } else {
        ++verified;
      }
    }
    const EngineCounts after = engineCounts();
    if (!(after == onStats)) {
      std::fprintf(stderr, "run %d: the engine holds %s after it, %s before the first run\n",
                   run, describe(after).c_str(), describe(onStats).c_str());
      ++failures;
    }
    if (run == 1 || run % options.reportEvery == 0 || run == options.runs) {
      std::printf("run %d, frame %lld: %s, VmRSS %ld kB\n", run, static_cast<long long>(frame),
                  describe(after).c_str(), residentKb());
      std::fflush(stdout);
    }
  }
  if (!options.game.empty()) std::printf("%d kept best runs verified\n", verified);
  return failures;
}

// The runs as a script for a window of `size`: `options.runs` of them, or with `until` as many
// as start before that frame.
int printScript(const Options& options, std::int64_t until, platform::Size size) {
  RandomRuns runs(options.seed, size);
  std::string script = "# random whole runs, seed " + std::to_string(options.seed) + "\n";
  int count = 0;
  std::int64_t frame = RandomRuns::kFirstRunFrame;
  while (until > 0 ? frame < until : count < options.runs) {
    frame = runs.appendRun(frame, script);
    ++count;
  }
  std::cout << script;
  std::cerr << count << " runs, over by frame " << frame << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Whole runs of the game in one process, with the engine's counts checked"};
  Options options;
  app.add_option("--runs", options.runs, "Number of runs")->check(CLI::PositiveNumber);
  app.add_option("--seed", options.seed, "Seed of the random input");
  app.add_option("--report-every", options.reportEvery, "Print a line every this many runs")
      ->check(CLI::PositiveNumber);
  app.add_option("--verify-with", options.game, "Verify each best run kept with this game binary");
  bool script = false;
  std::int64_t until = 0;
  platform::Size size{480, 320};
  app.add_flag("--print-script", script, "Print the runs as a script instead of playing them");
  app.add_option("--until", until, "With --print-script: the runs that start before this frame")
      ->check(CLI::PositiveNumber);
  app.add_option("--width", size.width, "With --print-script: the window's width in points (3 : 2)")
      ->check(CLI::Range(3, 10000));
  app.add_option("--height", size.height, "With --print-script: the window's height in points")
      ->check(CLI::Range(2, 10000));
  CLI11_PARSE(app, argc, argv);
  if (script) return printScript(options, until, size);

  const ScratchDirectory directory{"soak"};
  chart::Preferences::open(directory / "preferences.json");
  chart::Data::share().setResourcePath(
      findResourceFolder(resourceFolderCandidates(platform::executableDirectory())));
  std::string error;
  auto window = platform::Window::open({"aloft soak", kWindow, true}, error);
  if (!window) {
    std::fprintf(stderr, "aloft-soak: no window: %s\n", error.c_str());
    return 1;
  }
  const int failures = playRuns(options, *window, directory / "preferences.json");
  window.reset();
  return failures == 0 ? 0 : 1;
}
