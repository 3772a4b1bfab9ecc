// Waiting for sound that plays in real time on SDL's disk or dummy driver.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

// Waits up to ten seconds for `done`; false when it never came.
inline bool eventually(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}
