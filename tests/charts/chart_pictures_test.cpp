// The charts' pictures: the committed DOT is what the game draws, and a name or a counts file that
// does not fit is refused with the usage status and a message saying what did not fit.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>
#include <string>

#include "app/chart_graph_command.h"
#include "chart/registry.h"
#include "charts/game_charts.h"
#include "support/run_program.h"

namespace {

TEST(ChartPictures, CommittedPicturesAreWhatTheGameDraws) {
  const chart::Registry registry(gameCharts());
  const ProgramResult all = runProgram(gameBinary(), {"--chart-graph", "all"});
  ASSERT_EQ(all.exitStatus, 0) << all.err;
  for (std::uint32_t at = 0; at < registry.size(); ++at) {
    const std::string name = registry.program(at).name;
    const std::string committed = std::string(ALOFT_CHART_PICTURES) + "/" + name;
    std::ostringstream drawn, err;
    ASSERT_EQ(printChartGraph(name, "", drawn, err), 0) << err.str();
    EXPECT_TRUE(drawn.str() == readText(committed + ".dot"))
        << name << ".dot no longer matches the chart: run scripts/chart-pictures.sh";
    // The game's picture of them all holds this one's clusters as they are.
    const std::string clusters = drawn.str().substr(drawn.str().find("  subgraph "));
    EXPECT_NE(all.out.find(clusters.substr(0, clusters.size() - 2)), std::string::npos) << name;
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
      {"Start", "# comment\n\n" + everyStartNode, ""},
      {"Start", everyStartNode + "Start trunk0_99 4\n",
       "line " + std::to_string(start.nodeNames.size() + 1) +
           " \"Start trunk0_99 4\": chart Start has no node \"trunk0_99\"\n"},
      {"Start", "Start trunk0_1 many\n",
       "line 1 \"Start trunk0_1 many\": the count \"many\" is not a whole number"},
      {"Start", "Start trunk0_1 -1\n", "the count \"-1\" is not a whole number"},
      {"Start", "Begin trunk0_1 1\n", "line 1 \"Begin trunk0_1 1\": there is no chart \"Begin\""},
      // What is echoed reaches a terminal: its bytes escaped, and only its start.
      {"Start", "Start\x1b]0;owned\x07 trunk0_1 \"1\\\n",
       "line 1 \"Start\\x1b]0;owned\\x07 trunk0_1 \\\"1\\\\\": there is no chart "
       "\"Start\\x1b]0;owned\\x07\"\n"},
      {"Start", std::string(300, 'x') + " trunk0_1 1\n",
       "line 1 \"" + std::string(100, 'x') + "\"...: there is no chart \"" + std::string(100, 'x') +
           "\"...\n"},
      {"Start", "Start trunk0_1\n", "line 1 \"Start trunk0_1\": expected CHART NODE COUNT"},
      {"Start", "Start trunk0_1 1 2\n", "expected CHART NODE COUNT"},
      {"Start", everyStartNode + "Start trunk0_1 7\n", "the node was counted before"},
      {"Start", everyStartNode.substr(everyStartNode.find('\n') + 1),
       "no line for node trunk0_1 of chart Start"},
      {"Logos", everyStartNode, "no line for node trunk0_1 of chart Logos"},
  };
  const ScratchDirectory directory{"chart-counts"};
  const std::string file = directory / "counts.txt";
  for (const Case& test : kCases) {
    if (!test.counts.empty()) writeText(file, test.counts);
    std::ostringstream out, err;
    const int status = printChartGraph(test.chart, test.counts.empty() ? "" : file, out, err);
    if (test.error.empty()) {
      EXPECT_EQ(status, 0) << err.str();
      EXPECT_NE(out.str().find("\\n7×\""), std::string::npos) << out.str();
    } else {
      EXPECT_EQ(status, 2) << test.chart << ' ' << test.counts;
      EXPECT_NE(err.str().find(test.error), std::string::npos) << err.str();
      EXPECT_TRUE(out.str().empty());
    }
  }
  std::ostringstream out, err;
  EXPECT_EQ(printChartGraph("Start", file + ".missing", out, err), 2);
  EXPECT_NE(err.str().find("cannot read " + file + ".missing"), std::string::npos) << err.str();
  // A pipe is refused at once, never waited on.
  ASSERT_EQ(mkfifo((file + ".pipe").c_str(), 0600), 0);
  EXPECT_EQ(printChartGraph("Start", file + ".pipe", out, err), 2);
  EXPECT_NE(err.str().find(file + ".pipe: not a regular file"), std::string::npos) << err.str();
  // Where the counts cannot be written is found before the run, not after it.
  const ProgramResult unwritable = runProgram(
      gameBinary(), {"--headless", "--frames", "1", "--count-nodes", file + "/no/such/dir"});
  EXPECT_EQ(unwritable.exitStatus, 2);
  EXPECT_NE(unwritable.err.find("--count-nodes: cannot write"), std::string::npos)
      << unwritable.err;
}

}  // namespace
