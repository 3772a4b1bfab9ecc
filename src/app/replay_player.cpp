#include "app/replay_player.h"

#include "engine/viewport_placement.h"

namespace {

// The start-up before a best run's first frame runs on frames this long: the splash screens end
// after six seconds of frames, the rest takes a few frames more.
constexpr float kStartUpFrameLength = 1.0f;
constexpr int kMaxStartUpFrames = 100;
// The frame timer's own tick, for the frames after the last recorded one.
constexpr double kFrameInterval = 0.01;
// The longest a watched frame is waited for, whatever length the file gives it.
constexpr double kLongestPacedFrame = 1.0;

// Where the picture lies in a drawing area of `size` at the polygon service's picture ratio.
engine::ViewportPlacement pictureIn(const engine::KivPolygons& polygons, platform::Size size) {
  const auto [ratioWidth, ratioHeight] = polygons.viewportRatio();
  if (!(ratioWidth > 0 && ratioHeight > 0)) return {0, 0, size.width, size.height};
  return engine::placeViewport(0, 0, size.width, size.height, ratioWidth, ratioHeight);
}

// The point of the picture in `to` that `pointer` shows in `from`: through both areas' bars,
// at the same place in the picture, as picking sees it.
platform::Point samePlaceInPicture(const engine::KivPolygons& polygons, platform::Point pointer,
                                   platform::Size from, platform::Size to) {
  const engine::ViewportPlacement a = pictureIn(polygons, from);
  const engine::ViewportPlacement b = pictureIn(polygons, to);
  if (a.width <= 0 || a.height <= 0) return pointer;
  return {b.x + (pointer.x - a.x) * b.width / a.width,
          b.y + (pointer.y - a.y) * b.height / a.height};
}

}  // namespace

ReplayPlayer::ReplayPlayer(const Replay& played, const RootChart& tree, RunStartState& state,
                           const engine::KivPolygons& polygonService,
                           platform::MonotonicClock* paceClock)
    : replay(played),
      root(tree),
      start(state),
      polygons(polygonService),
      pace(paceClock),
      startReached(!played.isBestRun()) {}

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
  if (pace != nullptr) pace->setInterval(0);  // nothing to watch yet
  input.length = kStartUpFrameLength;
  input.event = {};
  input.pointer = {};
}

void ReplayPlayer::frameInput(std::int64_t, FrameInput& input) {
  if (!startReached) {
    playStartUp(input);
    if (!startReached) return;
  }
  if (next == replay.frames.size() || stopped) return;
  const FrameInput& recorded = replay.frames[next++];
  // The clock's schedule runs one tick ahead: the interval set now separates the next frame from
  // the one after it.
  if (pace != nullptr) {
    const double length =
        next + 1 < replay.frames.size() ? replay.frames[next + 1].length : kFrameInterval;
    pace->setInterval(length <= kLongestPacedFrame ? length : kLongestPacedFrame);
  }
  input.length = recorded.length;
  input.event = recorded.event;
  input.pointer = recorded.pointer;
  if (input.drawable == recorded.drawable) return;
  if (resizeTo) {
    resizeTo(recorded.drawable);
    input.drawable = recorded.drawable;
    return;
  }
  // A window of another size than the recording's (full screen, say) sees the pointer at the same
  // place in the picture, whatever bars either has.
  input.pointer = samePlaceInPicture(polygons, recorded.pointer, recorded.drawable, input.drawable);
}
