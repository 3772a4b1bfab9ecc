#include "app/root_chart.h"

#include "chart/data.h"
#include "charts/game_charts.h"
#include "engine/engine_services.h"

RootChart::RootChart(const std::vector<chart::ChartSource>& sources,
                     const engine::Services& services)
    : registry(sources), start(registry.create("Start", services)) {}

RootChart::~RootChart() {
  chart::Chart::release(start);
  Data::share().globalVariableDictionary().removeAll();
}

std::unique_ptr<RootChart> makeStartChart() {
  return std::make_unique<RootChart>(gameCharts(), engineServices());
}
