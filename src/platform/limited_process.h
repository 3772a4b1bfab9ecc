// A program run as a child process under limits: CPU time, memory, wall time, no network where
// the kernel allows a network namespace, and an unprivileged user when started as root. Used to
// run untrusted input through the game's own checks.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

namespace platform {

struct ProcessLimits {
  int cpuSeconds = 60;
  std::size_t memoryBytes = std::size_t(2) << 30;  // address space; 0: none (sanitized builds)
  double wallSeconds = 120;
  std::size_t outputBytes = 64 * 1024;  // of stdout and of stderr each; the rest is dropped
};

struct ProcessOutcome {
  enum class End { Exited, Signalled, WallTimeout, Stopped, StartFailed };
  End end = End::StartFailed;
  int code = 0;  // the exit status, or the signal
  std::string out;
  std::string err;
};

// Runs `argv` (argv[0] a path) with only `environment`, waits for its end and returns it. When
// `stop` becomes true, the child is killed and the outcome is Stopped.
ProcessOutcome runLimited(const std::vector<std::string>& argv,
                          const std::vector<std::string>& environment,
                          const ProcessLimits& limits, const std::atomic<bool>& stop);

// Whether children get a network namespace of their own (checked once, by trying).
bool childrenHaveNoNetwork();

// Makes `path` a new empty file that the children may write: one run as another user cannot make
// files in the scratch folder. A file or link already there is replaced. False when it cannot.
bool makeChildOutputFile(const std::string& path);

// A private scratch folder under the system's temporary folder, readable by the children.
std::string makeScratchFolder(const std::string& prefix);

}  // namespace platform
