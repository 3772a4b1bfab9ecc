#include "board/board_options.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <filesystem>
#include <iostream>
#include <thread>

#include "platform/command_line_answer.h"

namespace board {
namespace {

constexpr const char* kDescription =
    "aloft-board: a shared leaderboard for aloft that lists only the runs it has replayed\n"
    "itself. Runs are sent with `aloft --submit`; each is verified by `aloft --verify` in a\n"
    "child process under limits before it is listed.";

// "ADDRESS:PORT", or ":PORT" for the default address.
bool parseListen(const std::string& text, BoardOptions& options) {
  const auto colon = text.rfind(':');
  if (colon == std::string::npos) return false;
  int port = 0;
  const char* begin = text.data() + colon + 1;
  const char* end = text.data() + text.size();
  const auto [stop, status] = std::from_chars(begin, end, port);
  if (status != std::errc() || stop != end || port < 0 || port > 65535) return false;
  if (colon > 0) options.host = text.substr(0, colon);
  if (options.host.size() > 2 && options.host.front() == '[') {
    options.host = options.host.substr(1, options.host.size() - 2);
  }
  options.port = port;
  return true;
}

// The game beside this program (the build tree), else the one the package installs.
std::string defaultGame(const char* argv0) {
  const auto beside = std::filesystem::path(argv0).parent_path() / "aloft";
  std::error_code error;
  if (std::filesystem::is_regular_file(beside, error)) {
    return std::filesystem::absolute(beside, error).string();
  }
  return "/usr/games/aloft";
}

}  // namespace

std::variant<BoardOptions, int> parseBoardOptions(int argc, const char* const* argv) {
  BoardOptions options;
  std::string listen;
  int memoryMegabytes = 2048;
  CLI::App app{kDescription, "aloft-board"};
  app.set_version_flag("--version", std::string("aloft-board ") + ALOFT_VERSION);
  app.add_option("--listen", listen, "Address and port to serve (default 127.0.0.1:8080; port 0: any free one)")
      ->type_name("ADDRESS:PORT");
  app.add_option("--database", options.database,
                 "SQLite file (default board.sqlite) or postgresql://... address")
      ->type_name("FILE|URI");
  app.add_option("--workers", options.workers, "Runs verified at once (default: one per core)")
      ->type_name("N")
      ->check(CLI::Range(1, 256).description(""));
  app.add_option("--queue-limit", options.waiting.board,
                 "Runs that may wait for verification before more are refused (default 1000; "
                 "each player may have 4)")
      ->type_name("N")
      ->check(CLI::Range(std::int64_t{1}, std::int64_t{1000000}).description(""));
  app.add_option("--game", options.verifier.game, "The aloft program that verifies runs")
      ->type_name("PATH");
  app.add_option("--resources", options.verifier.resources, "Its --resources folder")
      ->type_name("DIR");
  app.add_option("--time-limit", options.verifier.cpuSeconds,
                 "CPU seconds a verification may use, plus one per second of the run (default "
                 "30); four times that on the wall clock")
      ->type_name("SECONDS")
      ->check(CLI::Range(1.0, 3600.0).description(""));
  app.add_option("--memory-limit", memoryMegabytes,
                 "Address space of a verification (2048; 0: none, for sanitized builds)")
      ->type_name("MB")
      ->check(CLI::Range(0, 65536).description(""));
  const auto checkListen = [&] {
    if (!listen.empty() && !parseListen(listen, options)) {
      throw CLI::ValidationError("--listen takes ADDRESS:PORT, e.g. 127.0.0.1:8080");
    }
  };
  if (const auto status = platform::parseOrAnswer(app, argc, argv, checkListen)) return *status;
  if (options.workers == 0) options.workers = int(std::max(1u, std::thread::hardware_concurrency()));
  if (options.verifier.game.empty()) options.verifier.game = defaultGame(argv[0]);
  options.verifier.memoryBytes = std::size_t(memoryMegabytes) << 20;
  return options;
}

}  // namespace board
