// Records the session as it plays, through the view's frame input tap, and keeps the replay of
// every run that stores a new best time.
//
// A run starts in the frame after its mode was chosen; its frames are kept from there, with the
// state it starts from (see run_start_state.h). When the charts save a best time under "Hard" or
// "Easy" while a run is kept, that run's replay, ending with the saving frame, replaces
// `best-hard.replay` or `best-easy.replay` beside the preference file. The save and the replay are
// written in the same frame, the replay right after the preference file, so both are written
// under the preference store's lock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "app/frame_input_tap.h"
#include "app/replay_recorder.h"
#include "app/run_start_state.h"

class SessionRecorder final : public FrameInputTap {
 public:
  // `sessionHeader` holds what every replay of this session starts with (game, window,
  // resources, the preferences read at the start). With `wholeSession` every frame is kept for
  // `session`; without, only the frames of the current run. Best runs go beside
  // `preferenceFile`.
  SessionRecorder(Replay sessionHeader, bool wholeSession, RunStartState& state,
                  std::string preferenceFile);

  void frameInput(std::int64_t frame, FrameInput& input) override;

  // The preference store's save listener.
  void saved(std::string_view key, const nlohmann::json* value);

  // The whole session as a replay (with `keepSession`).
  Replay session() const;

 private:
  Replay header;
  bool keepSession;
  RunStartState& start;
  std::string preferencesPath;
  ReplayRecorder recorder;
  std::int64_t firstKeptFrame = 1;
  // The run being played: where its frames start in the recorder, and what it starts from.
  std::optional<std::size_t> runStart;
  std::string runMode;
  std::vector<CellState> runState;
};
