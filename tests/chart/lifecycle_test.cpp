#include "chart_test_support.h"

namespace chart::testing {
namespace {

using LifecycleTest = ChartTest;

using Call = RecordingServices::Call;

ChartSource marker() {
  return testChart("Marker", {"ran", "time"},
                   {{"trunk0_1", set("ran", 1), "trunk0_2"},
                    {"trunk0_2", timeSegment("time"), "trunk0_3"},
                    {"trunk0_3", junction(), endOfPass}});
}

TEST_F(LifecycleTest, UpdateRunsTheFlowOnlyForTheDefaultSnippet) {
  Chart& chart = load({marker()});
  Data::share().setSelectedSnippet("before");
  chart.update("Marker");
  EXPECT_EQ(cell(chart, "ran").type, kEmpty);
  EXPECT_EQ(Data::share().selectedSnippet(), "before");
  EXPECT_EQ(recording.calls, (std::vector<Call>{{"audio.setActiveChart", "Marker", 0},
                                                 {"polygons.setActiveChart", "Marker", 0},
                                                 {"textures.setActiveChart", "Marker", 0}}));
  Data::share().setTimeSegment(0.25f);
  chart.update("Start");
  EXPECT_EQ(cell(chart, "ran").math, 1.0f);
  EXPECT_EQ(cell(chart, "time").math, 0.25f);
  EXPECT_EQ(Data::share().selectedSnippet(), "Start");
}

TEST_F(LifecycleTest, TeardownGivesResourcesBackInOrder) {
  Chart& chart = load({marker()});
  chart.recordForDealloc(Resource::Sound, 1);
  chart.recordForDealloc(Resource::Polygon, 4);
  chart.recordForDealloc(Resource::Polygon, 2);
  recording.calls.clear();
  Chart::release(&chart);
  charts.clear();
  EXPECT_EQ(recording.calls, (std::vector<Call>{{"polygons.removePolygons", "", 4},
                                                 {"polygons.removePolygons", "", 2},
                                                 {"audio.removeSound", "", 1}}));
}

TEST_F(LifecycleTest, ARaisedRemovalCounterEmptiesTheDeallocList) {
  Chart& chart = load({marker()});
  chart.recordForDealloc(Resource::Polygon, 3);
  chart.recordForDealloc(Resource::Sound, 1);
  Data::share().changePolygonCount();
  frames(chart, 1);
  EXPECT_TRUE(chart.deallocArray(Resource::Polygon).empty());
  EXPECT_EQ(chart.deallocArray(Resource::Sound).size(), 1u);
  // A chart made after the change starts from the new count and keeps what it records.
  Chart& later = make("Marker");
  later.recordForDealloc(Resource::Polygon, 5);
  frames(later, 1);
  EXPECT_EQ(later.deallocArray(Resource::Polygon).size(), 1u);
}

TEST_F(LifecycleTest, AMillionTurnLoopRunsInOneFrame) {
  Chart& chart = load({testChart("Loop", {"loop", "total"},
                                 {{"trunk0_1", set("loop", 0), "trunk0_2"},
                                  {"trunk0_2", set("total", 1000000), "trunk0_3"},
                                  {"trunk0_3", decide("loop", "<", "total"), "trunk0_4", endOfPass},
                                  {"trunk0_4", equation("loop = loop + 1"), "branch0_5"},
                                  {"branch0_5", junction(), "trunk0_3"}})});
  frames(chart, 1);
  EXPECT_EQ(cell(chart, "loop").math, 1000000.0f);
}

// By name from outside: a copy the caller owns; a stored copy replaces and releases what the cell
// held; an unknown name reads as EMPTY and stores nothing.
TEST_F(LifecycleTest, CellsByName) {
  Chart& chart = ran("Cells", {"score"}, {gets("score", "ten")});
  Cell copy = chart.variableFromString("score");
  EXPECT_EQ(shown(copy), "'ten'");
  EXPECT_NE(copy.text, cell(chart, "score").text);
  releaseCell(copy);
  EXPECT_EQ(shown(chart.variableFromString("nothing")), "empty");
  EXPECT_EQ(shown(chart.variableFromString("YES")), "1");
  Cell four{};
  storeNumber(four, 4.0f);
  for (std::string_view name : {"score", "nothing", "NO"}) chart.setVariable(four, name);
  EXPECT_EQ(shown(cell(chart, "score")), "4");
  EXPECT_EQ(shown(chart.cell(kNo)), "4");
}

}  // namespace
}  // namespace chart::testing
