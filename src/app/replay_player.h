// Plays a replay through the view's frame input tap: each frame gets the recorded frame's length,
// current event and pointer in place of the live ones, so the charts see what they saw when it was
// recorded. A best run is first brought to its starting state (see run_start_state.h).
#pragma once

#include <cstdint>
#include <functional>

#include "app/frame_input_tap.h"
#include "app/replay_file.h"
#include "app/root_chart.h"
#include "app/run_start_state.h"
#include "engine/kiv_polygons.h"
#include "platform/clock.h"

class ReplayPlayer final : public FrameInputTap {
 public:
  // With `pace`, the frames follow each other at their recorded lengths; without, at the clock's
  // own ticks. `polygonService` places the picture in a drawing area, through its bars.
  ReplayPlayer(const Replay& played, const RootChart& tree, RunStartState& state,
               const engine::KivPolygons& polygonService,
               platform::MonotonicClock* paceClock = nullptr);

  void frameInput(std::int64_t frame, FrameInput& input) override;

  // Gives each frame the drawing area it was recorded with, through `resize`, instead of
  // mapping the pointer into the one it has: what a verification without a window does.
  void followRecordedSize(std::function<void(platform::Size)> resize) {
    resizeTo = std::move(resize);
  }
  // Plays no frame after the current one.
  void stopAfterThisFrame() { stopped = true; }

  // Every recorded frame has been given (or a best run's start could not be reached, or the
  // playing was stopped).
  bool finished() const { return next == replay.frames.size() || startFailed_ || stopped; }
  // A best run's start was not reached: the replay does not fit the charts.
  bool startFailed() const { return startFailed_; }

 private:
  void playStartUp(FrameInput& input);

  const Replay& replay;
  const RootChart& root;
  RunStartState& start;
  const engine::KivPolygons& polygons;
  platform::MonotonicClock* pace;
  bool startApplied = false;
  bool startReached = false;
  bool startFailed_ = false;
  bool stopped = false;
  std::function<void(platform::Size)> resizeTo;
  int startUpFrames = 0;
  std::size_t next = 0;
};
