// Nanoseconds per turn of the chart loop `loop = loop + 1` while `loop < total` (three nodes a
// turn: decision, equation, junction), and heap allocations per turn, counted by replacing the
// global operator new. Run: build/bench/chart_bench
#include <benchmark/benchmark.h>

#include <span>
#include <string>

#include "chart/chart.h"
#include "chart/registry.h"
#include "counting_new.h"

namespace {

using namespace chart;

// Engine services that do nothing: the benchmark measures the runtime alone.
struct SilentServices final : AudioService, PolygonService, TextureService {
  void setActiveChart(std::string_view) override {}
  void removePolygons(std::int32_t) override {}
  void removePicking(std::int32_t) override {}
  void removeLighting(std::int32_t) override {}
  void deleteTexture(std::int32_t) override {}
  std::int32_t addPolygonsType(std::string_view, std::span<const float>, std::span<const float>,
                               std::span<const float>, std::span<const float>) override {
    return -1;
  }
  void replaceRange(std::int32_t, std::int32_t) override {}
  void replaceArray(std::int32_t, std::span<const float>, std::span<const float>,
                    std::span<const float>, std::span<const float>) override {}
  void updatePolygon(std::int32_t) override {}
  void startMatrixStack() override {}
  void endMatrixStack() override {}
  void setViewportRatio(double, double) override {}
  void setDepthTest(bool) override {}
  std::int32_t addPicking(std::int32_t) override { return -1; }
  std::int32_t updatePicking(std::int32_t) override { return -1; }
  std::int32_t addTexture(const std::string&, unsigned, unsigned, unsigned, unsigned) override {
    return -1;
  }
  void bindTexture(std::int32_t) override {}
  std::int32_t addSound(const std::string&) override { return 1; }
  void playSound(std::int32_t) override {}
  void setLoopSound(bool, std::int32_t) override {}
  void setTimeSound(float, std::int32_t) override {}
  void removeSound(std::int32_t) override {}
};

ChartSource loopChart(float turns) {
  return {"Loop",
          16,
          {{13, "loop"}, {14, "total"}, {15, ""}},
          {{"trunk0_1", set("loop", 0), "trunk0_2"},
           {"trunk0_2", set("total", turns), "trunk0_3"},
           {"trunk0_3", decide("loop", "<", "total"), "trunk0_4", endOfPass},
           {"trunk0_4", equation("loop = loop + 1"), "branch0_5"},
           {"branch0_5", junction(), "trunk0_3"}}};
}

void ChartLoop(benchmark::State& state) {
  const auto turns = static_cast<float>(state.range(0));
  const Registry registry({loopChart(turns)});
  SilentServices silent;
  Chart* chart = registry.create("Loop", {&silent, &silent, &silent});
  chart->update(kDefaultSnippet);  // the first frame may size reusable buffers

  const long before = heapAllocations();
  for (auto _ : state) chart->update(kDefaultSnippet);
  const long allocated = heapAllocations() - before;

  const double totalTurns = double(state.iterations()) * turns;
  state.counters["ns_per_turn"] = benchmark::Counter(
      totalTurns, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["allocations_per_turn"] = double(allocated) / totalTurns;
  Chart::release(chart);
}
BENCHMARK(ChartLoop)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
