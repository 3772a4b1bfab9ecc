// Nanoseconds per turn of the chart loop `loop = loop + 1` while `loop < total` (three nodes a
// turn: decision, equation, junction), and heap allocations per turn, counted by replacing the
// global operator new. Run: build/bench/chart_bench
#include <benchmark/benchmark.h>

#include "chart/chart.h"
#include "chart/registry.h"
#include "counting_new.h"
#include "counter_chart.h"
#include "silent_services.h"

namespace {

using namespace chart;

void ChartLoop(benchmark::State& state) {
  const auto turns = static_cast<float>(state.range(0));
  const Registry registry({counterChart(turns)});
  SilentServices silent;
  Chart* chart = registry.create("Counter", silent.all());
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
