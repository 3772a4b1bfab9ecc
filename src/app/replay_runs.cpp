#include "app/replay_runs.h"

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
#include "chart/preferences.h"
#include "engine/kiv_alert.h"
#include "platform/files.h"

namespace {

std::string replayPath(const Options& options) {
  if (!options.replayBest.empty()) {
    std::string unused;
    return bestReplayPath(chart::Preferences::chooseFile(options.prefs, unused),
                          options.replayBest);
  }
  return !options.replay.empty() ? options.replay : options.verify;
}

// The session's replay, written on the way out: after the last frame, or from the fatal alert.
bool writeSession(const std::string& path, const SessionRecorder& recorder) {
  const platform::FileError failed = platform::writeFileAtomically(
      path, formatReplay(recorder.session()), platform::KeepBackup::No);
  if (failed) {
    std::fprintf(stderr, "aloft: the replay of the session could not be saved: %s\n",
                 failed.describe().c_str());
  }
  return !failed;
}

}  // namespace

std::string preferencesPath(const Options& options) {
  // A link the player made is followed, as the game follows it: the kept replays are beside
  // the file it points at.
  if (!options.prefs.empty()) return platform::followLinks(options.prefs);
  return platform::followLinks(
      chart::Preferences::defaultPath(std::getenv("XDG_DATA_HOME"), platform::homeFolder()));
}

std::optional<Replay> chosenReplay(const Options& options, bool& failed) {
  const std::string path = replayPath(options);
  if (path.empty()) return std::nullopt;
  std::string error;
  if (!options.replayBest.empty() && platform::kindOf(path) == platform::FileKind::Missing) {
    std::fprintf(stderr, "aloft: no best %s run is kept yet (%s); play one first\n",
                 options.replayBest.c_str(), path.c_str());
    failed = true;
    return std::nullopt;
  }
  // Never opened blocking unless it is a regular file: a named pipe would hang the start.
  if (const platform::FileError unreadable = platform::checkRegularFile(path)) {
    std::fprintf(stderr, "aloft: %s: cannot be read: %s\n", path.c_str(),
                 unreadable.reason().c_str());
    failed = true;
    return std::nullopt;
  }
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
  for (const auto& [key, value] : preferences.items()) {
    if (isUnusableBestTime(key, value)) {
      std::fprintf(stderr, "aloft: %s:%d: the best time under \"%s\" is not six digits\n",
                   replayPath(options).c_str(), replay.preferencesLine, key.c_str());
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
  RunStartState runStart(chart::Data::share().globalVariableDictionary());
  ReplayPlayer player(replay, view.rootChart(), runStart, view.polygons(), pace);
  if (verifying && !window.exists()) {
    // Without a window every frame can have the drawing area it was recorded with: the pointer
    // is then where it was, and picking exactly what it was.
    player.followRecordedSize([&window, &view](platform::Size size) {
      window.setDrawableSize(size);
      view.reshape();
    });
  }
  if (verifying) {
    // Once the claimed run has stored its time, the rest of the file is not played.
    chart::Preferences::share().setSaveListener(
        [&stored, &player, &replay](std::string_view key, const nlohmann::json* value) {
          if (value == nullptr) return;
          stored.push_back({std::string(key), bestTimeText(*value)});
          if (replay.isBestRun() && key == replay.claimKey) player.stopAfterThisFrame();
        });
  }
  view.setFrameInputTap(&player);
  settings.replay = &player;
  settings.holdAfterReplay = !options.headless && !verifying;
  if (!verifying) view.showAsReplay();
  runFrames(view, window, clock, settings);
  view.setFrameInputTap(nullptr);
  if (!verifying) return 0;
  return reportVerification(replay, !player.startFailed(), stored, std::cout);
}

int playRecorded(const Options& options, const std::string& digest, OpenGLView& view,
                  platform::Window& window, platform::Clock& clock, const RunSettings& settings) {
  chart::Preferences& preferences = chart::Preferences::share();
  Replay header;
  header.gameVersion = ALOFT_VERSION;
  // The window as it opened: the screen may have held less than --size asked for.
  header.window = window.sizeInPoints();
  header.resourceDigest = digest;
  header.preferences = preferences.valuesText();
  RunStartState runStart(chart::Data::share().globalVariableDictionary());
  SessionRecorder recorder(header, !options.record.empty(), runStart, preferences);
  preferences.setSaveListener([&recorder](std::string_view key, const nlohmann::json* value) {
    recorder.saved(key, value);
  });
  preferences.setSettledListener(
      [&recorder](std::string_view key, bool written) { recorder.settled(key, written); });
  // Whatever ends the game, nothing kept in memory is left unwritten.
  const auto wayOut = [&]() {
    preferences.writeWaiting(chart::kExitLockWait);
    recorder.writeUnwritten();
    return options.record.empty() || writeSession(options.record, recorder);
  };
  engine::KivAlert::share().setBeforeExit(wayOut);
  view.setFrameInputTap(&recorder);
  runFrames(view, window, clock, settings);
  view.setFrameInputTap(nullptr);
  engine::KivAlert::share().setBeforeExit(nullptr);
  const bool written = wayOut();
  preferences.setSaveListener(nullptr);
  preferences.setSettledListener(nullptr);
  return written ? 0 : 1;
}
