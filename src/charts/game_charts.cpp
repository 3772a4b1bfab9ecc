#include "charts/game_charts.h"

std::vector<chart::ChartSource> gameCharts() {
  return {startChart(),  cameraChart(), menusChart(), logosChart(), backgroundChart(),
          lettersChart(), wordChart(),  statsChart(), gameChart()};
}
