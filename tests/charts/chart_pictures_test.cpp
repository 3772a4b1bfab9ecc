// The nine charts' pictures: the committed DOT is what the game draws from its definitions, the
// game draws the same bytes every time, and a name or a counts file that does not fit is
// refused with the usage status and a message that says what did not fit.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "app/chart_graph_command.h"
#include "chart/registry.h"
#include "charts/game_charts.h"
#include "support/run_program.h"

namespace {

std::string bytesOf(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

TEST(ChartPictures, CommittedPicturesAreWhatTheDefinitionsDraw) {
  const chart::Registry registry(gameCharts());
  ASSERT_EQ(registry.size(), 9u);
  for (std::uint32_t at = 0; at < registry.size(); ++at) {
    const std::string name = registry.program(at).name;
    const std::filesystem::path committed = std::filesystem::path(ALOFT_CHART_PICTURES) / name;
    std::ostringstream drawn, err;
    ASSERT_EQ(printChartGraph(name, "", drawn, err), 0) << err.str();
    EXPECT_TRUE(drawn.str() == bytesOf(committed.string() + ".dot"))
        << name << ".dot no longer matches the chart: run scripts/chart-pictures.sh";
    EXPECT_TRUE(std::filesystem::exists(committed.string() + ".svg")) << name;
  }
}

TEST(ChartPictures, TwoRunsOfTheGameDrawTheSameBytes) {
  const ProgramResult first = runProgram(gameBinary(), {"--chart-graph", "all"});
  const ProgramResult second = runProgram(gameBinary(), {"--chart-graph", "all"});
  ASSERT_EQ(first.exitStatus, 0) << first.err;
  EXPECT_TRUE(first.out == second.out);
  for (const char* chart :
       {"Start", "Camera", "Menus", "Logos", "Background", "Letters", "Word", "Stats", "Game"}) {
    EXPECT_NE(first.out.find(std::string("subgraph \"cluster_") + chart + "\""), std::string::npos)
        << chart;
  }
}

TEST(ChartPictures, RefusesUnknownNamesAndCountsFilesThatDoNotFit) {
  const chart::Registry registry(gameCharts());
  const chart::Program& start = registry.program(*registry.find("Start"));
  std::string everyStartNode;
  for (const std::string& node : start.nodeNames) everyStartNode += "Start " + node + " 7\n";

  struct Case {
    std::string chart;
    std::string counts;  // the counts file's text; none when empty
    std::string error;   // empty: drawn
  };
  const Case kCases[] = {
      {"Nothing", "",
       "aloft: --chart-graph: there is no chart \"Nothing\"; the charts are Start, Camera, Menus, "
       "Logos, Background, Letters, Word, Stats, Game (or all)\n"},
      {"start", "", "there is no chart \"start\""},
      {"Start", "# comment\n\n" + everyStartNode, ""},
      {"Start", everyStartNode + "Start trunk0_99 4\n",
       "line " + std::to_string(start.nodeNames.size() + 1) +
           " \"Start trunk0_99 4\": chart Start has no node \"trunk0_99\"\n"},
      {"Start", "Start trunk0_1 many\n",
       "line 1 \"Start trunk0_1 many\": the count \"many\" is "
       "not a whole number"},
      {"Start", "Start trunk0_1 -1\n", "the count \"-1\" is not a whole number"},
      {"Start", "Begin trunk0_1 1\n", "line 1 \"Begin trunk0_1 1\": there is no chart \"Begin\""},
      {"Start", "Start trunk0_1\n", "line 1 \"Start trunk0_1\": expected CHART NODE COUNT"},
      {"Start", "Start trunk0_1 1 2\n", "expected CHART NODE COUNT"},
      {"Start", everyStartNode + "Start trunk0_1 7\n", "the node was counted before"},
      {"Start", everyStartNode.substr(everyStartNode.find('\n') + 1),
       "no line for node trunk0_1 of chart Start"},
      {"Logos", everyStartNode, "no line for node trunk0_1 of chart Logos"},
  };
  const std::string file = std::filesystem::temp_directory_path() /
                           ("aloft-counts-" + std::to_string(::getpid()) + ".txt");
  for (const Case& test : kCases) {
    std::vector<std::string> arguments{"--chart-graph", test.chart};
    if (!test.counts.empty()) {
      std::ofstream(file) << test.counts;
      arguments.insert(arguments.end(), {"--counts", file});
    }
    const ProgramResult result = runProgram(gameBinary(), arguments);
    if (test.error.empty()) {
      EXPECT_EQ(result.exitStatus, 0) << result.err;
      EXPECT_NE(result.out.find("\\n7×\""), std::string::npos) << result.out;
    } else {
      EXPECT_EQ(result.exitStatus, 2) << test.chart << ' ' << test.counts;
      EXPECT_NE(result.err.find(test.error), std::string::npos) << result.err;
      EXPECT_TRUE(result.out.empty());
    }
  }
  std::filesystem::remove(file);
  const ProgramResult missing =
      runProgram(gameBinary(), {"--chart-graph", "Start", "--counts", file});
  EXPECT_EQ(missing.exitStatus, 2);
  EXPECT_NE(missing.err.find("cannot read " + file), std::string::npos) << missing.err;
  // Where the counts cannot be written is found before the run, not after it.
  const ProgramResult unwritable = runProgram(
      gameBinary(), {"--headless", "--frames", "1", "--count-nodes", file + "/no/such/dir"});
  EXPECT_EQ(unwritable.exitStatus, 2);
  EXPECT_NE(unwritable.err.find("--count-nodes: cannot write"), std::string::npos)
      << unwritable.err;
}

}  // namespace
