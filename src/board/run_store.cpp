#include "board/run_store.h"

#include <algorithm>

#include "board/schema.h"
#include "board/sha256.h"

namespace board {
namespace {

constexpr std::int64_t kPostgresMigrationLock = 0x616c6f6674;  // any number, the same everywhere

std::vector<std::string> statements(const std::string& script) {
  std::vector<std::string> result;
  std::size_t start = 0;
  for (std::size_t end = script.find(';'); end != std::string::npos;
       start = end + 1, end = script.find(';', start)) {
    result.push_back(script.substr(start, end - start));
  }
  return result;
}

// The rank of an entry: one more than the entries ahead of it (longer, or as long and earlier).
const char* kRankOf =
    "SELECT 1 + COUNT(*) FROM best WHERE mode = $1 AND (time_cs > $2 OR (time_cs = $2 AND "
    "run_id < $3))";

// How many runs wait for a verdict: queued, or being verified.
const std::string kCountWaiting =
    "SELECT COUNT(*) FROM runs WHERE state IN ('queued', 'verifying')";

}  // namespace

RunStore::RunStore(Database& database) : db(database) { migrate(); }

void RunStore::migrate() {
  const auto& steps = migrations(db.dialect());
  db.transaction([&](Connection& c) {
    if (db.dialect() == Dialect::Postgres) {
      c.run("SELECT pg_advisory_xact_lock($1)", {kPostgresMigrationLock});
    }
    c.run("CREATE TABLE IF NOT EXISTS board_schema (version INTEGER NOT NULL)");
    const Result current = c.run("SELECT version FROM board_schema");
    const std::int64_t version = current.rows.empty() ? 0 : number(current.rows[0], 0);
    if (version > std::int64_t(steps.size())) {
      throw DatabaseError("the database holds schema version " + std::to_string(version) +
                          "; this aloft-board knows up to " + std::to_string(steps.size()));
    }
    for (std::size_t step = std::size_t(version); step < steps.size(); ++step) {
      for (const std::string& statement : statements(steps[step])) c.run(statement);
    }
    if (current.rows.empty()) c.run("INSERT INTO board_schema VALUES (0)");
    c.run("UPDATE board_schema SET version = $1", {std::int64_t(steps.size())});
    return 0;
  });
}

Submitted RunStore::submit(const NewRun& run, std::int64_t now, const WaitingLimits& limits) {
  return db.transaction([&](Connection& c) {
    const Result same = c.run("SELECT id, player_key FROM runs WHERE digest = $1", {run.digest});
    if (!same.rows.empty()) {
      return Submitted{same.rows[0][1] == run.nameKey ? Submitted::Outcome::Existing
                                                      : Submitted::Outcome::SomeoneElses,
                       number(same.rows[0], 0)};
    }
    c.run("INSERT INTO players (key, name, token_hash, created) VALUES ($1, $2, $3, $4) "
          "ON CONFLICT (key) DO NOTHING",
          {run.nameKey, run.name, run.tokenHash, now});
    const Result owner = c.run("SELECT token_hash FROM players WHERE key = $1", {run.nameKey});
    if (owner.rows.empty() || owner.rows[0][0] != run.tokenHash) {
      return Submitted{Submitted::Outcome::NameTaken, 0};
    }
    if (number(c.run(kCountWaiting + " AND player_key = $1", {run.nameKey}).rows.at(0), 0) >=
        limits.perPlayer) {
      return Submitted{Submitted::Outcome::PlayerBusy, 0};
    }
    if (number(c.run(kCountWaiting).rows.at(0), 0) >= limits.board) {
      return Submitted{Submitted::Outcome::BoardBusy, 0};
    }
    const Result added = c.run(
        "INSERT INTO runs (digest, player_key, mode, claim_cs, submitted) VALUES ($1, $2, $3, "
        "$4, $5) ON CONFLICT (digest) DO NOTHING RETURNING id",
        {run.digest, run.nameKey, run.mode, std::int64_t(run.claimCentiseconds), now});
    if (added.rows.empty()) {  // the same replay, sent at the same moment by another client
      const Result other = c.run("SELECT id FROM runs WHERE digest = $1", {run.digest});
      return Submitted{Submitted::Outcome::Existing, number(other.rows.at(0), 0)};
    }
    const std::int64_t id = number(added.rows[0], 0);
    c.run("INSERT INTO replays (run_id, body) VALUES ($1, $2)", {id, run.replay});
    return Submitted{Submitted::Outcome::Queued, id};
  });
}

std::optional<Job> RunStore::claim(const std::string& owner, std::int64_t now, int leaseSeconds) {
  // Several servers on one PostgreSQL database each take a different run: a row another
  // transaction holds is skipped, not waited for. SQLite's writer lock does the same for one file.
  const std::string lock = db.dialect() == Dialect::Postgres ? " FOR UPDATE SKIP LOCKED" : "";
  return db.transaction([&](Connection& c) -> std::optional<Job> {
    const Result claimed = c.run(
        "UPDATE runs SET state = 'verifying', lease_owner = $1, lease_until = $2, "
        "attempts = attempts + 1 WHERE id = (SELECT id FROM runs WHERE state = 'queued' OR "
        "(state = 'verifying' AND lease_until < $3) ORDER BY id LIMIT 1" + lock +
            ") RETURNING id, attempts",
        {owner, now + leaseSeconds, now});
    if (claimed.rows.empty()) return std::nullopt;
    Job job{number(claimed.rows[0], 0), int(number(claimed.rows[0], 1)), {}};
    const Result body = c.run("SELECT body FROM replays WHERE run_id = $1", {job.id});
    job.replay = body.rows.at(0).at(0).value_or("");
    return job;
  });
}

void RunStore::finish(std::int64_t id, const std::string& owner, bool verified, int centiseconds,
                      const std::string& reason, std::int64_t now,
                      const std::vector<Picture>& pictures) {
  db.transaction([&](Connection& c) {
    const Result done = c.run(
        "UPDATE runs SET state = $1, reason = $2, time_cs = $3, decided = $4, "
        "lease_owner = NULL WHERE id = $5 AND lease_owner = $6 AND state = 'verifying'",
        {verified ? "verified" : "rejected", reason,
         verified ? Value(std::int64_t(centiseconds)) : Value(nullptr), now, id, owner});
    if (done.affected == 1 && verified) {
      c.run("INSERT INTO best (mode, player_key, run_id, time_cs) SELECT mode, player_key, id, "
            "time_cs FROM runs WHERE id = $1 ON CONFLICT (mode, player_key) DO UPDATE SET "
            "run_id = excluded.run_id, time_cs = excluded.time_cs "
            "WHERE excluded.time_cs > best.time_cs",
            {id});
      for (const Picture& picture : pictures) {
        c.run(
            "INSERT INTO pictures (run_id, name, tag, alt, body) VALUES ($1, $2, $3, $4, $5) "
            "ON CONFLICT (run_id, name) DO NOTHING",
            {id, picture.name, sha256Hex(picture.svg).substr(0, 32), picture.alt, picture.svg});
      }
    }
    return 0;
  });
}

void RunStore::extendLease(std::int64_t id, const std::string& owner, std::int64_t until) {
  db.run("UPDATE runs SET lease_until = $1 WHERE id = $2 AND lease_owner = $3", {until, id, owner});
}

void RunStore::release(std::int64_t id, const std::string& owner) {
  db.run("UPDATE runs SET state = 'queued', lease_owner = NULL, attempts = attempts - 1 "
         "WHERE id = $1 AND lease_owner = $2 AND state = 'verifying'",
         {id, owner});
}

std::optional<RunInfo> RunStore::run(std::int64_t id) {
  const Result found = db.run(
      "SELECT p.name, r.mode, r.state, r.reason, r.claim_cs, r.submitted, r.decided, "
      "b.run_id, b.time_cs FROM runs r JOIN players p ON p.key = r.player_key LEFT JOIN best b "
      "ON b.mode = r.mode AND b.player_key = r.player_key WHERE r.id = $1",
      {id});
  if (found.rows.empty()) return std::nullopt;
  const Row& row = found.rows[0];
  RunInfo info{id,      *row[0],        *row[1],        *row[2], *row[3], int(number(row, 4)),
               number(row, 5), number(row, 6), 0,       false};
  if (info.state == "verified" && row[7]) {
    info.best = number(row, 7) == id;
    info.rank = number(db.run(kRankOf, {info.mode, number(row, 8), number(row, 7)}).rows.at(0), 0);
  }
  return info;
}

std::vector<RunInfo> RunStore::runs(const std::string& where, const std::vector<Value>& values) {
  const Result found = db.run(
      "SELECT r.id, p.name, r.mode, r.state, r.reason, r.claim_cs, r.submitted, r.decided "
      "FROM runs r JOIN players p ON p.key = r.player_key " + where, values);
  std::vector<RunInfo> list;
  for (const Row& row : found.rows) {
    list.push_back({number(row, 0), *row[1], *row[2], *row[3], *row[4], int(number(row, 5)),
                    number(row, 6), number(row, 7), 0, false});
  }
  return list;
}

std::vector<RunInfo> RunStore::newestVerified(std::int64_t count) {
  return runs("WHERE r.state = 'verified' ORDER BY r.id DESC LIMIT $1", {count});
}

std::vector<RunInfo> RunStore::playerRuns(const std::string& nameKey, std::int64_t count) {
  return runs("WHERE r.player_key = $1 ORDER BY r.id DESC LIMIT $2", {nameKey, count});
}

std::optional<std::string> RunStore::replay(std::int64_t id) {
  const Result found = db.run("SELECT body FROM replays WHERE run_id = $1", {id});
  if (found.rows.empty()) return std::nullopt;
  return found.rows[0][0];
}

std::optional<StoredPicture> RunStore::picture(std::int64_t id, const std::string& name) {
  const Result found =
      db.run("SELECT tag, body FROM pictures WHERE run_id = $1 AND name = $2", {id, name});
  if (found.rows.empty()) return std::nullopt;
  return StoredPicture{*found.rows[0][0], *found.rows[0][1]};
}

std::vector<Picture> RunStore::pictures(std::int64_t id) {
  std::vector<Picture> list;
  for (const Row& row :
       db.run("SELECT name, alt FROM pictures WHERE run_id = $1 ORDER BY name", {id}).rows) {
    list.push_back({*row[0], *row[1], {}});
  }
  return list;
}

std::vector<DayBest> RunStore::bestByDay(const std::string& nameKey) {
  const Result days = db.run(
      "SELECT mode, decided / 86400 AS day, MAX(time_cs) FROM runs WHERE player_key = $1 AND "
      "state = 'verified' GROUP BY mode, decided / 86400 ORDER BY mode, day",
      {nameKey});
  std::vector<DayBest> list;
  for (const Row& row : days.rows) {
    DayBest day{*row[0], number(row, 1), int(number(row, 2))};
    // A day is as good as the best before it.
    if (!list.empty() && list.back().mode == day.mode) {
      day.centiseconds = std::max(day.centiseconds, list.back().centiseconds);
    }
    list.push_back(day);
  }
  return list;
}

std::vector<Entry> RunStore::board(const std::string& mode, std::int64_t offset,
                                   std::int64_t count) {
  const Result page = db.run(
      "SELECT p.name, b.time_cs, r.decided, b.run_id FROM best b JOIN runs r ON r.id = b.run_id "
      "JOIN players p ON p.key = b.player_key WHERE b.mode = $1 "
      "ORDER BY b.time_cs DESC, b.run_id LIMIT $2 OFFSET $3",
      {mode, count, offset});
  std::vector<Entry> entries;
  for (const Row& row : page.rows) {
    entries.push_back({offset + std::int64_t(entries.size()) + 1, *row[0], int(number(row, 1)),
                       number(row, 2), number(row, 3)});
  }
  return entries;
}

std::int64_t RunStore::entries(const std::string& mode) {
  return number(db.run("SELECT COUNT(*) FROM best WHERE mode = $1", {mode}).rows.at(0), 0);
}

std::int64_t RunStore::waiting() {
  return number(db.run(kCountWaiting).rows.at(0), 0);
}

}  // namespace board
