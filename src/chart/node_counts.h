// How often each node of each chart class ran in one run of the game (`--count-nodes`), and the
// text file that carries the counts to the chart pictures (`--chart-graph NAME --counts FILE`).
// Counting happens on the traced path of the engine, so a run that does not count runs exactly
// the loop it always runs.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "chart/program.h"
#include "chart/registry.h"

namespace chart {

class NodeCounts {
 public:
  // Every node of every program of `registry` at zero; the registry must outlive the counts.
  explicit NodeCounts(const Registry& registry);

  // One run of `node` of `program`, a program of `from`; programs of another registry are not
  // counted.
  void count(const Registry& from, const Program& program, std::uint32_t node) {
    if (&from == &registry) ++counts[registry.indexOf(program)][node];
  }
  // By node index, for the registry's program `programIndex`.
  std::span<const std::uint64_t> ofProgram(std::uint32_t programIndex) const {
    return counts[programIndex];
  }

  // One line per node, "CHART NODE COUNT", charts and nodes in definition order, after one
  // comment line that says so.
  void write(std::ostream& out) const;

  // Reads what `write` wrote; blank lines and lines starting with '#' are skipped. Every line
  // must name a chart and a node of the registry once, with a whole count, and every node of
  // the programs in `required` must have its line. On a mismatch returns false with `error`
  // naming the line (its number and text) or the missing node.
  bool read(std::istream& in, std::span<const std::uint32_t> required, std::string& error);

 private:
  const Registry& registry;
  std::vector<std::vector<std::uint64_t>> counts;  // by program index, then node index
};

}  // namespace chart
