#include "app/root_chart.h"

#include "chart/data.h"
#include "chart/preferences.h"
#include "chart/trace.h"
#include "charts/game_charts.h"
#include "engine/engine_services.h"

RootChart::RootChart(const std::vector<chart::ChartSource>& sources,
                     const engine::Services& services, bool countNodes)
    : registry(sources) {
  // Charts read the counting setting when they are made: before the root chart exists.
  if (countNodes) {
    counts = std::make_unique<chart::NodeCounts>(registry);
    chart::countNodesInto(counts.get());
  }
  start = registry.create("Start", services);
}

RootChart::~RootChart() {
  chart::Chart::release(start);
  chart::Data::share().globalVariableDictionary().removeAll();
  if (counts) chart::countNodesInto(nullptr);
}

void RootChart::runFrame() {
  start->update("Start");
  chart::Preferences::endFrame();
}

std::unique_ptr<RootChart> makeStartChart(bool countNodes) {
  return std::make_unique<RootChart>(gameCharts(), engineServices(), countNodes);
}
