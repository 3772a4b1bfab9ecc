#include "charts/game_charts.h"

#include <algorithm>

namespace {

bool loadsAFile(chart::Command command) {
  return command == chart::Command::Image_add || command == chart::Command::Sound_add;
}

}  // namespace

std::vector<chart::ChartSource> gameCharts() {
  return {startChart(),  cameraChart(), menusChart(), logosChart(), backgroundChart(),
          lettersChart(), wordChart(),  statsChart(), gameChart()};
}

std::vector<std::string> loadedResourceNames() {
  std::vector<std::string> names;
  for (const chart::ChartSource& source : gameCharts()) {
    for (const chart::NodeSource& node : source.nodes) {
      const chart::NodeAction& action = node.action;
      if (action.kind != chart::NodeKind::TextLiteral) continue;
      const auto loader = std::find_if(source.nodes.begin(), source.nodes.end(),
                                       [&](const chart::NodeSource& next) {
                                         return next.name == node.next;
                                       });
      if (loader == source.nodes.end() || loader->action.kind != chart::NodeKind::Command ||
          !loadsAFile(loader->action.command) || loader->action.arguments[0] != action.result) {
        continue;
      }
      names.emplace_back(action.text);
    }
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}
