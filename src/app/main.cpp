// The program entry: reads the command line, opens the window and runs the game.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <pwd.h>
#include <unistd.h>
#include <variant>

#include "app/atomic_file.h"
#include "app/best_times.h"
#include "app/command_line.h"
#include "app/data.h"
#include "app/input_script.h"
#include "app/opengl_view.h"
#include "app/replay_file.h"
#include "app/replay_player.h"
#include "app/resource_digest.h"
#include "app/resource_folder.h"
#include "app/run_loop.h"
#include "app/run_start_state.h"
#include "app/session_recorder.h"
#include "app/startup_check.h"
#include "app/verify.h"
#include "chart/preferences.h"
#include "chart/trace.h"
#include "engine/kiv_alert.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/window.h"

namespace {

constexpr double kFrameInterval = 0.01;

std::unique_ptr<platform::Clock> makeClock(const Options& options) {
  // Verifying runs back to back: the recorded lengths are what the charts see.
  if (!options.verify.empty()) return std::make_unique<platform::FixedStepClock>(kFrameInterval);
  if (options.fixedStep) return std::make_unique<platform::FixedStepClock>(*options.fixedStep);
  return std::make_unique<platform::MonotonicClock>(kFrameInterval);
}

std::string preferencesPath(const Options& options) {
  if (!options.prefs.empty()) return options.prefs;
  const char* home = std::getenv("HOME");
  const passwd* user = home != nullptr && home[0] != '\0' ? nullptr : getpwuid(getuid());
  return chart::Preferences::defaultPath(std::getenv("XDG_DATA_HOME"),
                                         user != nullptr ? user->pw_dir : home ? home : ".");
}

// The replay the options name, if any. On a file that cannot be used: null, with `failed` set.
std::optional<Replay> chosenReplay(const Options& options, bool& failed) {
  std::string path = !options.replay.empty() ? options.replay : options.verify;
  if (!options.replayBest.empty()) {
    path = bestReplayPath(preferencesPath(options), options.replayBest);
  }
  if (path.empty()) return std::nullopt;
  std::string error;
  auto replay = loadReplay(path, error);
  if (!replay) {
    std::fprintf(stderr, "aloft: %s\n", error.c_str());
    failed = true;
  }
  return replay;
}

}  // namespace

int main(int argc, char** argv) {
  auto parsed = parseCommandLine(argc, argv);
  if (const int* status = std::get_if<int>(&parsed)) return *status;
  Options options = std::get<Options>(parsed);

  // A bad script or replay is a bad argument: reported before any window opens.
  std::optional<InputScript> script;
  if (!options.script.empty()) {
    std::string error;
    script = InputScript::load(options.script, error);
    if (!script) {
      std::fprintf(stderr, "aloft: %s\n", error.c_str());
      return kExitUsage;
    }
  }
  bool badReplay = false;
  const std::optional<Replay> replay = chosenReplay(options, badReplay);
  if (badReplay) return kExitUsage;
  const bool verifying = !options.verify.empty();

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
  const std::string digest = resourceDigest(resources + "/kivResources");
  if (replay) {
    if (replay->resourceDigest != digest) {
      std::fprintf(stderr, "aloft: %s:%d: the replay was recorded with other resource files "
                   "(digest %s; these are %s)\n", (options.replay + options.verify).c_str(),
                   replay->resourcesLine, replay->resourceDigest.c_str(), digest.c_str());
      return kExitUsage;
    }
    // A replay reads the preferences it was recorded with and writes none.
    chart::Preferences::openInMemory(nlohmann::json::parse(replay->preferences));
    setAsideUnusableBestTimes(chart::Preferences::share());
    options.size = replay->window;
  } else {
    chart::Preferences::open(options.prefs);
    setAsideUnusableBestTimes(chart::Preferences::share());
  }
  // Charts read the trace setting when they are made: before the root chart exists.
  for (const std::string& chartName : options.trace) chart::enableTrace(chartName);

  std::string error;
  auto window =
      platform::Window::open({"Aloft", options.size, options.headless || verifying}, error);
  if (!window) KivAlert::share().setQuitAlert("The game's window could not be opened: " + error);
  const platform::GLVersion version = platform::currentGLVersion();
  checkOpenGLVersion(version.major, version.minor);

  // A replay watched in the window keeps its recorded pace on the real clock.
  platform::MonotonicClock* pace = nullptr;
  std::unique_ptr<platform::Clock> clock;
  if (replay && !verifying && !options.fixedStep) {
    auto monotonic = std::make_unique<platform::MonotonicClock>(kFrameInterval);
    pace = monotonic.get();
    clock = std::move(monotonic);
  } else {
    clock = makeClock(options);
  }
  OpenGLView view(*window, *clock, makeStartChart());
  view.awakeFromNib();
  if (options.fullscreen) view.setFullScreen(true);
  RunStartState runStart(Data::share().globalVariableDictionary());

  RunSettings settings;
  settings.frameLimit = options.frames;
  settings.script = script ? &*script : nullptr;
  settings.screenshotPath = options.screenshot;

  if (replay) {
    std::vector<StoredTime> stored;
    chart::Preferences::share().setSaveListener(
        [&stored](std::string_view key, const nlohmann::json* value) {
          if (value != nullptr) stored.push_back({std::string(key), bestTimeText(*value)});
        });
    ReplayPlayer player(*replay, view.rootChart(), runStart, pace);
    view.setFrameInputTap(&player);
    settings.replay = &player;
    settings.holdAfterReplay = !options.headless && !verifying;
    const int status = runFrames(view, *window, *clock, settings);
    if (!verifying) return status;
    return reportVerification(*replay, !player.startFailed(), stored, std::cout);
  }

  Replay header;
  header.gameVersion = ALOFT_VERSION;
  header.window = options.size;
  header.resourceDigest = digest;
  header.preferences = chart::Preferences::share().valuesText();
  SessionRecorder recorder(header, !options.record.empty(), runStart,
                           chart::Preferences::share().path());
  chart::Preferences::share().setSaveListener(
      [&recorder](std::string_view key, const nlohmann::json* value) {
        recorder.saved(key, value);
      });
  view.setFrameInputTap(&recorder);
  const int status = runFrames(view, *window, *clock, settings);
  if (!options.record.empty() &&
      !writeFileAtomically(options.record, formatReplay(recorder.session()), error)) {
    KivAlert::share().setQuitAlert("The replay of the session could not be saved: " + error);
  }
  return status;
}
