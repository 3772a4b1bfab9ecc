// The program entry: reads the command line, opens the window and runs the game.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <variant>

#include "app/best_times.h"
#include "app/board_client.h"
#include "app/chart_graph_command.h"
#include "app/command_line.h"
#include "app/input_script.h"
#include "app/opengl_view.h"
#include "app/replay_runs.h"
#include "app/resource_digest.h"
#include "app/resource_folder.h"
#include "app/run_loop.h"
#include "app/startup_check.h"
#include "chart/data.h"
#include "chart/preferences.h"
#include "chart/trace.h"
#include "engine/kiv_alert.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/window.h"

namespace {

constexpr double kFrameInterval = 0.01;

// What the command line names to read before any window opens.
struct StartFiles {
  std::optional<InputScript> script;
  std::optional<Replay> replay;
  std::ofstream countsFile;
};

// Reads the script and the replay and opens the node counts file. A bad one is a bad argument,
// reported before any window opens: returns false after saying why.
bool readStartFiles(const Options& options, StartFiles& files) {
  if (!options.script.empty()) {
    std::string error;
    files.script = InputScript::load(options.script, error);
    if (!files.script) {
      std::fprintf(stderr, "aloft: %s\n", error.c_str());
      return false;
    }
  }
  bool badReplay = false;
  files.replay = chosenReplay(options, badReplay);
  if (badReplay) return false;
  // Opened now so that a path that cannot be written is a bad argument, not a lost run.
  if (!options.countNodes.empty()) {
    files.countsFile.open(options.countNodes);
    if (!files.countsFile) {
      std::fprintf(stderr, "aloft: --count-nodes: cannot write %s: %s\n",
                   options.countNodes.c_str(), std::strerror(errno));
      return false;
    }
  }
  return true;
}

// Finds the folder holding kivResources, or ends with the alert naming where it looked. Returns
// the digest of the resources, which a replay must match.
std::string useResourceFolder(const Options& options) {
  const auto candidates = options.resources.empty()
                              ? resourceFolderCandidates(platform::executableDirectory())
                              : std::vector<std::string>{options.resources};
  const std::string resources = findResourceFolder(candidates);
  if (resources.empty()) {
    std::string looked;
    for (const auto& folder : candidates) looked += "\n  " + folder + "/kivResources";
    KivAlert::share().setQuitAlert("The game's pictures and sounds were not found. Looked in:" +
                                   looked);
  }
  Data::share().setResourcePath(resources);
  return resourceDigest(resources + "/kivResources");
}

std::unique_ptr<platform::Window> openWindow(const Options& options, bool verifying) {
  std::string error;
  auto window =
      platform::Window::open({"Aloft", options.size, options.headless || verifying}, error);
  if (!window) {
    if (error == platform::kNoDisplayError) KivAlert::share().setQuitAlert(error);
    KivAlert::share().setQuitAlert("The game's window could not be opened: " + error);
  }
  const platform::GLVersion version = platform::currentGLVersion();
  checkOpenGLVersion(version.major, version.minor);
  return window;
}

// Verifying runs back to back: the recorded lengths are what the charts see. A replay watched
// in the window keeps its recorded pace on the real clock, through `pace`.
std::unique_ptr<platform::Clock> makeClock(const Options& options, bool watchingReplay,
                                           platform::MonotonicClock*& pace) {
  if (!options.verify.empty()) return std::make_unique<platform::FixedStepClock>(kFrameInterval);
  if (options.fixedStep) return std::make_unique<platform::FixedStepClock>(*options.fixedStep);
  auto clock = std::make_unique<platform::MonotonicClock>(kFrameInterval);
  if (watchingReplay) pace = clock.get();
  return clock;
}

void writeNodeCounts(const Options& options, OpenGLView& view, std::ofstream& countsFile) {
  view.rootChart().nodeCounts()->write(countsFile);
  countsFile.close();
  if (!countsFile) {
    KivAlert::share().setQuitAlert("The node counts could not be written to " +
                                   options.countNodes + ".");
  }
}

}  // namespace

int main(int argc, char** argv) {
  auto parsed = parseCommandLine(argc, argv);
  if (const int* status = std::get_if<int>(&parsed)) return *status;
  Options options = std::get<Options>(parsed);
  if (options.boardCommand.active()) {
    return runBoardCommand(options.boardCommand, preferencesPath(options), std::cout, std::cerr);
  }
  if (!options.chartGraph.empty()) {
    return printChartGraph(options.chartGraph, options.counts, std::cout, std::cerr);
  }
  StartFiles files;
  if (!readStartFiles(options, files)) return kExitUsage;
  const std::optional<Replay>& replay = files.replay;
  const bool verifying = !options.verify.empty();

  const std::string digest = useResourceFolder(options);
  if (replay) {
    if (!prepareReplay(*replay, options, digest)) return kExitUsage;
    options.size = replay->window;
  } else {
    chart::Preferences::open(options.prefs);
    setAsideUnusableBestTimes(chart::Preferences::share());
  }
  // Charts read the trace setting when they are made: before the root chart exists.
  for (const std::string& chartName : options.trace) chart::enableTrace(chartName);

  auto window = openWindow(options, verifying);
  platform::MonotonicClock* pace = nullptr;
  auto clock = makeClock(options, replay && !verifying, pace);
  OpenGLView view(*window, *clock, makeStartChart(files.countsFile.is_open()));
  view.awakeFromNib();
  view.volume().startWith(options.volume, options.mute);
  if (options.fullscreen) view.setFullScreen(true);

  RunSettings settings;
  settings.frameLimit = options.frames;
  settings.script = files.script ? &*files.script : nullptr;
  settings.screenshotPath = options.screenshot;
  const int status = replay ? playReplay(*replay, options, view, *window, *clock, pace, settings)
                            : playRecorded(options, digest, view, *window, *clock, settings);
  if (files.countsFile.is_open()) writeNodeCounts(options, view, files.countsFile);
  return status;
}
