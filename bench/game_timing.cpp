// Times the real game binary from outside: it starts `aloft --headless` with the present probe
// (bench/present_probe.cpp) preloaded, which reports the monotonic time of every presented
// frame through a pipe, and reads the child's peak resident set from wait4.
//
//   game_timing startup [--runs 20]   exec to the first presented frame and to the first frame
//                                     that shows a logo, real clock; medians over the runs
//   game_timing memory                peak RSS over a scripted run: logos, stats, a hard run
//                                     that lands, the stats screen again
//   game_timing pacing [--frames 3000]  intervals between presented frames with the real clock
//                                     over logos, stats and a run in flight: histogram and
//                                     percentiles against the 10 ms tick
// Common options: --game PATH (default: ../aloft beside this program), --probe PATH (default:
// libpresent_probe.so beside it).
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The view's first frame shows the cleared screen only; in the second the logos chart builds its
// first picture without drawing it; the third is the first to show it (checked with
// --screenshot: frame 2 is one colour, frame 3 has thousands).
constexpr int kFirstLogoFrame = 3;
constexpr double kTickMs = 10.0;

std::int64_t monotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

[[noreturn]] void fail(const std::string& message) {
  std::fprintf(stderr, "game_timing: %s\n", message.c_str());
  std::exit(1);
}

struct Paths {
  fs::path game;
  fs::path probe;
  fs::path scratch;  // preferences and scripts of the runs
};

// Where the resident memory is, from /proc/PID/smaps: the GL driver's code (Mesa's software
// rasteriser and the LLVM it compiles shaders with), other mapped files (the game and its
// libraries), and anonymous memory (heap, stacks, the driver's buffers).
struct MemorySample {
  long totalKb = 0;
  long driverCodeKb = 0;
  long otherFilesKb = 0;
  long anonymousKb = 0;
};

MemorySample sampleMemory(pid_t child) {
  MemorySample sample;
  std::ifstream smaps("/proc/" + std::to_string(child) + "/smaps");
  std::string line, mapping;
  while (std::getline(smaps, line)) {
    if (line.empty()) continue;
    if (std::isxdigit(static_cast<unsigned char>(line[0])) && line.find('-') < line.find(' ')) {
      // "start-end perms offset dev inode   path": the path, if any, is the sixth field.
      std::size_t at = 0;
      for (int field = 0; field < 5 && at != std::string::npos; ++field) {
        at = line.find_first_not_of(' ', line.find(' ', at));
      }
      mapping = at == std::string::npos ? "" : line.substr(at);
      continue;
    }
    if (!line.starts_with("Rss:")) continue;
    const long kb = std::atol(line.c_str() + 4);
    sample.totalKb += kb;
    if (mapping.find("libLLVM") != std::string::npos || mapping.find("_dri.so") != std::string::npos) {
      sample.driverCodeKb += kb;
    } else if (mapping.starts_with("/")) {
      sample.otherFilesKb += kb;
    } else {
      sample.anonymousKb += kb;
    }
  }
  return sample;
}

struct Run {
  std::int64_t startNs = 0;  // just before the game was spawned
  std::vector<std::int64_t> presents;
  long peakRssKb = 0;
  double cpuSeconds = 0;        // user and system, the whole run
  MemorySample largestSample;   // when sampling: the sample with the most resident memory
  int exitStatus = -1;
};

// Runs the game with `options` until it exits; with `sampleMemoryMs`, samples its memory at
// that interval.
Run runGame(const Paths& paths, const std::vector<std::string>& options,
            int sampleMemoryMs = 0) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) fail("no pipe");
  fcntl(pipeFds[0], F_SETFD, FD_CLOEXEC);

  std::vector<std::string> arguments = {paths.game.string(), "--headless", "--prefs",
                                        (paths.scratch / "prefs.json").string()};
  arguments.insert(arguments.end(), options.begin(), options.end());
  std::vector<std::string> environment = {"LD_PRELOAD=" + paths.probe.string(),
                                          "ALOFT_PRESENT_FD=" + std::to_string(pipeFds[1])};
  for (char** entry = environ; *entry; ++entry) {
    const std::string_view text = *entry;
    if (!text.starts_with("LD_PRELOAD=") && !text.starts_with("ALOFT_PRESENT_FD=")) {
      environment.emplace_back(text);
    }
  }
  std::vector<char*> argv, envp;
  for (auto& argument : arguments) argv.push_back(argument.data());
  for (auto& entry : environment) envp.push_back(entry.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);

  Run run;
  run.startNs = monotonicNs();
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) {
    fail("could not start " + paths.game.string());
  }
  close(pipeFds[1]);
  std::int64_t stamp = 0;
  pollfd reports{pipeFds[0], POLLIN, 0};
  for (;;) {
    const int ready = poll(&reports, 1, sampleMemoryMs > 0 ? sampleMemoryMs : -1);
    if (sampleMemoryMs > 0) {
      const MemorySample sample = sampleMemory(child);
      if (sample.totalKb > run.largestSample.totalKb) run.largestSample = sample;
    }
    if (ready <= 0) continue;
    if (read(pipeFds[0], &stamp, sizeof stamp) != sizeof stamp) break;
    run.presents.push_back(stamp);
  }
  close(pipeFds[0]);

  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.peakRssKb = usage.ru_maxrss;
  run.cpuSeconds = double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) / 1e6 +
                   double(usage.ru_stime.tv_sec) + double(usage.ru_stime.tv_usec) / 1e6;
  if (run.exitStatus != 0) fail("the game exited with status " + std::to_string(status));
  return run;
}

double msBetween(std::int64_t from, std::int64_t to) { return double(to - from) / 1e6; }

double percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto at = std::size_t(fraction * double(values.size() - 1) + 0.5);
  return values[std::min(at, values.size() - 1)];
}

fs::path writeScript(const Paths& paths, const std::string& name, const std::string& text) {
  const fs::path path = paths.scratch / name;
  std::ofstream(path) << text;
  return path;
}

// The stats screen comes after the 6 seconds of logos; HARD is clicked at frame 700 (its panel's
// middle on the default 960 x 640 window) and the run started with a key at 760.
std::string hardRunScript() {
  return "700 mouse-move 480 104\n700 mouse-down left\n701 mouse-up left\n"
         "760 key-down Space\n761 key-up Space\n";
}

void startup(const Paths& paths, int runs) {
  std::vector<double> firstFrame, firstLogo, cpu;
  long peak = 0;
  for (int at = 0; at < runs; ++at) {
    const Run run = runGame(paths, {"--frames", std::to_string(kFirstLogoFrame)});
    if (run.presents.size() != std::size_t(kFirstLogoFrame)) {
      fail("the probe reported " + std::to_string(run.presents.size()) + " frames");
    }
    firstFrame.push_back(msBetween(run.startNs, run.presents.front()));
    firstLogo.push_back(msBetween(run.startNs, run.presents[kFirstLogoFrame - 1]));
    peak = std::max(peak, run.peakRssKb);
    cpu.push_back(run.cpuSeconds * 1000);
  }
  std::printf("start-up, %d runs (real clock), ms from spawn: median / min / max\n", runs);
  std::printf("  first presented frame   %7.1f %7.1f %7.1f\n", percentile(firstFrame, 0.5),
              percentile(firstFrame, 0), percentile(firstFrame, 1));
  std::printf("  first logo drawn (frame %d) %5.1f %7.1f %7.1f\n", kFirstLogoFrame,
              percentile(firstLogo, 0.5), percentile(firstLogo, 0), percentile(firstLogo, 1));
  std::printf("  CPU time of a whole run to frame %d and exit (user + system): median %.0f ms\n",
              kFirstLogoFrame, percentile(cpu, 0.5));
  std::printf("  peak RSS of these runs  %.1f MB\n", double(peak) / 1024);
}

void memory(const Paths& paths) {
  // Climb 40 frames, turn right 36 (nose down), dive: the run lands near frame 900 and the
  // stats screen shows again until 1100.
  const fs::path script = writeScript(
      paths, "memory-script.txt", hardRunScript() + "800 key-down Right\n836 key-up Right\n");
  const Run run = runGame(
      paths, {"--fixed-step", "0.01", "--frames", "1100", "--script", script.string()}, 50);
  const MemorySample& largest = run.largestSample;
  std::printf("peak RSS over logos, stats, a hard run and the stats again (1,100 frames): "
              "%.1f MB\n",
              double(run.peakRssKb) / 1024);
  std::printf("largest of the samples taken every 50 ms: %.1f MB = GL driver code (Mesa, LLVM) "
              "%.1f + other mapped files (game, libraries) %.1f + anonymous (heap, stacks, "
              "driver buffers) %.1f\n",
              double(largest.totalKb) / 1024, double(largest.driverCodeKb) / 1024,
              double(largest.otherFilesKb) / 1024, double(largest.anonymousKb) / 1024);
}

void pacing(const Paths& paths, int frames) {
  const fs::path script = writeScript(paths, "pacing-script.txt", hardRunScript());
  const Run run =
      runGame(paths, {"--frames", std::to_string(frames), "--script", script.string()});
  std::vector<double> intervals;
  for (std::size_t at = 1; at < run.presents.size(); ++at) {
    intervals.push_back(msBetween(run.presents[at - 1], run.presents[at]));
  }
  if (intervals.empty()) fail("no frames reported");

  const double edges[] = {0, 9.0, 9.5, 9.8, 9.9, 10.0, 10.1, 10.2, 10.5, 11.0, 12.0, 15.0, 20.0,
                          50.0};
  std::printf("frame pacing, %zu intervals between presented frames (real clock, %g ms tick)\n",
              intervals.size(), kTickMs);
  std::printf("  interval (ms)      frames\n");
  const std::size_t bins = std::size(edges);
  for (std::size_t bin = 0; bin < bins; ++bin) {
    const double low = edges[bin];
    const double high = bin + 1 < bins ? edges[bin + 1] : 1e300;
    const auto count = std::count_if(intervals.begin(), intervals.end(),
                                     [&](double ms) { return ms >= low && ms < high; });
    if (bin + 1 < bins) {
      std::printf("  [%5.1f, %5.1f)  %8td\n", low, high, count);
    } else {
      std::printf("  >= %5.1f        %8td\n", low, count);
    }
  }
  std::printf("  median %.3f ms, p99 %.3f ms, p99.9 %.3f ms, max %.3f ms\n",
              percentile(intervals, 0.5), percentile(intervals, 0.99),
              percentile(intervals, 0.999), percentile(intervals, 1.0));
  // The longest intervals and the frames they end at: loads show up here.
  std::vector<std::size_t> order(intervals.size());
  for (std::size_t at = 0; at < order.size(); ++at) order[at] = at;
  std::partial_sort(order.begin(), order.begin() + std::min<std::size_t>(5, order.size()),
                    order.end(), [&](auto a, auto b) { return intervals[a] > intervals[b]; });
  std::printf("  longest:");
  for (std::size_t at = 0; at < std::min<std::size_t>(5, order.size()); ++at) {
    std::printf(" %.1f ms (frame %zu)", intervals[order[at]], order[at] + 2);
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) fail("usage: game_timing startup|memory|pacing [options]");
  const std::string_view what = argv[1];
  const fs::path here = fs::canonical("/proc/self/exe").parent_path();
  Paths paths{here.parent_path() / "aloft", here / "libpresent_probe.so", {}};
  int runs = 20, frames = 3000;
  for (int at = 2; at + 1 < argc; at += 2) {
    const std::string_view option = argv[at];
    const char* value = argv[at + 1];
    if (option == "--runs") {
      runs = std::atoi(value);
    } else if (option == "--frames") {
      frames = std::atoi(value);
    } else if (option == "--game") {
      paths.game = value;
    } else if (option == "--probe") {
      paths.probe = value;
    } else {
      fail("unknown option " + std::string(option));
    }
  }
  char pattern[] = "/tmp/aloft-game-timing-XXXXXX";
  if (!mkdtemp(pattern)) fail("no scratch folder");
  paths.scratch = pattern;

  if (what == "startup") {
    startup(paths, std::max(runs, 1));
  } else if (what == "memory") {
    memory(paths);
  } else if (what == "pacing") {
    pacing(paths, std::max(frames, 2));
  } else {
    fail("unknown measurement " + std::string(what));
  }
  fs::remove_all(paths.scratch);
  return 0;
}
