// The board's HTTP interface:
//   POST /api/runs              multipart form: replay (the file), name, token -> 202 {id, run};
//                               429 or 503 with Retry-After while too many runs wait
//   GET  /api/runs/ID           {id, name, mode, claim, state, reason, rank, best, ...}
//   GET  /api/boards/hard|easy  ?page=N&per_page=M: {mode, page, per_page, entries, runs:[...]}
//   GET  /runs/ID.replay        the replay as sent
//   GET  /health                {status, waiting}
#pragma once

#include <functional>

#include <httplib.h>

#include "board/run_store.h"

namespace board {

// `queued` is told of each run queued here.
void addApiRoutes(httplib::Server& server, RunStore& store, const WaitingLimits& limits,
                  std::function<void()> queued);

}  // namespace board
