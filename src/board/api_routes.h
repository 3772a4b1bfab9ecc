// The board's HTTP interface:
//   POST /api/runs              multipart form: replay (the file), name, token -> 202 {id, run}
//   GET  /api/runs/ID           {id, name, mode, claim, state, reason, rank, best, ...}
//   GET  /api/boards/hard|easy  ?page=N&per_page=M: {mode, page, per_page, entries, runs:[...]}
//   GET  /runs/ID.replay        the replay as sent
//   GET  /health                {status, waiting}
#pragma once

#include <functional>

#include <httplib.h>

#include "board/run_store.h"

namespace board {

void addApiRoutes(httplib::Server& server, RunStore& store, std::function<void()> queued);

}  // namespace board
