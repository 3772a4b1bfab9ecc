// The chart engine against the Lua 5.4 interpreter on the same three small workloads, side by
// side in one run. Each workload is written twice: as a chart definition run by our engine with
// services that do nothing, and as a Lua script over locals (bench/lua), run by `lua5.4` as a
// subprocess. Each side times only its own loop, in CPU time; the best of a few runs is kept.
//
// Run from the repository root: build/bench/engine_vs_lua
// Options: --turns N (default 10000000), --runs R (default 3), --engine-only, --lua-only,
//          --workload Counter|Equation|Text (default: all three),
//          --lua-dir DIR (default: the source tree's bench/lua).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "chart/chart.h"
#include "chart/registry.h"
#include "counter_chart.h"
#include "silent_services.h"

namespace {

using namespace chart;

// (b) the counter plus `x = x * 1.0001 + 0.5` and the decision `x > limit`, which sets x back
// to 0 about once every 53,000 turns.
ChartSource equationChart(float turns) {
  return {"Equation",
          18,
          {{13, "loop"}, {14, "total"}, {15, "x"}, {16, "limit"}, {17, ""}},
          {{"trunk0_1", set("loop", 0), "trunk0_2"},
           {"trunk0_2", set("total", turns), "trunk0_3"},
           {"trunk0_3", set("x", 0), "trunk0_4"},
           {"trunk0_4", set("limit", 1000000), "trunk0_5"},
           {"trunk0_5", decide("loop", "<", "total"), "trunk0_6", endOfPass},
           {"trunk0_6", equation("x = x * 1.0001 + 0.5"), "trunk0_7"},
           {"trunk0_7", decide("x", ">", "limit"), "branch0_9", "trunk0_8"},
           {"trunk0_8", equation("loop = loop + 1"), "branch0_10"},
           {"branch0_9", set("x", 0), "trunk0_8"},
           {"branch0_10", junction(), "trunk0_5"}}};
}

// (c) the counter plus a text append and a remove: ".5" is appended to the ten-character text
// "TIME 00:00", which is then cut back to those ten characters. The chart language cuts a text
// only by emptying it (`Text_remove_all`) and appending again, as the charts set a text.
ChartSource textChart(float turns) {
  return {"Text",
          19,
          {{13, "loop"}, {14, "total"}, {15, "work"}, {16, "piece"}, {17, "base"}, {18, ""}},
          {{"trunk0_1", set("loop", 0), "trunk0_2"},
           {"trunk0_2", set("total", turns), "trunk0_3"},
           {"trunk0_3", appendText("base", "TIME 00:00"), "trunk0_4"},
           {"trunk0_4", appendText("piece", ".5"), "trunk0_5"},
           {"trunk0_5", appendText("work", "TIME 00:00"), "trunk0_6"},
           {"trunk0_6", decide("loop", "<", "total"), "trunk0_7", endOfPass},
           {"trunk0_7", run(Command::Text_add, {"piece"}, "work"), "trunk0_8"},
           {"trunk0_8", run(Command::Text_remove_all, {"work"}), "trunk0_9"},
           {"trunk0_9", run(Command::Text_add, {"base"}, "work"), "trunk0_10"},
           {"trunk0_10", equation("loop = loop + 1"), "branch0_11"},
           {"branch0_11", junction(), "trunk0_6"}}};
}

struct Workload {
  std::string_view label;
  std::string_view chartName;
  ChartSource (*chart)(float turns);
  std::string_view script;
  double target;  // the ratio, ours / Lua's, aimed at
};

const Workload kWorkloads[] = {
    {"(a) counter loop", "Counter", counterChart, "counter.lua", 0.5},
    {"(b) equation + decision", "Equation", equationChart, "equation.lua", 0.5},
    {"(c) text append + remove", "Text", textChart, "text.lua", 1.0},
};

double cpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// CPU seconds of one frame of the workload's chart: the whole loop runs in that frame.
double engineSeconds(const Workload& workload, long turns) {
  SilentServices silent;
  const Registry registry({workload.chart(float(turns))});
  Chart* chart = registry.create(workload.chartName, silent.all());
  const double started = cpuSeconds();
  chart->update(kDefaultSnippet);
  const double seconds = cpuSeconds() - started;
  Chart::release(chart);
  return seconds;
}

// CPU seconds of the script's loop as the script measures it; negative when it could not run.
double luaSeconds(const std::string& luaDir, const Workload& workload, long turns) {
  const std::string command = "lua5.4 '" + luaDir + "/" + std::string(workload.script) + "' " +
                              std::to_string(turns) + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  char line[256] = {};
  double seconds = -1;
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    double read = 0;
    if (std::sscanf(line, "seconds %lf", &read) == 1) seconds = read;
  }
  if (pclose(pipe) != 0) return -1;
  return seconds;
}

double bestOf(int runs, auto measure) {
  double best = std::numeric_limits<double>::infinity();
  for (int run = 0; run < runs; ++run) {
    const double seconds = measure();
    if (seconds < 0) return -1;
    best = std::min(best, seconds);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  long turns = 10'000'000;
  int runs = 3;
  bool engine = true;
  bool lua = true;
  std::string luaDir = ALOFT_BENCH_LUA_DIR;
  std::string_view only;
  for (int at = 1; at < argc; ++at) {
    const std::string_view option = argv[at];
    const bool hasValue = at + 1 < argc;
    if (option == "--turns" && hasValue) {
      turns = std::strtol(argv[++at], nullptr, 10);
    } else if (option == "--runs" && hasValue) {
      runs = std::max(1, std::atoi(argv[++at]));
    } else if (option == "--lua-dir" && hasValue) {
      luaDir = argv[++at];
    } else if (option == "--workload" && hasValue) {
      only = argv[++at];
    } else if (option == "--engine-only") {
      lua = false;
    } else if (option == "--lua-only") {
      engine = false;
    } else {
      std::fprintf(stderr,
                   "usage: engine_vs_lua [--turns N] [--runs R] [--engine-only | --lua-only] "
                   "[--workload Counter|Equation|Text] [--lua-dir DIR]\n");
      return 2;
    }
  }
  // Above 2^24 a float counter no longer steps by one: the chart's loop would never end.
  if (turns < 1 || turns > (1L << 24)) {
    std::fprintf(stderr, "engine_vs_lua: --turns must be between 1 and 16777216\n");
    return 2;
  }

  std::printf("%ld turns per workload, best CPU time of %d run(s) per side\n\n", turns, runs);
  std::printf("%-26s %12s %12s %9s %8s\n", "workload", "ours ns/turn", "Lua ns/turn",
              "ours/Lua", "target");
  std::vector<std::string> machineLines;
  bool luaFailed = false;
  for (const Workload& workload : kWorkloads) {
    if (!only.empty() && only != workload.chartName) continue;
    const double ours =
        engine ? bestOf(runs, [&] { return engineSeconds(workload, turns); }) * 1e9 / turns : -1;
    const double theirs =
        lua ? bestOf(runs, [&] { return luaSeconds(luaDir, workload, turns); }) : -1;
    const double luaNs = theirs < 0 ? -1 : theirs * 1e9 / double(turns);
    luaFailed = luaFailed || (lua && theirs < 0);
    char ratio[32] = "-";
    if (ours > 0 && luaNs > 0) std::snprintf(ratio, sizeof ratio, "%.2f", ours / luaNs);
    char oursText[32] = "-";
    char luaText[32] = "-";
    if (ours > 0) std::snprintf(oursText, sizeof oursText, "%.2f", ours);
    if (luaNs > 0) std::snprintf(luaText, sizeof luaText, "%.2f", luaNs);
    std::printf("%-26s %12s %12s %9s %8s\n", std::string(workload.label).c_str(), oursText,
                luaText, ratio, ("<= " + std::to_string(workload.target).substr(0, 3)).c_str());
    machineLines.push_back("engine_vs_lua workload=" + std::string(workload.chartName) +
                           " ours_ns_per_turn=" + oursText + " lua_ns_per_turn=" + luaText +
                           " ratio=" + ratio);
  }
  std::printf("\n");
  for (const std::string& line : machineLines) std::printf("%s\n", line.c_str());
  if (luaFailed) {
    std::fprintf(stderr, "engine_vs_lua: lua5.4 did not run the scripts in %s\n", luaDir.c_str());
    return 1;
  }
  return 0;
}
