#include "app/flight_log.h"

#include <cerrno>
#include <cstring>
#include <iomanip>
#include <string_view>

namespace {

constexpr double kSampleSeconds = 0.1;
// Frame lengths add up in floats: a sample is due this close to its time.
constexpr double kTolerance = 1e-4;
// Charts hold charts in their object lists; the Game chart sits a few levels below the root.
constexpr int kMaxDepth = 8;

// The first chart named "Game" in the tree under `chart`, or null. Reads only: no allocation.
const chart::Chart* findGame(const chart::Chart& chart, int depth) {
  if (chart.chartName() == "Game") return &chart;
  if (depth == kMaxDepth) return nullptr;
  for (const chart::Cell& cell : chart.cells()) {
    if (cell.type != chart::kObjectList || cell.object == nullptr) continue;
    for (std::size_t at = 0; at < cell.object->size(); ++at) {
      const auto* child = std::get_if<chart::Chart*>(&(*cell.object)[at]);
      if (child == nullptr || *child == nullptr) continue;
      if (const chart::Chart* game = findGame(**child, depth + 1)) return game;
    }
  }
  return nullptr;
}

std::uint16_t cellNamed(const chart::Program& program, std::string_view name) {
  for (std::size_t at = 0; at < program.cellCount(); ++at) {
    if (program.cellNames[at] == name) return std::uint16_t(at);
  }
  return chart::kEmptyConstant;  // reads as 0: never "YES"
}

bool isYes(const chart::Chart& chart, std::uint16_t cell) {
  const auto cells = chart.cells();
  return cells[cell].type == chart::kNumber && cells[cell].math == cells[chart::kYes].math;
}

}  // namespace

std::unique_ptr<FlightLog> FlightLog::open(const std::string& path, std::string& error) {
  std::unique_ptr<FlightLog> log(new FlightLog());
  log->out.open(path, std::ios::trunc);
  if (!log->out) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  log->out << std::fixed << std::setprecision(2) << "# time height across\n";
  return log;
}

bool FlightLog::finish() {
  out.close();
  return !out.fail();
}

void FlightLog::afterFrame(const chart::Chart& root, float seconds) {
  const chart::Chart* game = findGame(root, 0);
  if (game == nullptr) {
    endRun();
    return;
  }
  if (cells.program != &game->program()) {
    const chart::Program& program = game->program();
    cells = {&program, cellNamed(program, "runGame"), cellNamed(program, "gvStopTime"),
             cellNamed(program, "xMove"), cellNamed(program, "yMove")};
  }
  if (!isYes(*game, cells.running)) {
    endRun();
    // Where the flyer stands before the first key: the run's start.
    before = {game->cells()[cells.height].math, game->cells()[cells.across].math};
    seenBefore = true;
    return;
  }
  if (state == State::Landed) return;
  if (state == State::Waiting) {
    state = State::Flying;
    runSeconds = 0;
    nextSample = kSampleSeconds;
    out << "run\n";
    if (seenBefore && samples < kMaxSamples) {
      out << 0.0 << ' ' << before.height << ' ' << before.across << '\n';
      ++samples;
    }
    lastWritten = true;
  }
  runSeconds += seconds;
  last = {game->cells()[cells.height].math, game->cells()[cells.across].math};
  lastWritten = false;
  const bool landed = isYes(*game, cells.stopped);
  if (landed || runSeconds + kTolerance >= nextSample) {
    writeLast();
    while (nextSample <= runSeconds + kTolerance) nextSample += kSampleSeconds;
  }
  if (landed) state = State::Landed;
}

void FlightLog::writeLast() {
  if (samples < kMaxSamples) {
    out << runSeconds << ' ' << last.height << ' ' << last.across << '\n';
    ++samples;
  }
  lastWritten = true;
}

void FlightLog::endRun() {
  if (state == State::Flying && !lastWritten) writeLast();
  state = State::Waiting;
}
