// The chart author's debugger: for each chart named with `--trace`, every node it runs is printed
// to stderr with the cells it reads and, after it ran, the cell it wrote; with `--count-nodes`,
// every node every chart runs is counted. Charts neither traced nor counted run a loop compiled
// without any of it.
#pragma once

#include <cstdint>
#include <string_view>

#include "chart/program.h"

namespace chart {

class Chart;
class NodeCounts;

// Traces every chart of that name created from now on.
void enableTrace(std::string_view chartName);
bool isTraced(std::string_view chartName);
// Counts the nodes of every chart created from now on into `counts` (null: stops counting for
// charts created afterwards); the counts must outlive those charts.
void countNodesInto(NodeCounts* counts);
// Whether a chart of that name runs the traced loop: it is traced or nodes are counted.
bool runsTraced(std::string_view chartName);

void traceBefore(const Chart& chart, std::uint32_t nodeIndex);
void traceAfter(const Chart& chart, std::uint32_t nodeIndex);

}  // namespace chart
