#include "app/chart_graph_command.h"

#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

#include "app/command_line.h"
#include "chart/chart_graph.h"
#include "chart/node_counts.h"
#include "chart/registry.h"
#include "charts/game_charts.h"
#include "platform/files.h"

int printChartGraph(const std::string& name, const std::string& countsPath, std::ostream& out,
                    std::ostream& err) {
  const chart::Registry registry(gameCharts());
  std::vector<std::uint32_t> drawn;
  if (name == "all") {
    for (std::uint32_t at = 0; at < registry.size(); ++at) drawn.push_back(at);
  } else if (const auto found = registry.find(name)) {
    drawn.push_back(*found);
  } else {
    err << "aloft: --chart-graph: there is no chart \"" << name << "\"; the charts are";
    for (std::uint32_t at = 0; at < registry.size(); ++at) {
      err << (at == 0 ? " " : ", ") << registry.program(at).name;
    }
    err << " (or all)\n";
    return kExitUsage;
  }

  std::optional<chart::NodeCounts> counts;
  if (!countsPath.empty()) {
    // The game's counts file is about 60 kB; a pipe or a device is refused, not waited on.
    constexpr std::size_t kMaxCountsBytes = std::size_t(16) << 20;
    std::string text;
    if (const platform::FileError failed =
            platform::readRegularFile(countsPath, kMaxCountsBytes + 1, text)) {
      err << "aloft: --counts: cannot read " << failed.describe() << '\n';
      return kExitUsage;
    }
    if (text.size() > kMaxCountsBytes) {
      err << "aloft: --counts: " << countsPath << " is over 16 MB, not a counts file\n";
      return kExitUsage;
    }
    std::istringstream file(text);
    counts.emplace(registry);
    std::string error;
    if (!counts->read(file, drawn, error)) {
      err << "aloft: --counts: " << countsPath << " does not fit the charts: " << error << '\n';
      return kExitUsage;
    }
  }
  chart::writeChartGraph(out, registry, drawn, counts ? &*counts : nullptr);
  return 0;
}
