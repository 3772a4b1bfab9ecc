// The frames of a session as the view handed them to the charts, kept in memory in blocks of a
// fixed size: recording a frame copies it into the current block and allocates only when a block
// is full (once every `kFramesPerBlock` frames, some 80 seconds of play).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/replay_file.h"

class ReplayRecorder {
 public:
  static constexpr std::size_t kFramesPerBlock = 8192;

  ReplayRecorder();

  void record(const FrameInput& frame);
  // Forgets every frame kept: the next one recorded is kept first. The blocks stay for reuse.
  void clear() { count = 0; }

  std::size_t size() const { return count; }
  const FrameInput& operator[](std::size_t at) const {
    return blocks[at / kFramesPerBlock][at % kFramesPerBlock];
  }
  // Frames `from` up to but not including `to`, as a replay holds them.
  std::vector<FrameInput> copy(std::size_t from, std::size_t to) const;

 private:
  std::vector<std::unique_ptr<FrameInput[]>> blocks;
  std::size_t count = 0;
};
