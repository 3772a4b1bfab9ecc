#include "app/game_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <variant>

#include "app/best_times.h"
#include "app/flight_log.h"
#include "app/input_script.h"
#include "app/opengl_view.h"
#include "app/overlay_layout.h"
#include "app/replay_runs.h"
#include "app/resource_digest.h"
#include "app/resource_folder.h"
#include "app/run_loop.h"
#include "app/startup_check.h"
#include "app/verify.h"
#include "app/window_icon.h"
#include "charts/game_charts.h"
#include "chart/data.h"
#include "chart/preferences.h"
#include "chart/registry.h"
#include "chart/trace.h"
#include "engine/drawing.h"
#include "engine/kiv_audio.h"
#include "engine/kiv_alert.h"
#include "engine/kiv_polygons.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/window.h"

namespace {

constexpr double kFrameInterval = 0.01;

// What the command line names to read before any window opens.
struct StartFiles {
  std::optional<InputScript> script;
  std::optional<Replay> replay;
  std::ofstream countsFile;
  std::unique_ptr<FlightLog> flight;
};

// What in the options can only be checked against the system: the files to be written, the
// preference file, the charts to trace. Empty when all is well, else the first problem. A link
// the player made at the preference file or the recording is followed now, once.
std::string checkAgainstTheSystem(Options& options) {
  if (!options.record.empty()) options.record = platform::followLinks(options.record);
  const std::pair<const char*, const std::string&> written[] = {
      {"--record", options.record}, {"--screenshot", options.screenshot}};
  for (const auto& [option, path] : written) {
    if (path.empty()) continue;
    if (const platform::FileError cannot = platform::checkWritable(path)) {
      return std::string(option) + ": cannot write " + cannot.describe();
    }
  }
  if (options.replay.empty() && options.verify.empty() && options.replayBest.empty()) {
    std::string problem;
    options.prefs = chart::Preferences::chooseFile(options.prefs, problem);
    if (options.prefs.empty()) return problem;
  }
  const chart::Registry registry(gameCharts());
  for (const std::string& chartName : options.trace) {
    if (!registry.find(chartName)) return "--trace: there is no chart \"" + chartName + "\"";
  }
  return {};
}

// Reads the script and the replay and opens the node counts file. A bad one is a bad argument,
// reported before any window opens: returns false after saying why.
bool readStartFiles(const Options& options, StartFiles& files) {
  if (!options.script.empty()) {
    std::string error;
    files.script = InputScript::load(options.script, error);
    if (!files.script) return refuseCommandLine(error) == 0;
  }
  bool badReplay = false;
  files.replay = chosenReplay(options, badReplay);
  if (badReplay) return false;
  // Opened now so that a path that cannot be written is a bad argument, not a lost run.
  if (!options.countNodes.empty()) {
    files.countsFile.open(options.countNodes);
    if (!files.countsFile) {
      refuseCommandLine("--count-nodes: cannot write " + options.countNodes + ": " +
                        std::strerror(errno));
      return false;
    }
  }
  if (!options.flight.empty()) {
    std::string error;
    files.flight = FlightLog::open(options.flight, error);
    if (!files.flight) return refuseCommandLine("--flight: " + error) == 0;
  }
  return true;
}

// Finds the folder holding kivResources (unless it was found before), or ends with the alert
// naming where it looked. Returns the digest of the resources, which a replay must match.
std::string useResourceFolder(const Options& options, const FoundResources* found) {
  if (found != nullptr) {
    chart::Data::share().setResourcePath(found->folder);
    return found->digest;
  }
  const auto candidates = resourceFolderCandidatesFor(options);
  const std::string resources = findResourceFolder(candidates);
  if (resources.empty()) {
    std::string looked;
    for (const auto& folder : candidates) looked += "\n  " + folder + "/kivResources";
    engine::KivAlert::share().setQuitAlert(
        "The game's pictures and sounds were not found. Looked in:" + looked);
  }
  chart::Data::share().setResourcePath(resources);
  return resourceDigest(resources + "/kivResources");
}

// Verifying needs no window: the charts run on the back end that draws nothing. One asked for a
// picture draws offscreen.
std::unique_ptr<platform::Window> openWindow(const Options& options, bool drawingNothing) {
  if (drawingNothing) return platform::Window::none(options.size);
  std::string error;
  const bool offscreen = options.headless || !options.verify.empty();
  auto window = platform::Window::open({"Aloft", options.size, offscreen,
                                         options.fullscreen, overlay_layout::kMinimumWindow},
                                        error);
  if (!window) {
    if (error == platform::kNoDisplayError) engine::KivAlert::share().setQuitAlert(error);
    engine::KivAlert::share().setQuitAlert("The game's window could not be opened: " + error);
  }
  const platform::GLVersion version = platform::currentGLVersion();
  checkOpenGLVersion(version.major, version.minor);
  setGameIcon(*window);
  return window;
}

// Verifying runs back to back: the recorded lengths are what the charts see. A replay watched
// in the window keeps its recorded pace on the real clock, through `pace`.
std::unique_ptr<platform::Clock> makeClock(const Options& options, bool watchingReplay,
                                           platform::MonotonicClock*& pace) {
  if (!options.verify.empty()) return std::make_unique<platform::FixedStepClock>(kFrameInterval);
  if (options.fixedStep) return std::make_unique<platform::FixedStepClock>(*options.fixedStep);
  auto clock = std::make_unique<platform::MonotonicClock>(kFrameInterval, kMaxFrameSeconds);
  if (watchingReplay) pace = clock.get();
  return clock;
}

void writeNodeCounts(const Options& options, OpenGLView& view, std::ofstream& countsFile) {
  view.rootChart().nodeCounts()->write(countsFile);
  countsFile.close();
  if (!countsFile) {
    engine::KivAlert::share().setQuitAlert("The node counts could not be written to " +
                                           options.countNodes + ".");
  }
}

// A save that failed is said on stderr by the store, and for a second over the picture.
void showSaveProblems(chart::Preferences& preferences, OpenGLView& view,
                      const platform::Clock& clock) {
  const auto note = [&view, &clock](const std::string& file) {
    view.volume().showNote("NOT SAVED: " + std::filesystem::path(file).filename().string(),
                           clock.now());
  };
  preferences.setProblemListener(note);
  // One said before the window opened, naming the file that failed then (the lock, say).
  if (!preferences.problem().empty()) note(preferences.problemFile());
}

}  // namespace

std::vector<std::string> resourceFolderCandidatesFor(const Options& options) {
  return options.resources.empty() ? resourceFolderCandidates(platform::executableDirectory())
                                   : std::vector<std::string>{options.resources};
}

int runGame(Options options, const FoundResources* found) {
  // A verify stopped by a signal ends at once, with the signal's own status and no verdict.
  if (options.verify.empty()) platform::catchQuitSignals();
  if (options.headless || !options.verify.empty()) platform::quietAlerts();
  if (const std::string problem = checkAgainstTheSystem(options); !problem.empty()) {
    return refuseCommandLine(problem);
  }
  StartFiles files;
  if (!readStartFiles(options, files)) return kExitUsage;
  const std::optional<Replay>& replay = files.replay;
  const bool verifying = !options.verify.empty();
  // A verdict needs no picture; a verify asked for its last picture draws, offscreen.
  const bool drawingNothing = verifying && options.screenshot.empty();
  if (verifying && replay) {
    if (const std::string refusal = verificationRefusal(*replay); !refusal.empty()) {
      std::fprintf(stderr, "aloft: %s: %s\n", options.verify.c_str(), refusal.c_str());
      return kExitUsage;
    }
    // No GL and no audio device: what the charts do is all a verdict needs.
    if (drawingNothing) engine::useNullDrawing();
    engine::KivAudio::useNoOutput();
  }

  const std::string digest = useResourceFolder(options, found);
  if (replay) {
    if (!prepareReplay(*replay, options, digest)) return kExitUsage;
    // A watched replay takes the player's --size; its pointer follows the picture.
    if (!options.sizeGiven || verifying) options.size = replay->window;
  } else {
    chart::Preferences::open(options.prefs);
    chart::Preferences::share().setAsideWhen(isUnusableBestTime);
    keepLongerStoredBestTimes(chart::Preferences::share());
  }
  // Charts read the trace setting when they are made: before the root chart exists.
  for (const std::string& chartName : options.trace) chart::enableTrace(chartName);

  auto window = openWindow(options, drawingNothing);
  platform::MonotonicClock* pace = nullptr;
  auto clock = makeClock(options, replay && !verifying, pace);
  OpenGLView view(*window, *clock, engine::KivPolygons::share(),
                  makeStartChart(files.countsFile.is_open()));
  view.showInFront();
  view.volume().startWith(options.volume, options.mute);
  if (options.fullscreen) view.setFullScreen(true);
  showSaveProblems(chart::Preferences::share(), view, *clock);

  RunSettings settings;
  settings.frameLimit = options.frames;
  settings.script = files.script ? &*files.script : nullptr;
  settings.screenshotPath = options.screenshot;
  settings.flight = files.flight.get();
  int status = 0;
  if (replay) {
    status = playReplay(*replay, options, view, *window, *clock, pace, settings);
  } else {
    status = playRecorded(options, digest, view, *window, *clock, settings);
  }
  if (files.countsFile.is_open()) writeNodeCounts(options, view, files.countsFile);
  if (files.flight && !files.flight->finish()) {
    engine::KivAlert::share().setQuitAlert("The flight could not be written to " + options.flight +
                                           ".");
  }
  // Ended by a signal: the status a shell expects of it.
  return platform::quitSignal() != 0 ? 128 + platform::quitSignal() : status;
}
