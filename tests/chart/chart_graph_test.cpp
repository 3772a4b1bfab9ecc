#include <sstream>

#include "chart/chart_graph.h"
#include "chart/node_counts.h"
#include "chart/trace.h"
#include "support/chart_test_support.h"

namespace chart::testing {
namespace {

// Counts as a run leaves them: the loop's nodes as often as it turned, the branch never taken
// at zero; written and read back, they colour the chart's picture. The game's charts are drawn
// as committed (charts_tests) but never hold a text with quotes and backslashes, which the
// picture must escape.
TEST_F(ChartTest, NodeCountsFollowTheRunAndComeBackFromTheirFile) {
  use({testChart("Loop", {"loop", "t"},
                 {{"trunk0_1", set("loop", 0), "trunk0_2"},
                  {"trunk0_2", decide("loop", "<", "YES"), "trunk0_3", "branch0_1"},
                  {"trunk0_3", equation("loop = loop + 0.25"), "trunk0_2"},
                  {"branch0_1", decide("loop", "<", "NO"), "branch0_2", "branch0_3"},
                  {"branch0_2", set("loop", 5), endOfPass},
                  {"branch0_3", appendText("t", "say \"hi\" \\ <x>"), endOfPass}})});
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
  std::ostringstream dot;
  writeChartGraph(dot, *registries.back(), {&loop, 1}, &readBack);
  for (const char* expected : {
           "\"Loop.trunk0_2\" [shape=diamond, style=\"filled\", fillcolor=\"/orrd9/9\", "
           "fontcolor=white, label=\"trunk0_2\\nloop < YES ?\\n10×\"];",
           "\"Loop.branch0_2\" [style=\"rounded,filled,dashed\", fillcolor=\"#f4f4f4\", "
           "color=\"#999999\", fontcolor=\"#888888\", label=\"branch0_2\\nloop = 5\\n0×\"];",
           "label=\"branch0_3\\nt += \\\"say \\\"hi\\\" \\\\ <x>\\\"\\n2×\"];",
       }) {
    EXPECT_NE(dot.str().find(expected), std::string::npos) << expected << "\n" << dot.str();
  }
}

}  // namespace
}  // namespace chart::testing
