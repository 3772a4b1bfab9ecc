// Stand-ins for the four charts that arrive with the game screen (`Letters`, `Word`, `Stats`,
// `Game`): registered names whose flow does nothing, so that `Menus` can create them and the stats
// screen shows the scenery alone. This file goes when their definitions land.
#include "charts/game_charts.h"

namespace {

chart::ChartSource idleChart(std::string_view name) {
  return {name, 14, {{13, ""}}, {{"trunk0_1", chart::passThrough(), chart::endOfPass}}};
}

}  // namespace

chart::ChartSource lettersChart() { return idleChart("Letters"); }
chart::ChartSource wordChart() { return idleChart("Word"); }
chart::ChartSource statsChart() { return idleChart("Stats"); }
chart::ChartSource gameChart() { return idleChart("Game"); }
