// The chart author's debugger: for each chart named with `--trace`, every node it runs is printed
// to stderr with the cells it reads and, after it ran, the cell it wrote. Charts not traced run a
// loop compiled without any of it.
#pragma once

#include <cstdint>
#include <string_view>

#include "chart/program.h"

namespace chart {

class Chart;

// Traces every chart of that name created from now on.
void enableTrace(std::string_view chartName);
bool isTraced(std::string_view chartName);

void traceBefore(const Chart& chart, std::uint32_t nodeIndex);
void traceAfter(const Chart& chart, std::uint32_t nodeIndex);

}  // namespace chart
