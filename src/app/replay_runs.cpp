#include "app/replay_runs.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/best_times.h"
#include "chart/data.h"
#include "app/replay_player.h"
#include "app/run_start_state.h"
#include "app/session_recorder.h"
#include "app/verify.h"
#include "chart/atomic_file.h"
#include "chart/preferences.h"
#include "engine/kiv_alert.h"

namespace {

std::string replayPath(const Options& options) {
  if (!options.replayBest.empty()) {
    return bestReplayPath(preferencesPath(options), options.replayBest);
  }
  return !options.replay.empty() ? options.replay : options.verify;
}

}  // namespace

std::string preferencesPath(const Options& options) {
  if (!options.prefs.empty()) return options.prefs;
  const char* home = std::getenv("HOME");
  const passwd* user = home != nullptr && home[0] != '\0' ? nullptr : getpwuid(getuid());
  return chart::Preferences::defaultPath(std::getenv("XDG_DATA_HOME"),
                                         user != nullptr ? user->pw_dir : home ? home : ".");
}

std::optional<Replay> chosenReplay(const Options& options, bool& failed) {
  const std::string path = replayPath(options);
  if (path.empty()) return std::nullopt;
  std::string error;
  auto replay = loadReplay(path, error);
  if (!replay) {
    std::fprintf(stderr, "aloft: %s\n", error.c_str());
    failed = true;
  }
  return replay;
}

bool prepareReplay(const Replay& replay, const Options& options, const std::string& digest) {
  if (replay.resourceDigest != digest) {
    std::fprintf(stderr, "aloft: %s:%d: the replay was recorded with other resource files "
                 "(digest %s; these are %s)\n", replayPath(options).c_str(),
                 replay.resourcesLine, replay.resourceDigest.c_str(), digest.c_str());
    return false;
  }
  // A replay reads the preferences it was recorded with and writes none. The recording set
  // unusable best times aside before it began, so one here is damage.
  const auto preferences = nlohmann::json::parse(replay.preferences);
  for (const char* mode : {"Easy", "Hard"}) {
    if (preferences.contains(mode) && !isUsableBestTime(preferences[mode])) {
      std::fprintf(stderr, "aloft: %s:%d: the best time under \"%s\" is not six digits\n",
                   replayPath(options).c_str(), replay.preferencesLine, mode);
      return false;
    }
  }
  chart::Preferences::openInMemory(preferences);
  return true;
}

int playReplay(const Replay& replay, const Options& options, OpenGLView& view,
               platform::Window& window, platform::Clock& clock, platform::MonotonicClock* pace,
               RunSettings settings) {
  const bool verifying = !options.verify.empty();
  std::vector<StoredTime> stored;
  chart::Preferences::share().setSaveListener(
      [&stored](std::string_view key, const nlohmann::json* value) {
        if (value != nullptr) stored.push_back({std::string(key), bestTimeText(*value)});
      });
  RunStartState runStart(Data::share().globalVariableDictionary());
  ReplayPlayer player(replay, view.rootChart(), runStart, pace);
  view.setFrameInputTap(&player);
  settings.replay = &player;
  settings.holdAfterReplay = !options.headless && !verifying;
  const int status = runFrames(view, window, clock, settings);
  view.setFrameInputTap(nullptr);
  if (!verifying) return status;
  return reportVerification(replay, !player.startFailed(), stored, std::cout);
}

int playRecorded(const Options& options, const std::string& digest, OpenGLView& view,
                 platform::Window& window, platform::Clock& clock, const RunSettings& settings) {
  chart::Preferences& preferences = chart::Preferences::share();
  Replay header;
  header.gameVersion = ALOFT_VERSION;
  header.window = options.size;
  header.resourceDigest = digest;
  header.preferences = preferences.valuesText();
  RunStartState runStart(Data::share().globalVariableDictionary());
  SessionRecorder recorder(header, !options.record.empty(), runStart, preferences.path());
  preferences.setSaveListener([&recorder](std::string_view key, const nlohmann::json* value) {
    recorder.saved(key, value);
  });
  view.setFrameInputTap(&recorder);
  const int status = runFrames(view, window, clock, settings);
  view.setFrameInputTap(nullptr);
  preferences.setSaveListener(nullptr);
  if (options.record.empty()) return status;
  const std::string contents = formatReplay(recorder.session());
  if (const int error =
          chart::writeFileAtomically(options.record, contents, chart::KeepBackup::No)) {
    KivAlert::share().setQuitAlert("The replay of the session could not be saved to " +
                                   options.record + ": " + std::strerror(error));
  }
  return status;
}
