#include "app/session_recorder.h"

#include <cstring>
#include <nlohmann/json.hpp>

#include "app/best_times.h"
#include "chart/atomic_file.h"
#include "engine/kiv_alert.h"

SessionRecorder::SessionRecorder(Replay sessionHeader, bool wholeSession, RunStartState& state,
                                 std::string preferenceFile)
    : header(std::move(sessionHeader)),
      keepSession(wholeSession),
      start(state),
      preferencesPath(std::move(preferenceFile)) {}

void SessionRecorder::frameInput(std::int64_t frame, FrameInput& input) {
  if (!start.modeChosen()) {
    runStart.reset();
  } else if (!runStart) {
    // The first frame after the choice: the charts stand as the run starts from.
    if (!keepSession) {
      recorder.clear();
      firstKeptFrame = frame;
    }
    runStart = std::size_t(frame - firstKeptFrame);
    runMode = start.chosenMode();
    runState = start.cameraCells();
  }
  if (!keepSession && !runStart) {
    recorder.clear();
    firstKeptFrame = frame;
  }
  recorder.record(input);
}

void SessionRecorder::saved(std::string_view key, const nlohmann::json* value) {
  if (!isBestTimeKey(key) || value == nullptr || !runStart) return;
  const std::string time = bestTimeText(*value);
  if (time.empty()) return;
  Replay best = header;
  best.preferences = "{}";  // the run's own time is then saved however it compares
  best.startMode = runMode;
  best.startState = runState;
  best.claimKey = std::string(key);
  best.claimTime = time;
  best.frames = recorder.copy(*runStart, recorder.size());
  const std::string path = bestReplayPath(preferencesPath, key);
  if (const int error = chart::writeFileAtomically(path, formatReplay(best), chart::KeepBackup::No)) {
    KivAlert::share().setQuitAlert("The replay of the best run " + path +
                                   " could not be saved: " + std::strerror(error));
  }
}

Replay SessionRecorder::session() const {
  Replay session = header;
  session.frames = recorder.copy(0, recorder.size());
  return session;
}
