// Fills an aloft-board database with RUNS verified runs through the board's own store, as its
// verification workers record them, without running the verifier: PLAYERS players, the runs
// spread over the last year, every 100th with the two flight pictures a verification makes (from
// a made-up flight). Replays are short placeholders: no page reads them.
// Usage: board_fill DATABASE RUNS PLAYERS
#include <chrono>
#include <cstdio>
#include <string>

#include "board/database.h"
#include "board/run_pictures.h"
#include "board/run_store.h"
#include "board/submission_check.h"

namespace {

// A flight of `seconds`, climbing, turning and coming down as the game's flyer does.
std::string madeUpFlight(double seconds) {
  std::string flight = "# time height across\nrun\n";
  char line[64];
  for (double t = 0; t <= seconds + 1e-9; t += 0.1) {
    const double height = 1.5 + 20 * t / seconds * (1 - t / seconds) * 4;
    std::snprintf(line, sizeof line, "%.2f %.2f %.2f\n", t, height, 10 * (t / seconds) - 5);
    flight += line;
  }
  return flight;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: board_fill DATABASE RUNS PLAYERS\n");
    return 2;
  }
  const long runs = std::stol(argv[2]), players = std::stol(argv[3]);
  board::Database database(argv[1], 1);
  board::RunStore store(database);
  const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  const auto started = std::chrono::steady_clock::now();
  for (long i = 1; i <= runs; ++i) {
    const std::string name = "Player " + std::to_string(i % players);
    const int centiseconds = 100 + int((i * 7919) % 6000);
    const std::int64_t sent = now - (runs - i) * 365 * 86400 / runs;
    const board::NewRun run{
        "fill" + std::to_string(i),   name,         board::nameKey(name), "token-of-" + name,
        i % 2 == 0 ? "hard" : "easy", centiseconds, "placeholder"};
    store.submit(run, sent, board::WaitingLimits{});
    const auto job = store.claim("fill", sent, 60);
    if (!job) return 1;
    const auto pictures = i % 100 == 0 ? board::flightPictures(madeUpFlight(centiseconds / 100.0))
                                       : std::vector<board::Picture>{};
    store.finish(job->id, "fill", true, centiseconds, {}, sent + 5, pictures);
    if (i % 10000 == 0) {
      std::fprintf(
          stderr, "%ld runs, %.0f s\n", i,
          std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    }
  }
  return 0;
}
