// The charts as flowcharts in Graphviz DOT, drawn from the programs the engine runs: a decision
// is a diamond with its comparison and true/false edges, an equation a box with its text, a
// command a box with the command and its cells, a junction a small point, and the snippet's
// entry a labelled start. Each chart's nodes are one cluster. The same programs give the same
// bytes, so the drawings can be committed and compared.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>

#include "chart/node_counts.h"
#include "chart/registry.h"

namespace chart {

// Draws the registry's programs `programIndexes` as one graph. With `counts`, each node is
// coloured by how often it ran and shows the count; nodes that never ran are dashed and grey.
void writeChartGraph(std::ostream& out, const Registry& registry,
                     std::span<const std::uint32_t> programIndexes,
                     const NodeCounts* counts = nullptr);

}  // namespace chart
