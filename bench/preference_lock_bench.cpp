// What the preference lock costs a frame. A frame whose charts run a preference command takes
// the lock and reads the file again (`Preferences::holdLock`), and gives the lock up at its end;
// a frame without one only asks at its end whether the lock is held. Measured on a file holding
// both best times, in the temporary folder, with nobody else holding the lock.
// Run: build/bench/preference_lock_bench
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "platform/files.h"
#include "chart/preferences.h"

namespace {

namespace fs = std::filesystem;

class PreferenceFolder {
 public:
  PreferenceFolder() {
    char pattern[] = "/tmp/aloft-lock-bench-XXXXXX";
    directory = mkdtemp(pattern);
    chart::Preferences::open(file());
    chart::Preferences::share().save("Easy", nlohmann::json{0, 0, 4, 2, 1, 7});
    chart::Preferences::share().save("Hard", nlohmann::json{0, 1, 0, 3, 5, 0});
    chart::Preferences::endFrame();
  }
  ~PreferenceFolder() { fs::remove_all(directory); }
  std::string file() const { return (directory / "preferences.json").string(); }

 private:
  fs::path directory;
};

// The end of a frame that ran no preference command.
void FrameWithoutPreferenceCommand(benchmark::State& state) {
  const PreferenceFolder folder;
  for (auto _ : state) chart::Preferences::endFrame();
}
BENCHMARK(FrameWithoutPreferenceCommand);

// `flock` alone: open the lock file, lock, close.
void LockFileOnly(benchmark::State& state) {
  const PreferenceFolder folder;
  platform::FileLock lock(folder.file() + ".lock");
  for (auto _ : state) {
    if (lock.acquire(chart::kPreferenceLockWait) != 0) state.SkipWithError("no lock");
    lock.release();
  }
}
BENCHMARK(LockFileOnly)->Unit(benchmark::kMicrosecond);

// A frame of the stats screen's set-up: the lock, the file read again, two reads, the end.
void FrameWithPreferenceOpen(benchmark::State& state) {
  const PreferenceFolder folder;
  chart::Preferences& preferences = chart::Preferences::share();
  for (auto _ : state) {
    preferences.holdLock();
    benchmark::DoNotOptimize(preferences.find("Hard"));
    benchmark::DoNotOptimize(preferences.find("Easy"));
    chart::Preferences::endFrame();
  }
}
BENCHMARK(FrameWithPreferenceOpen)->Unit(benchmark::kMicrosecond);

// The frame a run lands in with a new best time: the lock, the read, the save (three syncs to
// disk), the end. The save dominates.
void FrameWithPreferenceSave(benchmark::State& state) {
  const PreferenceFolder folder;
  chart::Preferences& preferences = chart::Preferences::share();
  int hundredths = 0;
  for (auto _ : state) {
    preferences.holdLock();
    benchmark::DoNotOptimize(preferences.find("Hard"));
    ++hundredths;
    preferences.save("Hard", nlohmann::json{0, 0, hundredths / 1000 % 10, hundredths / 100 % 10,
                                            hundredths / 10 % 10, hundredths % 10});
    chart::Preferences::endFrame();
  }
}
BENCHMARK(FrameWithPreferenceSave)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
