// Many whole runs of the game in one process: the real chart tree in a headless view with the
// fixed-step clock, driven by seeded random runs (random_runs.h). After every run, on the stats
// screen again, the engine must hold exactly the polygons, picking entries, textures and sounds
// it held on the stats screen before the first run; a run that does not land within its script
// fails the soak. Prints the resident memory as it goes. Exits 1 on the first fault.
#include <malloc.h>
#include <unistd.h>

#include <GL/gl.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/input_script.h"
#include "app/opengl_view.h"
#include "app/resource_folder.h"
#include "app/root_chart.h"
#include "app/run_loop.h"
#include "chart/data.h"
#include "chart/preferences.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "random_runs.h"
#include "support/engine_counts.h"

namespace {

constexpr double kFrameLength = 0.01;

long residentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

std::string describe(const EngineCounts& counts) {
  return std::to_string(counts.polygons) + " polygons, " + std::to_string(counts.picking) +
         " picking entries, " + std::to_string(counts.textures) + " textures, " +
         std::to_string(counts.sounds) + " sounds";
}

bool runEnded() { return Data::share().globalVariableDictionary().find("gvRestart") != nullptr; }

class Soak {
 public:
  Soak(platform::Window& gameWindow, platform::Clock& frameClock)
      : window(gameWindow), clock(frameClock), view(window, clock, makeStartChart()) {
    view.awakeFromNib();
  }

  // Runs the frames up to `lastFrame` with `script`; returns how many runs ended in them.
  int play(std::int64_t lastFrame, InputScript* script) {
    int ended = 0;
    bool endSeen = runEnded();
    while (view.framesDrawn() < lastFrame && !view.quitRequested()) {
      RunSettings settings;
      settings.frameLimit = view.framesDrawn() + 1;
      settings.script = script;
      runFrames(view, window, clock, settings);
      // A window's buffer swap waits for the display; the headless one does not, and without a
      // wait the GL driver queues up frames still to be drawn, hundreds of megabytes of its own
      // memory that would hide ours.
      glFinish();
      const bool end = runEnded();
      if (end && !endSeen) ++ended;
      endSeen = end;
    }
    return ended;
  }

 private:
  platform::Window& window;
  platform::Clock& clock;
  OpenGLView view;
};

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Whole runs of the game in one process, with the engine's counts checked"};
  int runs = 10;
  std::uint32_t seed = 1;
  int width = 120;
  int height = 80;
  int reportEvery = 100;
  app.add_option("--runs", runs, "Number of runs")->check(CLI::PositiveNumber);
  app.add_option("--seed", seed, "Seed of the random input");
  app.add_option("--width", width, "Window width in points (3 : 2 with the height)")
      ->check(CLI::Range(3, 10000));
  app.add_option("--height", height, "Window height in points")->check(CLI::Range(2, 10000));
  app.add_option("--report-every", reportEvery, "Print a line every this many runs")
      ->check(CLI::PositiveNumber);
  CLI11_PARSE(app, argc, argv);

  char pattern[] = "/tmp/aloft-soak-XXXXXX";
  const std::filesystem::path directory = mkdtemp(pattern);
  chart::Preferences::open(directory / "preferences.json");
  Data::share().setResourcePath(
      findResourceFolder(resourceFolderCandidates(platform::executableDirectory())));
  std::string error;
  auto window = platform::Window::open({"aloft soak", {width, height}, true}, error);
  if (!window) {
    std::fprintf(stderr, "aloft-soak: no window: %s\n", error.c_str());
    return 1;
  }
  platform::FixedStepClock clock{kFrameLength};
  auto soak = std::make_unique<Soak>(*window, clock);
  RandomRuns randomRuns(seed, {width, height});

  // The logos, up to the stats screen and the first click.
  std::int64_t frame = RandomRuns::kFirstRunFrame;
  soak->play(frame - 1, nullptr);
  const EngineCounts onStats = engineCounts();
  std::printf("stats screen before the first run: %s, VmRSS %ld kB\n", describe(onStats).c_str(),
              residentKb());

  int failures = 0;
  for (int run = 1; run <= runs && failures == 0; ++run) {
    std::string text;
    const std::int64_t next = randomRuns.appendRun(frame, text);
    std::istringstream in(text);
    auto script = InputScript::parse(in, "run " + std::to_string(run), error);
    if (!script) {
      std::fprintf(stderr, "aloft-soak: bad script: %s\n", error.c_str());
      return 1;
    }
    const int landings = soak->play(next - 1, &*script);
    frame = next;
    const EngineCounts after = engineCounts();
    if (landings != 1) {
      std::fprintf(stderr, "run %d (frames from %lld): %d landings instead of 1\n", run,
                   static_cast<long long>(next), landings);
      ++failures;
    }
    if (!(after == onStats)) {
      std::fprintf(stderr, "run %d: the engine holds %s after it, %s before the first run\n",
                   run, describe(after).c_str(), describe(onStats).c_str());
      ++failures;
    }
    if (run == 1 || run % reportEvery == 0 || run == runs) {
      const struct mallinfo2 heap = mallinfo2();
      std::printf("run %d, frame %lld: %s, VmRSS %ld kB, heap in use %zu kB (mmapped %zu kB)\n",
                  run, static_cast<long long>(frame), describe(after).c_str(), residentKb(),
                  (heap.uordblks + heap.hblkhd) / 1024, heap.hblkhd / 1024);
      std::fflush(stdout);
    }
  }

  soak.reset();
  window.reset();
  std::filesystem::remove_all(directory);
  return failures == 0 ? 0 : 1;
}
