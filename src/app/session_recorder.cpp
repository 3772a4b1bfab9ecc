#include "app/session_recorder.h"

#include <cctype>
#include <cmath>
#include <nlohmann/json.hpp>

#include "app/best_times.h"
#include "chart/preferences.h"
#include "platform/files.h"

namespace {

std::string lowercase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

}  // namespace

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
  const std::string mode = lowercase(key);
  if ((mode != "hard" && mode != "easy") || value == nullptr || !runStart) return;
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

std::string bestReplayPath(const std::string& preferencesPath, std::string_view mode) {
  return platform::parentFolder(preferencesPath) + "/best-" + lowercase(mode) + ".replay";
}

std::string bestTimeText(const nlohmann::json& value) {
  if (!isUsableBestTime(value)) return {};
  std::string text;
  for (int at = 0; at < 6; ++at) {
    const double digit = value[std::size_t(at)].get<double>();
    if (!(digit >= 0 && digit <= 9) || digit != std::floor(digit)) return {};
    if (at == 2) text += ':';
    if (at == 4) text += '.';
    text += char('0' + int(digit));
  }
  return text;
}
