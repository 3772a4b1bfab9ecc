// The board's runs: submitted, queued, claimed by a verifying process under a lease, then
// verified or rejected. Every run and its replay is kept; the board lists each player's best
// verified run per mode. The schema is made and migrated here, its version kept in the database.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "board/database.h"
#include "board/run_pictures.h"

namespace board {

struct NewRun {
  std::string digest;     // of the replay: the same replay is the same run
  std::string name;       // as the player wrote it, normalised
  std::string nameKey;    // the name as compared: two names with one key are one name
  std::string tokenHash;  // of the player's secret token
  std::string mode;       // "hard" or "easy"
  int claimCentiseconds = 0;
  std::string replay;
};

// How many runs may wait for verification (queued or being verified) when another is sent:
// verifying costs CPU time and each replay up to 2 MiB of disk, so neither one player nor the
// whole board may pile them up without end.
struct WaitingLimits {
  std::int64_t perPlayer = 4;  // a player's game sends one kept run per mode
  std::int64_t board = 1000;
};

struct Submitted {
  // Existing: the same replay was sent before under this name; SomeoneElses: under another.
  // PlayerBusy and BoardBusy: not queued, the player's or the board's waiting runs are at their
  // limit.
  enum class Outcome {
    Queued,
    Existing,
    NameTaken,
    SomeoneElses,
    PlayerBusy,
    BoardBusy
  } outcome = Outcome::Queued;
  std::int64_t id = 0;
};

struct Job {
  std::int64_t id = 0;
  int attempts = 0;  // this claim's included
  std::string replay;
};

struct RunInfo {
  std::int64_t id = 0;
  std::string name;
  std::string mode;
  std::string state;  // queued, verifying, verified or rejected
  std::string reason;
  int claimCentiseconds = 0;
  std::int64_t submitted = 0;   // seconds since 1970
  std::int64_t verifiedAt = 0;  // when verified or rejected
  std::int64_t rank = 0;        // of the player's entry, once verified
  bool best = false;            // this run is the player's entry
};

struct StoredPicture {
  std::string tag;  // a digest of the body
  std::string svg;
};

// A player's best time in a mode at the end of a day on which they had a run verified.
struct DayBest {
  std::string mode;
  std::int64_t day = 0;  // days since 1970 (UTC)
  int centiseconds = 0;
};

struct Entry {
  std::int64_t rank = 0;
  std::string name;
  int centiseconds = 0;
  std::int64_t date = 0;  // when the run was verified
  std::int64_t run = 0;
};

class RunStore {
 public:
  // Brings the schema to this version. Throws DatabaseError, also for a database a newer
  // server migrated.
  explicit RunStore(Database& database);

  // The limits are checked inside the transaction that queues the run; on PostgreSQL runs sent
  // at the same moment to several servers may pass a limit by a few.
  Submitted submit(const NewRun& run, std::int64_t now, const WaitingLimits& limits);
  // The oldest queued run, or one whose lease ran out, now leased to `owner` until
  // `now + leaseSeconds`.
  std::optional<Job> claim(const std::string& owner, std::int64_t now, int leaseSeconds);
  // Holds the lease until `until` if `owner` still holds it.
  void extendLease(std::int64_t id, const std::string& owner, std::int64_t until);
  // Records the verdict, and the pictures of a verified run, if `owner` still holds the lease.
  void finish(std::int64_t id, const std::string& owner, bool verified, int centiseconds,
              const std::string& reason, std::int64_t now,
              const std::vector<Picture>& pictures = {});
  // Gives a claimed run back to the queue.
  void release(std::int64_t id, const std::string& owner);

  std::optional<RunInfo> run(std::int64_t id);
  std::optional<std::string> replay(std::int64_t id);
  std::optional<StoredPicture> picture(std::int64_t id, const std::string& name);
  // A run's pictures by name, with their text alternatives but not their bodies.
  std::vector<Picture> pictures(std::int64_t id);
  // For each mode, the player's best verified time at the end of each day that had one, oldest
  // first: the best of the runs up to that day.
  std::vector<DayBest> bestByDay(const std::string& nameKey);
  // The newest verified runs, newest first, and a player's runs (by name key), without ranks.
  std::vector<RunInfo> newestVerified(std::int64_t count);
  std::vector<RunInfo> playerRuns(const std::string& nameKey, std::int64_t count);
  std::vector<Entry> board(const std::string& mode, std::int64_t offset, std::int64_t count);
  std::int64_t entries(const std::string& mode);
  std::int64_t waiting();  // queued or being verified

 private:
  void migrate();
  // Runs with their players, chosen and ordered by `where` (SQL after the FROM clause).
  std::vector<RunInfo> runs(const std::string& where, const std::vector<Value>& values);
  Database& db;
};

}  // namespace board
