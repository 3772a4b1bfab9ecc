// The cost of the game's frame on each screen: the logos, the stats screen and a run in flight,
// played by the real game's chart tree with the real engine in a headless window on Mesa, with
// the fixed 10 ms step. For every frame it takes the main thread's CPU time of the chart tree
// (the root chart's update, where OpenGLView::renderFrame calls it), the heap allocations made
// in it (the counting operator new) and the GL calls it made (through the GL layer). Each screen
// is measured twice on the same game state: with the GL calls forwarded to the driver, and with
// them dropped, which leaves the game's own part.
//
// The stats screen stays until clicked, so it is measured for as many frames as asked. A run
// started with a key and never turned climbs to the ceiling and stays in flight, its clock
// counting one hundredth a frame. The logos are a timed sequence of 6 seconds: all of its frames
// are measured, once per mode, each time from a fresh chart tree.
//
// Run: build/bench/frame_bench [--frames N] [--samples FOLDER]
//   --frames N      frames measured on the stats and game screens in each mode (10000)
//   --samples DIR   also writes every frame's figures to DIR/frames-SCREEN-MODE.csv
// With ALOFT_GL_CALLS=SCREEN, the GL calls per frame of that screen's measured frames are
// printed by entry point to standard error.
// With ALOFT_TRACE_ALLOCATIONS=SCREEN (logos, stats or game) in the environment, every
// allocation in that screen's measured frames prints its call stack to standard error
// (`addr2line -f -C -e build/bench/frame_bench OFFSET` names the functions).
#include <GL/gl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/opengl_view.h"
#include "app/resource_folder.h"
#include "app/root_chart.h"
#include "chart/chart.h"
#include "chart/data.h"
#include "chart/list.h"
#include "chart/preferences.h"
#include "chart/text.h"
#include "chart/utf16.h"
#include "counting_new.h"
#include "engine/kiv_alert.h"
#include "engine/kiv_polygons.h"
#include "gl_layer.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/paths.h"
#include "platform/window.h"

namespace {

namespace fs = std::filesystem;

constexpr double kStep = 0.01;
constexpr platform::Size kWindowSize{960, 640};  // the game's default window
constexpr int kHardX = 480;                      // the middle of the HARD panel on that window
constexpr int kHardY = 104;
constexpr int kScreenChangeLimit = 2000;  // frames allowed for reaching a screen

double threadCpuNs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e9 + double(now.tv_nsec);
}

struct FrameSample {
  double chartCpuNs = 0;  // the root chart's update
  double frameCpuNs = 0;  // the whole frame: events, clear, update, present
  long allocations = 0;   // in the update
  long glCalls = 0;       // in the update
};

// The chart tree in the view's frame, run frame by frame as OpenGLView::renderFrame runs it,
// with the update timed on its own.
class FrameRunner {
 public:
  FrameRunner(platform::Window& gameWindow, OpenGLView& gameView, platform::Clock& frameClock)
      : window(gameWindow), view(gameView), clock(frameClock) {}

  void newTree() {
    root.reset();
    root = makeStartChart();
    firstFrame = true;
  }
  void releaseTree() { root.reset(); }

  FrameSample frame() {
    const double frameStart = threadCpuNs();
    clock.waitForNextTick();
    view.takeFrameEvents();
    chart::Data& data = chart::Data::share();
    data.startFrame(firstFrame ? 0.0f : float(kStep), view.currentEvent());
    firstFrame = false;
    engine::KivPolygons::share().pickingPoint(view.mouseLocation().x, view.mouseLocation().y);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();

    FrameSample sample;
    const long allocationsBefore = heapAllocations();
    const long callsBefore = gl_layer::calls();
    const double updateStart = threadCpuNs();
    root->update(chart::kDefaultSnippet);
    const double updateEnd = threadCpuNs();
    sample.allocations = heapAllocations() - allocationsBefore;
    sample.glCalls = gl_layer::calls() - callsBefore;
    sample.chartCpuNs = updateEnd - updateStart;

    window.present();
    sample.frameCpuNs = threadCpuNs() - frameStart;
    return sample;
  }

  // The screen the director runs: "Logo", "Stats", "Game", or "" before it exists.
  std::string screen() const {
    const chart::Chart* menus = childIn(root->chart(), "menus");
    if (!menus) return "";
    const chart::Cell* menu = cellNamed(*menus, "menu");
    if (!menu || menu->type != chart::kText || !menu->text) return "";
    return chart::toUtf8(menu->text->units);
  }

 private:
  static const chart::Cell* cellNamed(const chart::Chart& chart, std::string_view name) {
    const auto& names = chart.program().cellNames;
    for (std::size_t at = 0; at < names.size(); ++at) {
      if (names[at] == name) return &chart.cells()[at];
    }
    return nullptr;
  }
  static const chart::Chart* childIn(const chart::Chart& chart, std::string_view name) {
    const chart::Cell* list = cellNamed(chart, name);
    if (!list || list->type != chart::kObjectList || !list->object || list->object->size() == 0) {
      return nullptr;
    }
    const auto* child = std::get_if<chart::Chart*>(&(*list->object)[0]);
    return child ? *child : nullptr;
  }

  platform::Window& window;
  OpenGLView& view;
  platform::Clock& clock;
  std::unique_ptr<RootChart> root;
  bool firstFrame = true;
};

struct Summary {
  std::string screen;
  std::string mode;
  std::vector<FrameSample> samples;
  long residentGrowthKb = 0;  // over the measured frames: a leak shows here
};

long residentKb() {
  long pages = 0, resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto at = std::size_t(fraction * double(values.size() - 1) + 0.5);
  return values[std::min(at, values.size() - 1)];
}

void print(const Summary& summary) {
  std::vector<double> chart, frame;
  long allocations = 0, allocatingFrames = 0, callsMin = -1, callsMax = 0;
  for (std::size_t at = 0; at < summary.samples.size(); ++at) {
    const FrameSample& sample = summary.samples[at];
    chart.push_back(sample.chartCpuNs / 1000);
    frame.push_back(sample.frameCpuNs / 1000);
    // The first frame of a screen builds it; the steady state is every frame after.
    if (at > 0) {
      allocations += sample.allocations;
      if (sample.allocations > 0) ++allocatingFrames;
    }
    callsMin = callsMin < 0 ? sample.glCalls : std::min(callsMin, sample.glCalls);
    callsMax = std::max(callsMax, sample.glCalls);
  }
  std::printf(
      "%-6s %-8s %6zu | %8.2f %8.2f %9.2f | %8.2f %8.2f %9.2f | %6ld %6ld | %4ld-%-4ld | %6ld "
      "| %+8ld\n",
      summary.screen.c_str(), summary.mode.c_str(), summary.samples.size(),
      percentile(chart, 0.5), percentile(chart, 0.99), percentile(chart, 1.0),
      percentile(frame, 0.5), percentile(frame, 0.99), percentile(frame, 1.0),
      allocatingFrames, allocations, callsMin, callsMax,
      summary.samples.empty() ? 0L : summary.samples.front().allocations,
      summary.residentGrowthKb);
}

void writeSamples(const fs::path& folder, const Summary& summary) {
  std::ofstream out(folder / ("frames-" + summary.screen + "-" + summary.mode + ".csv"));
  out << "frame,chart_cpu_ns,frame_cpu_ns,allocations,gl_calls\n";
  for (std::size_t at = 0; at < summary.samples.size(); ++at) {
    const FrameSample& s = summary.samples[at];
    out << at << ',' << s.chartCpuNs << ',' << s.frameCpuNs << ',' << s.allocations << ','
        << s.glCalls << '\n';
  }
}

const char* modeName(gl_layer::Mode mode) {
  return mode == gl_layer::Mode::Forward ? "mesa" : "no-gl";
}

[[noreturn]] void fail(const std::string& message) {
  std::fprintf(stderr, "frame_bench: %s\n", message.c_str());
  std::exit(1);
}

// Runs frames until the director shows `screen`; returns the frames run.
int runUntil(FrameRunner& runner, std::string_view screen) {
  for (int frames = 0; frames < kScreenChangeLimit; ++frames) {
    if (runner.screen() == screen) return frames;
    runner.frame();
  }
  fail("the game did not reach the " + std::string(screen) + " screen");
}

bool tracedScreen(std::string_view screen, const char* variable = "ALOFT_TRACE_ALLOCATIONS") {
  const char* traced = std::getenv(variable);
  return traced && screen == traced;
}

Summary measure(FrameRunner& runner, std::string screen, gl_layer::Mode mode, int frames) {
  gl_layer::setMode(mode);
  Summary summary{std::move(screen), modeName(mode), {}};
  summary.samples.reserve(std::size_t(frames));
  traceHeapAllocations(tracedScreen(summary.screen));
  const long residentBefore = residentKb();
  gl_layer::resetCallsByEntryPoint();
  for (int at = 0; at < frames; ++at) summary.samples.push_back(runner.frame());
  summary.residentGrowthKb = residentKb() - residentBefore;
  if (tracedScreen(summary.screen, "ALOFT_GL_CALLS")) {
    std::fprintf(stderr, "GL calls of %s (%s):\n", summary.screen.c_str(), summary.mode.c_str());
    gl_layer::printCallsByEntryPoint(frames);
  }
  traceHeapAllocations(false);
  gl_layer::setMode(gl_layer::Mode::Forward);
  return summary;
}

// The logos from a fresh tree, all their frames, until the director leaves them.
Summary measureLogos(FrameRunner& runner, gl_layer::Mode mode) {
  gl_layer::setMode(mode);
  runner.newTree();
  runner.frame();  // the tree's first frame creates the director, which starts on the logos
  Summary summary{"logos", modeName(mode), {}};
  summary.samples.reserve(kScreenChangeLimit);
  traceHeapAllocations(tracedScreen(summary.screen));
  while (runner.screen() == "Logo" && summary.samples.size() < kScreenChangeLimit) {
    summary.samples.push_back(runner.frame());
  }
  traceHeapAllocations(false);
  gl_layer::setMode(gl_layer::Mode::Forward);
  return summary;
}

}  // namespace

int main(int argc, char** argv) {
  int frames = 10000;
  fs::path samples;
  for (int at = 1; at + 1 < argc; at += 2) {
    const std::string_view option = argv[at];
    if (option == "--frames") {
      frames = std::atoi(argv[at + 1]);
    } else if (option == "--samples") {
      samples = argv[at + 1];
    } else {
      fail("unknown option " + std::string(option));
    }
  }
  if (frames < 1) fail("--frames takes a positive count");

  engine::KivAlert::share().throwInsteadOfExiting(true);
  chart::Data::share().setResourcePath(
      findResourceFolder(resourceFolderCandidates(platform::executableDirectory())));
  const fs::path prefs = fs::temp_directory_path() / "aloft-frame-bench-prefs.json";
  fs::remove(prefs);
  chart::Preferences::open(prefs.string());

  std::string error;
  auto window = platform::Window::open({"frame bench", kWindowSize, true}, error);
  if (!window) fail("no window: " + error);
  // The view takes the input and holds the current event; the runner runs the chart tree.
  platform::FixedStepClock clock(kStep);
  OpenGLView view(*window, clock, engine::KivPolygons::share(), nullptr);
  view.showInFront();
  FrameRunner runner(*window, view, clock);

  std::vector<Summary> results;
  try {
    results.push_back(measureLogos(runner, gl_layer::Mode::Forward));
    results.push_back(measureLogos(runner, gl_layer::Mode::NoOp));

    // The stats screen, from its first frame.
    runner.newTree();
    runUntil(runner, "Stats");
    results.push_back(measure(runner, "stats", gl_layer::Mode::Forward, frames));
    results.push_back(measure(runner, "stats", gl_layer::Mode::NoOp, frames));

    // A click on HARD, a key to start the run; measured from the run's first frames on.
    platform::pushMouseMove(kHardX, kHardY);
    platform::pushMouseButton(platform::MouseButton::Left, true, kHardX, kHardY);
    runner.frame();
    platform::pushMouseButton(platform::MouseButton::Left, false, kHardX, kHardY);
    runUntil(runner, "Game");
    runner.frame();
    platform::pushKey(*platform::keyNamed("Space"), true);
    runner.frame();
    platform::pushKey(*platform::keyNamed("Space"), false);
    results.push_back(measure(runner, "game", gl_layer::Mode::Forward, frames));
    results.push_back(measure(runner, "game", gl_layer::Mode::NoOp, frames));
    if (runner.screen() != "Game") fail("the run ended while it was measured");
    runner.releaseTree();
  } catch (const std::exception& alert) {
    fail(std::string("alert: ") + alert.what());
  }

  std::printf(
      "screen mode     frames |  chart CPU per frame (us)   |  whole frame CPU (us)       | "
      "alloc. frames/total | GL calls | 1st-fr. alloc. | RSS growth\n"
      "                       |   median      p99       max |   median      p99       max | "
      "(after the 1st frame) |          |        |      (KB)\n");
  for (const Summary& summary : results) {
    print(summary);
    if (!samples.empty()) writeSamples(samples, summary);
  }
  fs::remove(prefs);
  return 0;
}
