#include "board/verification_workers.h"

#include <chrono>

#include "board/submission_check.h"

namespace board {
namespace {

std::int64_t now() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// How long a claim is held before the run's own time limit is known, and beyond it.
constexpr int kClaimLeaseSeconds = 10;

}  // namespace

VerificationWorkers::VerificationWorkers(RunStore& runs, const Verifier& runVerifier, int count,
                                         const std::string& serverId, Log logLine)
    : store(runs), verifier(runVerifier), log(std::move(logLine)) {
  for (int i = 0; i < count; ++i) {
    threads.emplace_back([this, owner = serverId + "/" + std::to_string(i)] { work(owner); });
  }
}

VerificationWorkers::~VerificationWorkers() { stop(); }

void VerificationWorkers::wake() {
  {
    const std::lock_guard lock(mutex);
    ++wakeups;
  }
  woken.notify_all();
}

void VerificationWorkers::stop() {
  stopping = true;
  woken.notify_all();
  for (std::thread& thread : threads) {
    if (thread.joinable()) thread.join();
  }
}

void VerificationWorkers::work(const std::string& owner) {
  while (!stopping) {
    bool busy = false;
    try {
      busy = verifyOne(owner);
    } catch (const DatabaseError& error) {
      log(std::string("database: ") + error.what());
    }
    if (busy) continue;
    // Idle: a submission to this server wakes the thread; another server's is seen within a
    // second.
    std::unique_lock lock(mutex);
    const std::uint64_t seen = wakeups;
    woken.wait_for(lock, std::chrono::seconds(1),
                   [this, seen] { return stopping || wakeups != seen; });
  }
}

bool VerificationWorkers::verifyOne(const std::string& owner) {
  const auto job = store.claim(owner, now(), kClaimLeaseSeconds);
  if (!job) return false;
  std::string reason;
  const auto claim = checkReplay(job->replay, reason);
  if (!claim) {
    store.finish(job->id, owner, false, 0, reason, now());
  } else if (job->attempts > kMaxAttempts) {
    store.finish(job->id, owner, false, 0,
                 "its verification never ended (" + std::to_string(kMaxAttempts) + " attempts)",
                 now());
  } else {
    const int limit = int(verifier.timeLimit(claim->centiseconds));
    store.extendLease(job->id, owner, now() + limit + kClaimLeaseSeconds);
    const Verdict verdict = verifier.verify(job->replay, claim->centiseconds, claim->mode, stopping);
    if (verdict.kind == Verdict::Kind::Unavailable) {
      store.release(job->id, owner);
      if (stopping) return false;
      log("run " + std::to_string(job->id) + " back to the queue: " + verdict.reason);
      std::this_thread::sleep_for(std::chrono::seconds(5));
      return false;
    }
    const bool verified = verdict.kind == Verdict::Kind::Verified;
    const std::vector<Picture> pictures =
        verified ? verifier.pictures(verdict, stopping) : std::vector<Picture>{};
    if (stopping) {  // its pictures were cut short: verified again, whole, by the next server
      store.release(job->id, owner);
      return false;
    }
    store.finish(job->id, owner, verified, verdict.centiseconds, verdict.reason, now(), pictures);
    log("run " + std::to_string(job->id) + " " +
        (verified ? "verified, " + std::to_string(pictures.size()) + " pictures"
                  : "rejected: " + verdict.reason));
  }
  return true;
}

}  // namespace board
