// How a frame's cost grows with the number of charts alive and with the number of polygons
// drawn. `Tile` is a small `Background`: its first frame collects the colours and vertices of a
// four-vertex fan and adds the polygon; every frame it places the polygon and draws it. A
// `Parent` chart creates N tiles as children into an object list in its first frame and updates
// them all every frame, as the game's charts drive theirs. `Field` is one chart that adds N fans
// in its first frame, keeps their indexes in a number list and draws them all every frame.
//
// Each runs with the real polygon and texture engines on Mesa's llvmpipe in a headless window
// (every frame clears the picture and ends in glFinish; the time is the main thread's CPU time,
// rasterisation runs on the driver's threads), and with services that do nothing (the chart
// runtime alone). The `Complexity(oN)` rows give the fitted cost per chart or per polygon; the
// counters give the cost per chart or polygon at each size, and heap allocations per frame.
// Run from the repository root: build/bench/scaling_bench
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "chart/chart.h"
#include "chart/registry.h"
#include "counting_new.h"
#include "engine/kiv_polygons.h"
#include "engine/kiv_textures.h"
#include "platform/window.h"
#include "silent_services.h"

namespace {

using namespace chart;
using enum Command;

ChartSource tileChart() {
  return {"Tile",
          26,
          {{13, "total"},
           {14, "loop"},
           {15, "polyNum"},
           {16, "r"},
           {17, "g"},
           {18, "b"},
           {19, "a"},
           {20, "x"},
           {21, "y"},
           {22, "z"},
           {23, "triFan"},
           {24, "depth"},
           {25, ""}},
          {// Built in the first frame: a colour per vertex, four vertices, the polygon.
           {"trunk0_1", decide("total", "==", "EMPTY"), "trunk0_2", "branch0_40"},
           {"branch0_40", junction(), "trunk0_20"},
           {"trunk0_2", set("total", 4), "trunk0_3"},
           {"trunk0_3", set("loop", 0), "trunk0_4"},
           {"trunk0_4", decide("loop", "<", "total"), "branch0_1", "trunk0_5"},
           {"branch0_1", set("r", 1), "branch0_2"},
           {"branch0_2", run(Color_red, {"r"}), "branch0_3"},
           {"branch0_3", set("g", 0.5f), "branch0_4"},
           {"branch0_4", run(Color_green, {"g"}), "branch0_5"},
           {"branch0_5", set("b", 0.25f), "branch0_6"},
           {"branch0_6", run(Color_blue, {"b"}), "branch0_7"},
           {"branch0_7", set("a", 1), "branch0_8"},
           {"branch0_8", run(Color_alpha, {"a"}), "branch0_9"},
           {"branch0_9", equation("loop = loop + 1"), "branch0_10"},
           {"branch0_10", junction(), "trunk0_4"},
           {"trunk0_5", set("z", 0), "trunk0_6"},
           {"trunk0_6", set("x", -1), "trunk0_7"},
           {"trunk0_7", run(Vertex_x, {"x"}), "trunk0_8"},
           {"trunk0_8", set("y", -1), "trunk0_9"},
           {"trunk0_9", run(Vertex_y, {"y"}), "branch0_11"},
           {"branch0_11", run(Vertex_z, {"z"}), "trunk0_10"},
           {"trunk0_10", set("x", 1), "trunk0_11"},
           {"trunk0_11", run(Vertex_x, {"x"}), "branch0_12"},
           {"branch0_12", run(Vertex_y, {"y"}), "branch0_13"},
           {"branch0_13", run(Vertex_z, {"z"}), "trunk0_12"},
           {"trunk0_12", set("y", 1), "branch0_14"},
           {"branch0_14", run(Vertex_x, {"x"}), "branch0_15"},
           {"branch0_15", run(Vertex_y, {"y"}), "branch0_16"},
           {"branch0_16", run(Vertex_z, {"z"}), "trunk0_13"},
           {"trunk0_13", set("x", -1), "branch0_17"},
           {"branch0_17", run(Vertex_x, {"x"}), "branch0_18"},
           {"branch0_18", run(Vertex_y, {"y"}), "branch0_19"},
           {"branch0_19", run(Vertex_z, {"z"}), "trunk0_14"},
           {"trunk0_14", appendText("triFan", "TriangleFan"), "trunk0_15"},
           {"trunk0_15", run(Polygon_add, {"triFan"}, "polyNum"), "trunk0_16"},
           {"trunk0_16", set("depth", -20), "branch0_41"},
           {"branch0_41", junction(), "trunk0_20"},
           // Every frame: place and draw.
           {"trunk0_20", run(Move_z, {"depth"}), "trunk0_21"},
           {"trunk0_21", run(Polygon_update, {"polyNum"}), endOfPass}}};
}

// `count` is set from outside before the first frame.
ChartSource parentChart() {
  return {"Parent",
          17,
          {{13, "count"}, {14, "loop"}, {15, "kids"}, {16, ""}},
          {{"trunk0_1", decide("kids", "==", "EMPTY"), "trunk0_2", "branch0_4"},
           {"branch0_4", junction(), "trunk0_4"},
           {"trunk0_2", set("loop", 0), "trunk0_3"},
           {"trunk0_3", decide("loop", "<", "count"), "branch0_1", "trunk0_4"},
           {"branch0_1", create("Tile", "kids"), "branch0_2"},
           {"branch0_2", equation("loop = loop + 1"), "branch0_3"},
           {"branch0_3", junction(), "trunk0_3"},
           {"trunk0_4", run(Object_update_all, {"EMPTY", "kids"}), endOfPass}}};
}

// `count` is set from outside before the first frame.
ChartSource fieldChart() {
  return {"Field",
          25,
          {{13, "count"},
           {14, "loop"},
           {15, "polyNum"},
           {16, "polys"},
           {17, "x"},
           {18, "y"},
           {19, "z"},
           {20, "triFan"},
           {21, "depth"},
           {22, "built"},
           {23, "one"},
           {24, ""}},
          {{"trunk0_1", decide("built", "==", "EMPTY"), "trunk0_2", "branch0_30"},
           {"branch0_30", junction(), "trunk0_10"},
           {"trunk0_2", set("built", 1), "trunk0_3"},
           {"trunk0_3", appendText("triFan", "TriangleFan"), "trunk0_4"},
           {"trunk0_4", set("depth", -20), "trunk0_5"},
           {"trunk0_5", set("z", 0), "trunk0_6"},
           {"trunk0_6", set("loop", 0), "trunk0_7"},
           {"trunk0_7", decide("loop", "<", "count"), "branch0_1", "trunk0_10"},
           {"branch0_1", set("x", -1), "branch0_2"},
           {"branch0_2", run(Vertex_x, {"x"}), "branch0_3"},
           {"branch0_3", set("y", -1), "branch0_4"},
           {"branch0_4", run(Vertex_y, {"y"}), "branch0_5"},
           {"branch0_5", run(Vertex_z, {"z"}), "branch0_6"},
           {"branch0_6", set("x", 1), "branch0_7"},
           {"branch0_7", run(Vertex_x, {"x"}), "branch0_8"},
           {"branch0_8", run(Vertex_y, {"y"}), "branch0_9"},
           {"branch0_9", run(Vertex_z, {"z"}), "branch0_10"},
           {"branch0_10", set("y", 1), "branch0_11"},
           {"branch0_11", run(Vertex_x, {"x"}), "branch0_12"},
           {"branch0_12", run(Vertex_y, {"y"}), "branch0_13"},
           {"branch0_13", run(Vertex_z, {"z"}), "branch0_14"},
           {"branch0_14", set("x", -1), "branch0_15"},
           {"branch0_15", run(Vertex_x, {"x"}), "branch0_16"},
           {"branch0_16", run(Vertex_y, {"y"}), "branch0_17"},
           {"branch0_17", run(Vertex_z, {"z"}), "branch0_18"},
           {"branch0_18", run(Polygon_add, {"triFan"}, "polyNum"), "branch0_19"},
           {"branch0_19", run(Object_add_math, {"polyNum"}, "polys"), "branch0_20"},
           {"branch0_20", equation("loop = loop + 1"), "branch0_21"},
           {"branch0_21", junction(), "trunk0_7"},
           // Every frame: each polygon of the list, placed and drawn.
           {"trunk0_10", set("loop", 0), "trunk0_11"},
           {"trunk0_11", decide("loop", "<", "count"), "branch0_22", endOfPass},
           {"branch0_22", run(Object_selected_index, {"loop"}), "branch0_23"},
           {"branch0_23", run(Object_selected_object, {"polys"}, "polyNum"), "branch0_24"},
           {"branch0_24", run(Move_z, {"depth"}), "branch0_25"},
           {"branch0_25", run(Polygon_update, {"polyNum"}), "branch0_26"},
           {"branch0_26", equation("loop = loop + 1"), "branch0_27"},
           {"branch0_27", junction(), "trunk0_11"}}};
}

const Registry& registry() {
  static const Registry charts({tileChart(), parentChart(), fieldChart()});
  return charts;
}

// The real engines in a headless window, or services that do nothing.
class Stage {
 public:
  bool open(bool real, std::string& error) {
    if (!real) {
      services = silent.all();
      return true;
    }
    window = platform::Window::open({"scaling bench", {480, 320}, true}, error);
    if (!window) return false;
    polygons = std::make_unique<engine::KivPolygons>();
    textures = std::make_unique<engine::KivTextures>();
    polygons->setViewFrame({0, 0, 480, 320});
    polygons->setViewportRatio(3, 2);
    services = {&silent, polygons.get(), textures.get()};
    return true;
  }

  void frame(Chart& root) const {
    if (window) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    root.update(kDefaultSnippet);
    if (window) glFinish();
  }

  engine::Services services{};

 private:
  SilentServices silent;  // sound always, the rest too when not real
  std::unique_ptr<platform::Window> window;
  std::unique_ptr<engine::KivPolygons> polygons;
  std::unique_ptr<engine::KivTextures> textures;
};

// range(0): the count; the chart `rootName` gets it in its cell `count`.
void runFrames(benchmark::State& state, std::string_view rootName, bool real,
               std::string_view perWhat) {
  Stage stage;
  std::string error;
  if (!stage.open(real, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  const auto count = state.range(0);
  Chart* root = registry().create(rootName, stage.services);
  Cell value;
  storeTakenNumber(value, float(count));
  root->setVariable(value, "count");
  // The first frame builds; the driver also compiles its shader variant on the first draw.
  stage.frame(*root);
  stage.frame(*root);

  const long before = heapAllocations();
  for (auto _ : state) stage.frame(*root);
  const long allocated = heapAllocations() - before;

  state.SetComplexityN(count);
  state.counters[std::string("ns_per_") + std::string(perWhat)] = benchmark::Counter(
      double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["allocations_per_frame"] = double(allocated) / double(state.iterations());
  Chart::release(root);
}

void ChartsAliveReal(benchmark::State& state) { runFrames(state, "Parent", true, "chart"); }
void ChartsAliveSilent(benchmark::State& state) { runFrames(state, "Parent", false, "chart"); }
void PolygonsDrawnReal(benchmark::State& state) { runFrames(state, "Field", true, "polygon"); }
void PolygonsDrawnSilent(benchmark::State& state) { runFrames(state, "Field", false, "polygon"); }

void sizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(1)->Arg(10)->Arg(100)->Arg(1000);
  benchmark->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);
}
BENCHMARK(ChartsAliveReal)->Apply(sizes);
BENCHMARK(ChartsAliveSilent)->Apply(sizes);
BENCHMARK(PolygonsDrawnReal)->Apply(sizes);
BENCHMARK(PolygonsDrawnSilent)->Apply(sizes);

}  // namespace

BENCHMARK_MAIN();
