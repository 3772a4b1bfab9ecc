// A look at, and a say in, what the view hands the charts in each frame: the recorder copies it,
// a replay's player replaces it with the recorded frame.
#pragma once

#include <cstdint>

#include "app/replay_file.h"

class FrameInputTap {
 public:
  virtual ~FrameInputTap() = default;
  // Called in every frame `frame` (from 1) before the charts run, with the input the view is
  // about to give them; what `input` holds on return is what they get.
  virtual void frameInput(std::int64_t frame, FrameInput& input) = 0;
};
