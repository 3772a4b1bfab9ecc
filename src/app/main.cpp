// The program entry: reads the command line, opens the window and runs the game.
#include <cstdio>
#include <memory>
#include <variant>

#include "app/best_times.h"
#include "app/command_line.h"
#include "app/data.h"
#include "app/input_script.h"
#include "app/opengl_view.h"
#include "app/resource_folder.h"
#include "app/run_loop.h"
#include "app/startup_check.h"
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
  if (!window) {
    if (error == platform::kNoDisplayError) KivAlert::share().setQuitAlert(error);
    KivAlert::share().setQuitAlert("The game's window could not be opened: " + error);
  }
  const platform::GLVersion version = platform::currentGLVersion();
  checkOpenGLVersion(version.major, version.minor);

  auto clock = makeClock(options);
  OpenGLView view(*window, *clock, makeStartChart());
  view.awakeFromNib();
  view.volume().startWith(options.volume, options.mute);
  if (options.fullscreen) view.setFullScreen(true);

  RunSettings settings;
  settings.frameLimit = options.frames;
  settings.script = script ? &*script : nullptr;
  settings.screenshotPath = options.screenshot;
  return runFrames(view, *window, *clock, settings);
}
