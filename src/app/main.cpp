// The program entry: reads the command line, opens the window and runs the game.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <variant>

#include "app/best_times.h"
#include "app/chart_graph_command.h"
#include "app/command_line.h"
#include "app/input_script.h"
#include "app/opengl_view.h"
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

std::unique_ptr<platform::Clock> makeClock(const Options& options) {
  if (options.fixedStep) return std::make_unique<platform::FixedStepClock>(*options.fixedStep);
  return std::make_unique<platform::MonotonicClock>(kFrameInterval);
}

}  // namespace

int main(int argc, char** argv) {
  auto parsed = parseCommandLine(argc, argv);
  if (const int* status = std::get_if<int>(&parsed)) return *status;
  const Options& options = std::get<Options>(parsed);
  if (!options.chartGraph.empty()) {
    return printChartGraph(options.chartGraph, options.counts, std::cout, std::cerr);
  }

  // A bad script is a bad argument: reported before any window opens.
  std::optional<InputScript> script;
  if (!options.script.empty()) {
    std::string error;
    script = InputScript::load(options.script, error);
    if (!script) {
      std::fprintf(stderr, "aloft: %s\n", error.c_str());
      return kExitUsage;
    }
  }

  // Opened now so that a path that cannot be written is a bad argument, not a lost run.
  std::ofstream countsFile;
  if (!options.countNodes.empty()) {
    countsFile.open(options.countNodes);
    if (!countsFile) {
      std::fprintf(stderr, "aloft: --count-nodes: cannot write %s: %s\n",
                   options.countNodes.c_str(), std::strerror(errno));
      return kExitUsage;
    }
  }

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
  chart::Preferences::open(options.prefs);
  setAsideUnusableBestTimes(chart::Preferences::share());
  // Charts read the trace setting when they are made: before the root chart exists.
  for (const std::string& chartName : options.trace) chart::enableTrace(chartName);

  std::string error;
  auto window = platform::Window::open({"Aloft", options.size, options.headless}, error);
  if (!window) KivAlert::share().setQuitAlert("The game's window could not be opened: " + error);
  const platform::GLVersion version = platform::currentGLVersion();
  checkOpenGLVersion(version.major, version.minor);

  auto clock = makeClock(options);
  OpenGLView view(*window, *clock, makeStartChart(countsFile.is_open()));
  view.awakeFromNib();
  if (options.fullscreen) view.setFullScreen(true);

  RunSettings settings;
  settings.frameLimit = options.frames;
  settings.script = script ? &*script : nullptr;
  settings.screenshotPath = options.screenshot;
  const int status = runFrames(view, *window, *clock, settings);
  if (countsFile.is_open()) {
    view.rootChart().nodeCounts()->write(countsFile);
    countsFile.close();
    if (!countsFile) {
      KivAlert::share().setQuitAlert("The node counts could not be written to " +
                                     options.countNodes + ".");
    }
  }
  return status;
}
