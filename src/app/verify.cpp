#include "app/verify.h"

#include <algorithm>

#include "app/best_times.h"

std::string verificationRefusal(const Replay& replay) {
  if (replay.isBestRun() && replay.claimKey != "Hard" && replay.claimKey != "Easy") {
    return "the claim names the mode \"" + replay.claimKey + "\"; a run is Hard or Easy";
  }
  return {};
}

int reportVerification(const Replay& replay, bool startReached,
                       const std::vector<StoredTime>& stored, std::ostream& out) {
  if (!replay.isBestRun()) {
    out << replay.frames.size() << " frames played";
    for (const StoredTime& time : stored) out << "; " << modeName(time.key) << " " << time.time;
    out << '\n';
    return 0;
  }
  const std::string mode = modeName(replay.claimKey);
  if (!startReached) {
    out << mode << " not verified: the run's start was not reached (claims " << replay.claimTime
        << ")\n";
    return 1;
  }
  // The time of the run is the last stored under its mode.
  const auto last = std::find_if(stored.rbegin(), stored.rend(), [&](const StoredTime& time) {
    return modeName(time.key) == mode;
  });
  if (last == stored.rend()) {
    out << mode << " not verified: the run stored no time (claims " << replay.claimTime << ")\n";
    return 1;
  }
  if (last->time != replay.claimTime) {
    out << mode << " " << last->time << " reached, not verified: the replay claims "
        << replay.claimTime << '\n';
    return 1;
  }
  out << mode << " " << last->time << " verified\n";
  return 0;
}
