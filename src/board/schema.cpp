#include "board/schema.h"

namespace board {
namespace {

// Version 1. Replays live apart from the runs so that scanning runs reads small rows; `best`
// holds each player's entry per mode, so a board page is one index range.
std::string firstSchema(const std::string& serial, const std::string& bytes) {
  return "CREATE TABLE players (key TEXT PRIMARY KEY, name TEXT NOT NULL,"
         " token_hash TEXT NOT NULL, created BIGINT NOT NULL);"
         "CREATE TABLE runs (id " + serial + " PRIMARY KEY, digest TEXT NOT NULL UNIQUE,"
         " player_key TEXT NOT NULL REFERENCES players(key), mode TEXT NOT NULL,"
         " claim_cs INTEGER NOT NULL, submitted BIGINT NOT NULL,"
         " state TEXT NOT NULL DEFAULT 'queued', reason TEXT NOT NULL DEFAULT '',"
         " time_cs INTEGER, decided BIGINT NOT NULL DEFAULT 0, lease_owner TEXT,"
         " lease_until BIGINT NOT NULL DEFAULT 0, attempts INTEGER NOT NULL DEFAULT 0);"
         "CREATE INDEX runs_waiting ON runs (state, id);"
         "CREATE INDEX runs_player ON runs (player_key, mode, id);"
         "CREATE TABLE replays (run_id BIGINT PRIMARY KEY REFERENCES runs(id), body " + bytes +
         " NOT NULL);"
         "CREATE TABLE best (mode TEXT NOT NULL, player_key TEXT NOT NULL, run_id BIGINT NOT NULL,"
         " time_cs INTEGER NOT NULL, PRIMARY KEY (mode, player_key));"
         "CREATE INDEX best_rank ON best (mode, time_cs DESC, run_id);";
}

// Version 2: the pictures of each verified run, made once and served by name; `tag` is the
// digest the ETag carries.
constexpr const char* kPictures =
    "CREATE TABLE pictures (run_id BIGINT NOT NULL REFERENCES runs(id), name TEXT NOT NULL,"
    " tag TEXT NOT NULL, alt TEXT NOT NULL, body TEXT NOT NULL, PRIMARY KEY (run_id, name));";

}  // namespace

const std::vector<std::string>& migrations(Dialect dialect) {
  static const std::vector<std::string> sqlite{firstSchema("INTEGER", "TEXT"), kPictures};
  static const std::vector<std::string> postgres{firstSchema("BIGSERIAL", "TEXT"), kPictures};
  return dialect == Dialect::Sqlite ? sqlite : postgres;
}

}  // namespace board
