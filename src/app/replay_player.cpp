#include "app/replay_player.h"

namespace {

// The start-up before a best run's first frame runs on frames this long: the splash screens end
// after six seconds of frames, the rest takes a few frames more.
constexpr float kStartUpFrameLength = 1.0f;
constexpr int kMaxStartUpFrames = 100;

}  // namespace

ReplayPlayer::ReplayPlayer(const Replay& replay, const RootChart& root, RunStartState& start)
    : replay(replay), root(root), start(start), startReached(!replay.isBestRun()) {}

void ReplayPlayer::playStartUp(FrameInput& input) {
  if (!startApplied && start.cameraExists()) {
    start.apply(replay.startMode, replay.startState);
    startApplied = true;
  }
  if (startApplied && gameScreenRuns(root)) {
    startReached = true;
    return;
  }
  if (++startUpFrames > kMaxStartUpFrames) startFailed_ = true;
  input.length = kStartUpFrameLength;
  input.event = {};
  input.pointer = {};
}

void ReplayPlayer::frameInput(std::int64_t, FrameInput& input) {
  if (!startReached) {
    playStartUp(input);
    if (!startReached) return;
  }
  if (next == replay.frames.size()) return;
  const FrameInput& recorded = replay.frames[next++];
  input.length = recorded.length;
  input.event = recorded.event;
  input.pointer = recorded.pointer;
  // A window of another size than the recording's (full screen, say) sees the pointer at the same
  // place in the picture.
  if (!(input.drawable == recorded.drawable)) {
    input.pointer.x = recorded.pointer.x * input.drawable.width / recorded.drawable.width;
    input.pointer.y = recorded.pointer.y * input.drawable.height / recorded.drawable.height;
  }
}
