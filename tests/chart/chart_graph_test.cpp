// The chart pictures: labels escaped for Graphviz, and node counts taken from a run, read back
// from their file and drawn.
#include <sstream>

#include "chart/chart_graph.h"
#include "chart/node_counts.h"
#include "chart/trace.h"
#include "chart_test_support.h"

namespace chart::testing {
namespace {

std::string drawing(const Registry& registry, const NodeCounts* counts = nullptr) {
  std::ostringstream out;
  const std::uint32_t first = 0;
  writeChartGraph(out, registry, {&first, 1}, counts);
  return out.str();
}

// The game's own charts are drawn as committed (charts_tests); what they never hold is a text
// with quotes and backslashes, which Graphviz must still take.
TEST(ChartGraph, EscapesLabelsAsGraphvizReadsThem) {
  const std::string dot =
      drawing(Registry({testChart("Shapes", {"t"}, straight({gets("t", "say \"hi\" \\ <x>")}))}));
  EXPECT_NE(dot.find("label=\"trunk0_1\\nt += \\\"say \\\"hi\\\" \\\\ <x>\\\"\"];"),
            std::string::npos) << dot;
}

// Counts as a run leaves them: the loop's nodes as often as it turned, the branch never taken
// at zero; written and read back, they colour the picture.
TEST_F(ChartTest, NodeCountsFollowTheRunAndComeBackFromTheirFile) {
  use({testChart("Loop", {"loop"},
                 {{"trunk0_1", set("loop", 0), "trunk0_2"},
                  {"trunk0_2", decide("loop", "<", "YES"), "trunk0_3", "branch0_1"},
                  {"trunk0_3", equation("loop = loop + 0.25"), "trunk0_2"},
                  {"branch0_1", decide("loop", "<", "NO"), "branch0_2", "branch0_3"},
                  {"branch0_2", set("loop", 5), endOfPass},
                  {"branch0_3", junction(), endOfPass}})});
  NodeCounts counts(*registries.back());
  countNodesInto(&counts);
  Chart& chart = make("Loop");
  frames(chart, 2);
  countNodesInto(nullptr);
  frames(chart, 1);  // no longer counted
  EXPECT_EQ(std::vector<std::uint64_t>(counts.ofProgram(0).begin(), counts.ofProgram(0).end()),
            (std::vector<std::uint64_t>{2, 10, 8, 2, 0, 2}));

  std::stringstream file;
  counts.write(file);
  EXPECT_EQ(file.str(),
            "# chart node times-run\nLoop trunk0_1 2\nLoop trunk0_2 10\nLoop trunk0_3 8\n"
            "Loop branch0_1 2\nLoop branch0_2 0\nLoop branch0_3 2\n");
  NodeCounts readBack(*registries.back());
  std::string error;
  const std::uint32_t loop = 0;
  ASSERT_TRUE(readBack.read(file, {&loop, 1}, error)) << error;
  const std::string dot = drawing(*registries.back(), &readBack);
  for (const char* expected : {
           "\"Loop.trunk0_2\" [shape=diamond, style=\"filled\", fillcolor=\"/orrd9/9\", "
           "fontcolor=white, label=\"trunk0_2\\nloop < YES ?\\n10×\"];",
           "\"Loop.branch0_2\" [style=\"rounded,filled,dashed\", fillcolor=\"#f4f4f4\", "
           "color=\"#999999\", fontcolor=\"#888888\", label=\"branch0_2\\nloop = 5\\n0×\"];",
       }) {
    EXPECT_NE(dot.find(expected), std::string::npos) << expected << "\nnot in\n" << dot;
  }
}

}  // namespace
}  // namespace chart::testing
