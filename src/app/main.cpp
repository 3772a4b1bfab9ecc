// The game program: reads the command line, then plays, watches or verifies, or talks to a board.
#include <iostream>
#include <variant>

#include "app/board_client.h"
#include "app/chart_graph_command.h"
#include "app/command_line.h"
#include "app/game_run.h"
#include "app/replay_runs.h"

int main(int argc, char** argv) {
  auto parsed = parseCommandLine(argc, argv);
  if (const int* status = std::get_if<int>(&parsed)) return *status;
  const Options& options = std::get<Options>(parsed);
  if (options.boardCommand.active()) {
    return runBoardCommand(options.boardCommand, preferencesPath(options), std::cout, std::cerr);
  }
  if (!options.chartGraph.empty()) {
    return printChartGraph(options.chartGraph, options.counts, std::cout, std::cerr);
  }
  return runGame(options, nullptr);
}
