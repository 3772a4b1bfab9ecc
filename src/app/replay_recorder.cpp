#include "app/replay_recorder.h"

namespace {

// Room for the block list of some ninety minutes of play before the list itself grows.
constexpr std::size_t kReservedBlocks = 64;

}  // namespace

ReplayRecorder::ReplayRecorder() {
  blocks.reserve(kReservedBlocks);
  blocks.push_back(std::make_unique<FrameInput[]>(kFramesPerBlock));
}

void ReplayRecorder::record(const FrameInput& frame) {
  const std::size_t block = count / kFramesPerBlock;
  if (block == blocks.size()) blocks.push_back(std::make_unique<FrameInput[]>(kFramesPerBlock));
  blocks[block][count % kFramesPerBlock] = frame;
  ++count;
}

std::vector<FrameInput> ReplayRecorder::copy(std::size_t from, std::size_t to) const {
  std::vector<FrameInput> frames;
  frames.reserve(to - from);
  for (std::size_t at = from; at < to; ++at) frames.push_back((*this)[at]);
  return frames;
}
