// Replays: what recording adds to a frame (nanoseconds and heap allocations per frame), and what
// writing and reading a minute of real-clock play costs. Run: build/bench/replay_bench
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "app/replay_file.h"
#include "app/run_start_state.h"
#include "app/session_recorder.h"
#include "chart/global_variables.h"
#include "chart/preferences.h"
#include "counting_new.h"

namespace {

constexpr int kFramesPerMinute = 6000;

// A minute of play on the real clock: lengths jitter around the 0.01 s tick, a key now and then.
Replay minuteOfPlay() {
  Replay replay;
  replay.gameVersion = "0";
  replay.window = {960, 640};
  replay.resourceDigest = "0";
  std::mt19937 random(7);
  std::normal_distribution<float> jitter(0.01f, 0.00003f);
  for (int frame = 0; frame < kFramesPerMinute; ++frame) {
    FrameInput input;
    input.length = jitter(random);
    input.drawable = replay.window;
    input.pointer = {480, 300};
    input.event = {frame % 100 < 40 ? platform::InputKind::KeyDown : platform::InputKind::KeyUp,
                   platform::kLeftArrowCharacter};
    replay.frames.push_back(input);
  }
  return replay;
}

void RecordFrame(benchmark::State& state) {
  chart::GlobalVariableDictionary globals;
  RunStartState start(globals);
  chart::Preferences::openInMemory(nlohmann::json::object());
  SessionRecorder recorder(Replay{}, true, start, chart::Preferences::share());
  FrameInput input;
  input.length = 0.01f;
  std::int64_t frame = 1;
  const long before = heapAllocations();
  for (auto _ : state) {
    recorder.frameInput(frame++, input);
    benchmark::ClobberMemory();
  }
  state.counters["allocations_per_frame"] =
      double(heapAllocations() - before) / double(state.iterations());
}
BENCHMARK(RecordFrame);

void WriteMinute(benchmark::State& state) {
  const Replay replay = minuteOfPlay();
  std::size_t bytes = 0;
  for (auto _ : state) bytes = formatReplay(replay).size();
  state.counters["bytes_per_minute"] = double(bytes);
}
BENCHMARK(WriteMinute)->Unit(benchmark::kMillisecond);

void ReadMinute(benchmark::State& state) {
  const std::string text = formatReplay(minuteOfPlay());
  for (auto _ : state) {
    std::istringstream in(text);
    std::string error;
    benchmark::DoNotOptimize(parseReplay(in, "minute", error));
  }
}
BENCHMARK(ReadMinute)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
