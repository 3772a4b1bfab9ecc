// aloft-board: serves the board over HTTP, verifies submitted runs with the game and keeps them
// in SQLite or PostgreSQL. Stops on SIGTERM or SIGINT: no new request is taken, the runs being
// verified go back to the queue.
#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <random>
#include <thread>

#include "board/api_routes.h"
#include "board/board_options.h"
#include "board/database.h"
#include "board/run_store.h"
#include "board/submission_check.h"
#include "board/verification_workers.h"
#include "board/verifier.h"
#include "board/web_pages.h"
#include "platform/limited_process.h"
#include "platform/stop_signals.h"

namespace {

std::mutex logMutex;

void logLine(const std::string& line) {
  const std::lock_guard lock(logMutex);
  std::fprintf(stderr, "aloft-board: %s\n", line.c_str());
}

// Names this process's claims: unique across servers sharing one database.
std::string serverId() {
  std::random_device random;
  return std::to_string(random()) + std::to_string(random());
}

void logRequest(const httplib::Request& req, const httplib::Response& res) {
  logLine(req.remote_addr + " " + req.method + " " + req.path + " " + std::to_string(res.status) +
          " " + std::to_string(res.body.size()));
}

// A failing database answers 503 and is logged; the server carries on.
void answerStorageFailure(const httplib::Request&, httplib::Response& res,
                          std::exception_ptr error) {
  std::string what = "unknown";
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& caught) {
    what = caught.what();
  } catch (...) {
  }
  logLine("error: " + what);
  res.status = 503;
  res.set_content(R"({"error":"the board's storage failed; try again later"})",
                  "application/json");
}

// The port bound (port 0 takes any free one), or -1.
int bind(httplib::Server& server, const board::BoardOptions& options) {
  if (options.port == 0) return server.bind_to_any_port(options.host.c_str());
  return server.bind_to_port(options.host.c_str(), options.port) ? options.port : -1;
}

int serve(const board::BoardOptions& options, board::Database& database, board::RunStore& store,
          const std::string& scratch) {
  httplib::Server server;
  server.set_payload_max_length(board::kMaxReplayBytes + 64 * 1024);
  // An answer's head and body go out in separate writes: without this the body waits for the
  // client's delayed acknowledgement, 40 ms on Linux, on every kept-alive request.
  server.set_tcp_nodelay(true);
  server.set_logger(logRequest);
  server.set_exception_handler(answerStorageFailure);
  const int port = bind(server, options);
  if (port <= 0) {
    logLine("cannot listen on " + options.host + ":" + std::to_string(options.port));
    return 1;
  }
  board::Verifier verifier(options.verifier, scratch);
  board::VerificationWorkers workers(store, verifier, options.workers, serverId(), logLine);
  board::addApiRoutes(server, store, options.waiting, [&workers] { workers.wake(); });
  board::addWebPages(server, store);
  std::thread stopper([&server] {
    const int signal = platform::waitForStopSignal();
    logLine("stopping on signal " + std::to_string(signal));
    server.stop();
  });
  logLine("listening on " + options.host + ":" + std::to_string(port) + ", " +
          (database.dialect() == board::Dialect::Sqlite ? "SQLite " + options.database
                                                        : std::string("PostgreSQL")) +
          ", verifying with " + options.verifier.game);
  server.listen_after_bind();
  stopper.join();
  workers.stop();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  platform::blockStopSignals();
  auto parsed = board::parseBoardOptions(argc, argv);
  if (const int* status = std::get_if<int>(&parsed)) return *status;
  const board::BoardOptions options = std::get<board::BoardOptions>(parsed);
  if (!platform::childrenHaveNoNetwork()) {
    logLine("warning: no network namespace can be made here: verifications run with the "
            "server's network (see README, Running a board)");
  }
  const std::string scratch = platform::makeScratchFolder("aloft-board");
  if (scratch.empty()) {
    logLine("cannot make a scratch folder for the verifier");
    return 1;
  }
  int status = 1;
  try {
    board::Database database(options.database, std::size_t(options.workers) + 8);
    board::RunStore store(database);
    status = serve(options, database, store, scratch);
  } catch (const board::DatabaseError& error) {
    logLine(std::string("database: ") + error.what());
  }
  std::filesystem::remove_all(scratch);
  logLine(status == 0 ? "stopped" : "not started");
  return status;
}
