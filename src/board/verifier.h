// The one place the board runs the game's verifier: `aloft --verify FILE` in a child process
// under limits, its answer turned into a verdict.
#pragma once

#include <atomic>
#include <string>

#include "board/run_pictures.h"
#include "platform/limited_process.h"

namespace board {

struct Verdict {
  enum class Kind {
    Verified,
    Rejected,
    Unavailable  // the verifier could not be run or was stopped: the run goes back to the queue
  } kind = Kind::Rejected;
  int centiseconds = 0;  // the time it reached, when verified
  std::string reason;    // why rejected or unavailable
  // When verified: the flight (`aloft --flight`) and the node counts (`--count-nodes`) of the
  // run, or empty when the game could not write them.
  std::string flight, counts;
};

struct VerifierSettings {
  std::string game;       // the aloft program
  std::string resources;  // its --resources, or empty for its own
  // CPU seconds for any run, plus `secondsPerGameSecond` for each second it claims.
  double cpuSeconds = 30;
  double secondsPerGameSecond = 1;
  std::size_t memoryBytes = std::size_t(2) << 30;
};

class Verifier {
 public:
  // `scratch` is a folder for the replay files handed to the game.
  Verifier(VerifierSettings settings, std::string scratch);

  Verdict verify(const std::string& replay, int claimCentiseconds, const std::string& mode,
                 const std::atomic<bool>& stop) const;

  // The pictures of a verified run, from what its verification wrote (see run_pictures.h); those
  // that could not be made are left out.
  std::vector<Picture> pictures(const Verdict& verdict, const std::atomic<bool>& stop) const;

  // The CPU time and the wall time the verifier is given for a run of that claim.
  double cpuLimit(int claimCentiseconds) const;
  double timeLimit(int claimCentiseconds) const;

 private:
  VerifierSettings settings;
  std::string scratch;
};

}  // namespace board
