// The board's command-line options, apart from the client so that a program parsing the
// command line without talking to a board links no HTTP library.
#include <CLI/CLI.hpp>

#include "app/board_client.h"

void addBoardOptions(CLI::App& app, BoardCommand& command) {
  const char* group = "Board (aloft-board)";
  app.add_option("--submit", command.submit,
                                "Send the kept best run of a mode, or a replay FILE, to the board "
                                "and wait for its verdict")
                     ->type_name("hard|easy|FILE")
                     ->group(group);
  app.add_option("--board", command.board, "Print the top 10 of a mode on the board")
      ->type_name("hard|easy")
      ->check(CLI::IsMember({"hard", "easy"}).description(""))
      ->group(group);
  app.add_option("--server", command.server, "The board's address (kept for next time)")
      ->type_name("URL")
      ->group(group);
  app.add_option("--name", command.name, "Your name on the board, 1 to 24 characters")
      ->type_name("NAME")
      ->group(group);
}
