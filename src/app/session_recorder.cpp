#include "app/session_recorder.h"

#include <nlohmann/json.hpp>

#include "app/best_times.h"
#include "chart/preferences.h"
#include "platform/files.h"

SessionRecorder::SessionRecorder(Replay sessionHeader, bool wholeSession, RunStartState& state,
                                 chart::Preferences& store)
    : header(std::move(sessionHeader)),
      keepSession(wholeSession),
      start(state),
      preferences(store) {}

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
  waitingReplays[std::string(key)] = formatReplay(best);
}

void SessionRecorder::settled(std::string_view key, bool written) {
  const auto waiting = waitingReplays.find(key);
  if (waiting == waitingReplays.end()) return;
  if (written) unwritten[bestReplayPath(preferences.path(), key)] = std::move(waiting->second);
  waitingReplays.erase(waiting);
  // Under the lock: the earlier replays that failed are tried again with this one.
  writeUnwritten();
}

void SessionRecorder::writeUnwritten() {
  for (auto replay = unwritten.begin(); replay != unwritten.end();) {
    const platform::FileError failed =
        platform::writeFileAtomically(replay->first, replay->second, platform::KeepBackup::No);
    if (failed) {
      preferences.report(failed);
      ++replay;
    } else {
      replay = unwritten.erase(replay);
    }
  }
}

Replay SessionRecorder::session() const {
  Replay session = header;
  session.frames = recorder.copy(0, recorder.size());
  return session;
}
