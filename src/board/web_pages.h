// The board's pages for people, made on the server in plain HTML and CSS:
//   /               both modes' top 50, the newest verified runs, how to submit
//   /runs/ID        a run: time, player, date, state (and the reason of a rejection), its flight
//                   and chart pictures, its replay
//   /runs/ID/NAME   a picture of a verified run, made when it was verified (run_pictures.h)
//   /players/NAME   a player's best time over the days, drawn, and their runs in both modes
// Every page and picture carries an ETag of its contents; names, the only text players write, are
// escaped.
#pragma once

#include <httplib.h>

#include "board/run_store.h"

namespace board {

void addWebPages(httplib::Server& server, RunStore& store);

// `text` with the characters that mean something in HTML written as references.
std::string escapeHtml(const std::string& text);

}  // namespace board
