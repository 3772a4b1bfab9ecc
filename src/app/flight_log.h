// `--flight FILE` with `--verify`: where the flyer was every tenth of a game second of each run,
// read from the Game chart's cells after every frame. The flyer moves in a vertical plane, so a
// position is its height and its horizontal coordinate (from the left wall at -25 to the right
// one at 25). The file, plain text:
//   # time height across
//   run
//   0.00 1.50 0.00
//   0.10 3.30 0.00
//   ...
// Each run starts with "run" and its time counts from the frame the run started. Its last line is
// the last frame the Game chart was seen flying, whatever its time: the chart is gone after the
// frame it lands in, so the landing itself (at height 3) is not among the lines.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "chart/chart.h"

class FlightLog {
 public:
  // A log writing to the file `path`, or null with `error` saying why it cannot be written.
  static std::unique_ptr<FlightLog> open(const std::string& path, std::string& error);

  // After each frame: `root` is the chart tree the frame ran, `seconds` the frame's length.
  void afterFrame(const chart::Chart& root, float seconds);

  // At most this many positions are written in all (75 minutes of flight, under 1 MB): the
  // file stays within what a verifier may write whatever the replay. The rest is left out.
  static constexpr std::int64_t kMaxSamples = 45'000;

  // Closes the file; false when not all of it was written.
  bool finish();

 private:
  // The Game chart's cells this log reads, found by name once.
  struct Cells {
    const chart::Program* program = nullptr;
    std::uint16_t running = 0, stopped = 0, across = 0, height = 0;
  };
  struct Position {
    float height = 0, across = 0;
  };
  // Waiting for a run to start; flying, logged; landed: ended, logged to its last frame.
  enum class State { Waiting, Flying, Landed };

  FlightLog() = default;

  std::ofstream out;
  Cells cells;
  State state = State::Waiting;
  // Writes `last` at `runSeconds` (unless the run has its lines); the run ends, with its last
  // frame logged.
  void writeLast();
  void endRun();

  Position before;  // the flyer's last position before its run started
  bool seenBefore = false;
  Position last;  // its position after the last frame of the run seen
  bool lastWritten = true;
  double runSeconds = 0;  // since the run started
  double nextSample = 0;
  std::int64_t samples = 0;  // written so far
};
