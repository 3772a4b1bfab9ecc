// The chart pictures: what the DOT says for each kind of node, and node counts taken from a run
// and read back from their file.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "chart/chart_graph.h"
#include "chart/node_counts.h"
#include "chart/trace.h"
#include "chart_test_support.h"

namespace chart::testing {
namespace {

// Every kind of node, a loop, both outcomes of a decision and an end of pass.
ChartSource everyKind() {
  return testChart("Shapes", {"a", "b", "list", "t"},
                   {{"trunk0_1", decide("a", "<", "b"), "trunk0_2", endOfPass},
                    {"trunk0_2", equation("a = a + 1"), "trunk0_3"},
                    {"trunk0_3", run(Text_length, {"t"}, "b"), "trunk0_4"},
                    {"trunk0_4", set("b", 2.5f), "trunk0_5"},
                    {"trunk0_5", gets("t", "say \"hi\" \\ <there>"), "trunk0_6"},
                    {"trunk0_6", timeSegment("a"), "trunk0_7"},
                    {"trunk0_7", create("Shapes", "list"), "branch0_1"},
                    {"branch0_1", junction(), "branch0_2"},
                    {"branch0_2", passThrough(), "trunk0_1"},
                    {"branch0_3", run(Object_update_all, {"EMPTY", "list"}), endOfPass}});
}

std::string drawing(const Registry& registry, const NodeCounts* counts = nullptr) {
  std::ostringstream out;
  const std::uint32_t first = 0;
  writeChartGraph(out, registry, {&first, 1}, counts);
  return out.str();
}

TEST(ChartGraph, DrawsEveryKindOfNodeAndEdgeWithEscapedLabels) {
  const Registry registry({everyKind()});
  const std::string dot = drawing(registry);
  for (const char* expected : {
           "subgraph \"cluster_Shapes\" {",
           "\"Shapes.start\" [shape=cds, style=filled, fillcolor=\"#c8e6c9\", label=\"Start\"];",
           "\"Shapes.start\" -> \"Shapes.trunk0_1\";",
           "\"Shapes.trunk0_1\" [shape=diamond, style=\"filled\", fillcolor=\"#fff3c4\", "
           "label=\"trunk0_1\\na < b ?\"];",
           "\"Shapes.trunk0_1\" -> \"Shapes.trunk0_2\" [label=\"true\"",
           "\"Shapes.trunk0_1\" -> \"Shapes.trunk0_1.end.false\" [label=\"false\"",
           "\"Shapes.trunk0_1.end.false\" [shape=doublecircle",
           "label=\"trunk0_2\\na = a + 1\"];",
           "label=\"trunk0_3\\nb = Text_length(t)\"];",
           "label=\"trunk0_4\\nb = 2.5\"];",
           "label=\"trunk0_5\\nt += \\\"say \\\"hi\\\" \\\\ <there>\\\"\"];",
           "label=\"trunk0_6\\na = frame time\"];",
           "label=\"trunk0_7\\nnew Shapes into list\"];",
           "\"Shapes.branch0_1\" [shape=point, width=0.08, style=\"filled\", "
           "fillcolor=\"black\", color=\"black\", xlabel=\"branch0_1\", label=\"\"];",
           "\"Shapes.branch0_2\" [shape=circle, width=0.15, style=\"filled\", "
           "fillcolor=\"white\", label=\"branch0_2\"];",
           "\"Shapes.trunk0_3\" [style=\"filled\", fillcolor=\"#d6e6f5\", label=",
           "\"Shapes.trunk0_4\" [style=\"rounded,filled\", fillcolor=\"white\", label=",
           "\"Shapes.branch0_2\" -> \"Shapes.trunk0_1\";",
           "label=\"branch0_3\\nObject_update_all(EMPTY, list)\"];",
           "\"Shapes.branch0_3\" -> \"Shapes.branch0_3.end\";",
       }) {
    EXPECT_NE(dot.find(expected), std::string::npos) << expected << "\nnot in\n" << dot;
  }
  EXPECT_EQ(drawing(registry), dot) << "two drawings of one chart differ";

  // Graphviz itself takes it.
  const auto file = std::filesystem::temp_directory_path() /
                    ("aloft-chart-graph-" + std::to_string(::getpid()) + ".dot");
  std::ofstream(file) << dot;
  EXPECT_EQ(std::system(("dot -Tsvg -o /dev/null " + file.string()).c_str()), 0) << dot;
  std::filesystem::remove(file);
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
