// The outcome of playing a replay to its end: the best times its charts stored, held against the
// time the replay claims.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/replay_file.h"

struct StoredTime {
  std::string key;   // the preference key, e.g. "Hard"
  std::string time;  // "MM:SS.CC"
};

// Why a replay is not played for a verdict at all, or empty when it may be: a claim for no mode
// of the game. (A claim's time, frame lengths, counts and sizes are checked as the file is read,
// see replay_file.h, so a best run costs no more than the run it claims.)
std::string verificationRefusal(const Replay& replay);

// Writes what the replay reached to `out`, e.g. "hard 00:05.75 verified", and returns the exit
// status: 0 when a best run stored exactly the time it claims (or a session replay played to its
// end), 1 when it stored another time, none, or never reached its start.
int reportVerification(const Replay& replay, bool startReached,
                       const std::vector<StoredTime>& stored, std::ostream& out);
