// aloft-board's command line.
#pragma once

#include <string>
#include <variant>

#include "board/run_store.h"
#include "board/verifier.h"

namespace board {

struct BoardOptions {
  std::string host = "127.0.0.1";
  int port = 8080;
  std::string database = "board.sqlite";
  int workers = 0;  // verifying threads; 0: one per core
  VerifierSettings verifier;
  WaitingLimits waiting;
};

// The options, or the exit status to end with at once (0 after --help, 2 after a bad option).
std::variant<BoardOptions, int> parseBoardOptions(int argc, const char* const* argv);

}  // namespace board
