// Threads that take queued runs from the store, verify them and record the verdict. A run whose
// server dies while verifying it is taken again by any server once its lease runs out.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "board/run_store.h"
#include "board/verifier.h"

namespace board {

// A run claimed this many times without a verdict (its servers died while verifying it) is
// rejected rather than taken again.
inline constexpr int kMaxAttempts = 3;

class VerificationWorkers {
 public:
  using Log = std::function<void(const std::string&)>;
  VerificationWorkers(RunStore& store, const Verifier& verifier, int count,
                      const std::string& serverId, Log log);
  ~VerificationWorkers();

  // Tells the threads a run was queued.
  void wake();
  // Kills the verifiers at work, gives their runs back to the queue and joins the threads.
  void stop();

 private:
  void work(const std::string& owner);
  bool verifyOne(const std::string& owner);

  RunStore& store;
  const Verifier& verifier;
  Log log;
  std::atomic<bool> stopping{false};
  std::mutex mutex;
  std::condition_variable woken;
  std::uint64_t wakeups = 0;  // runs queued on this server so far, under `mutex`
  std::vector<std::thread> threads;
};

}  // namespace board
