// Records the session as it plays, through the view's frame input tap, and keeps the replay of
// every run that stores a new best time.
//
// A run starts in the frame after its mode was chosen; its frames are kept from there, with the
// state it starts from (see run_start_state.h). When the charts save a best time under "Hard" or
// "Easy" while a run is kept, that run's replay, ending with the saving frame, replaces
// `best-hard.replay` or `best-easy.replay` beside the preference file. The replay is written right
// after the preference file, under the preference store's lock; while the time waits in memory,
// so does its replay, and a time the file then held a better one for is dropped with it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "app/frame_input_tap.h"
#include "app/replay_recorder.h"
#include "app/run_start_state.h"

namespace chart {
class Preferences;
}

class SessionRecorder final : public FrameInputTap {
 public:
  // `sessionHeader` holds what every replay of this session starts with (game, window,
  // resources, the preferences read at the start). With `wholeSession` every frame is kept for
  // `session`; without, only the frames of the current run. Best runs go beside
  // `preferenceFile`.
  SessionRecorder(Replay sessionHeader, bool wholeSession, RunStartState& state,
                  chart::Preferences& store);

  void frameInput(std::int64_t frame, FrameInput& input) override;

  // The preference store's save and settled listeners.
  void saved(std::string_view key, const nlohmann::json* value);
  void settled(std::string_view key, bool written);
  // Writes the replays of best times already in the file that could not be written yet.
  void writeUnwritten();

  // The whole session as a replay (with `keepSession`).
  Replay session() const;

 private:
  Replay header;
  bool keepSession;
  RunStartState& start;
  chart::Preferences& preferences;
  ReplayRecorder recorder;
  // The replay of each best time saved, by file, until the time is settled.
  std::map<std::string, std::string, std::less<>> waitingReplays;
  // Replays whose time is in the file but which could not be written yet.
  std::map<std::string, std::string> unwritten;
  std::int64_t firstKeptFrame = 1;
  // The run being played: where its frames start in the recorder, and what it starts from.
  std::optional<std::size_t> runStart;
  std::string runMode;
  std::vector<CellState> runState;
};
