// The game's side of a board server (aloft-board): `--submit` sends a kept best run or a replay
// file and waits for the verdict; `--board` prints a mode's top ten. The server's address is
// kept in the preference file once given; the player's secret token, made on first use, is kept
// beside it in `board-token` (readable by its owner only).
#pragma once

#include <ostream>
#include <string>

namespace CLI {
class App;
}

struct BoardCommand {
  std::string submit;  // "hard", "easy" or a replay file
  std::string board;   // "hard" or "easy"
  std::string server;  // the board's address, http://HOST:PORT
  std::string name;    // the player's name on the board

  bool active() const { return !submit.empty() || !board.empty(); }
};

// Exit statuses: verified (or the board printed), rejected, bad input or no answer.
inline constexpr int kBoardVerified = 0;
inline constexpr int kBoardRejected = 1;
inline constexpr int kBoardFailed = 2;

void addBoardOptions(CLI::App& app, BoardCommand& command);

// Runs the command; prints one line about its outcome (after the board's lines for --board).
int runBoardCommand(const BoardCommand& command, const std::string& preferenceFile,
                    std::ostream& out, std::ostream& err);
