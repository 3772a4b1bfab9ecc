// `--chart-graph NAME|all [--counts FILE]`: the game's charts as a Graphviz graph on standard
// output, without opening a window.
#pragma once

#include <iosfwd>
#include <string>

// Writes the chart `name` (or all nine for "all") to `out`, coloured by the node counts in the
// file `countsPath` when it is not empty. Returns the exit status: 0, or 2 after a message on
// `err` for an unknown name or a counts file that cannot be read or does not fit the charts.
int printChartGraph(const std::string& name, const std::string& countsPath, std::ostream& out,
                    std::ostream& err);
