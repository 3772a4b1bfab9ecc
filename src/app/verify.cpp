#include "app/verify.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace {

// A best run's frames: at most a thousand a second (ten times the frame timer's rate) over the
// claimed time and a wait of ten minutes on the game screen before the first key.
constexpr std::int64_t kMaxFramesPerSecond = 1000;
constexpr std::int64_t kMaxWaitSeconds = 600;

// The seconds of a time "MM:SS.CC", rounded up; -1 when it is not one.
std::int64_t claimedSeconds(const std::string& time) {
  if (time.size() != 8 || time[2] != ':' || time[5] != '.') return -1;
  for (const std::size_t at : {0, 1, 3, 4, 6, 7}) {
    if (!std::isdigit(static_cast<unsigned char>(time[at]))) return -1;
  }
  auto digits = [&](std::size_t at) { return (time[at] - '0') * 10 + (time[at + 1] - '0'); };
  if (digits(3) > 59) return -1;
  return std::int64_t(digits(0)) * 60 + digits(3) + 1;
}

std::string lowercase(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::string verificationRefusal(const Replay& replay) {
  if (!replay.isBestRun()) return {};
  if (replay.claimKey != "Hard" && replay.claimKey != "Easy") {
    return "the claim names the mode \"" + replay.claimKey + "\"; a run is Hard or Easy";
  }
  const std::int64_t seconds = claimedSeconds(replay.claimTime);
  if (seconds < 0) return "the claimed time \"" + replay.claimTime + "\" is not MM:SS.CC";
  const std::int64_t limit = (seconds + kMaxWaitSeconds) * kMaxFramesPerSecond;
  if (std::int64_t(replay.frames.size()) > limit) {
    return std::to_string(replay.frames.size()) + " frames for a run of " + replay.claimTime +
           ": more than " + std::to_string(limit) + " (a thousand a second, and ten minutes of "
           "waiting)";
  }
  return {};
}

int reportVerification(const Replay& replay, bool startReached,
                       const std::vector<StoredTime>& stored, std::ostream& out) {
  if (!replay.isBestRun()) {
    out << replay.frames.size() << " frames played";
    for (const StoredTime& time : stored) out << "; " << lowercase(time.key) << " " << time.time;
    out << '\n';
    return 0;
  }
  const std::string mode = lowercase(replay.claimKey);
  if (!startReached) {
    out << mode << " not verified: the run's start was not reached (claims " << replay.claimTime
        << ")\n";
    return 1;
  }
  // The time of the run is the last stored under its mode.
  const auto last = std::find_if(stored.rbegin(), stored.rend(), [&](const StoredTime& time) {
    return lowercase(time.key) == mode;
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
