// A chart's frame, its teardown and its children: what runs, what the engine gets back and when.
#include <algorithm>

#include "support/chart_test_support.h"

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
  chart::Data::share().setSelectedSnippet("before");
  chart.update("Marker");
  EXPECT_EQ(cell(chart, "ran").type, kEmpty);
  EXPECT_EQ(chart::Data::share().selectedSnippet(), "before");
  EXPECT_EQ(recording.calls, (std::vector<Call>{{"audio.setActiveChart", "Marker", 0},
                                                 {"polygons.setActiveChart", "Marker", 0},
                                                 {"textures.setActiveChart", "Marker", 0}}));
  chart::Data::share().startFrame(0.25f, {});
  chart.update("Start");
  EXPECT_EQ(cell(chart, "ran").math, 1.0f);
  EXPECT_EQ(cell(chart, "time").math, 0.25f);
  EXPECT_EQ(chart::Data::share().selectedSnippet(), "Start");
}

// Teardown gives back what each chart recorded, by kind and in the order recorded.
TEST_F(LifecycleTest, TeardownGivesBackWhatWasRecorded) {
  Chart& chart = load({marker()});
  chart.recordForDealloc(Resource::Sound, 1);
  frames(chart, 1);
  Chart& later = make("Marker");
  later.recordForDealloc(Resource::Polygon, 5);
  frames(later, 1);
  chart.recordForDealloc(Resource::Polygon, 4);
  chart.recordForDealloc(Resource::Polygon, 2);
  recording.calls.clear();
  Chart::release(&chart);
  Chart::release(&later);
  charts.clear();
  EXPECT_EQ(recording.calls, (std::vector<Call>{{"polygons.removePolygons", "", 4},
                                                 {"polygons.removePolygons", "", 2},
                                                 {"audio.removeSound", "", 1},
                                                 {"polygons.removePolygons", "", 5}}));
}

// By name from outside: a copy the caller owns; a stored copy replaces and releases what the cell
// held; an unknown name reads as EMPTY and stores nothing.
TEST_F(LifecycleTest, CellsByName) {
  Chart& chart = ran("Cells", {"score"}, {appendText("score", "ten")});
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

// Each child appends its mark to the global `gvOrder` in its own frame.
ChartSource child(std::string_view name, std::string_view mark) {
  return testChart(
      name, {"gvOrder"},
      straight({run(Global_variable_receive, {"EMPTY"}, "gvOrder"), appendText("gvOrder", mark),
                run(Global_variable_send, {"gvOrder", "EMPTY"})}));
}

TEST_F(LifecycleTest, UpdateAllRunsEachChildWholeInOrderAndUpdateLastOnlyTheNewest) {
  Chart& parent =
      load({testChart("Menus", {"children"},
                      {{"trunk0_1", decide("children", "==", "EMPTY"), "branch0_1", "trunk0_2"},
                       {"branch0_1", create("First", "children"), "branch0_2"},
                       {"branch0_2", create("Second", "children"), "trunk0_2"},
                       {"trunk0_2", run(Object_update_all, {"EMPTY", "children"}), endOfPass}}),
            child("First", "1"), child("Second", "2")});
  frames(parent, 2);
  EXPECT_EQ(toUtf8(globals().find("gvOrder")->text->units), "1212");
  EXPECT_EQ(cell(parent, "children").object->size(), 2u);
  // Then the parent is the active chart again.
  EXPECT_EQ(chart::Data::share().selectedChart(), "Menus");
  EXPECT_EQ(chart::Data::share().selectedSnippet(), "Start");
  const auto& calls = recording.calls;
  ASSERT_GE(calls.size(), 3u);
  const std::vector<Call> last(calls.end() - 3, calls.end());
  EXPECT_EQ(last, (std::vector<Call>{{"audio.setActiveChart", "Menus", 0},
                                                        {"polygons.setActiveChart", "Menus", 0},
                                                        {"textures.setActiveChart", "Menus", 0}}));

  globals().removeAll();
  use({testChart("Stats", {"words", "start"},
                 straight({create("First", "words"), create("Second", "words"),
                           appendText("start", "Start"),
                           run(Object_update_last, {"start", "words"})})),
       child("First", "1"), child("Second", "2")});
  frames(make("Stats"), 1);
  EXPECT_EQ(toUtf8(globals().find("gvOrder")->text->units), "2");
}

TEST_F(LifecycleTest, ReleasingTheLastListTearsTheChildDown) {
  Chart& parent =
      load({testChart("Menus", {"logosObj", "copy"},
                      {{"trunk0_1", decide("logosObj", "==", "EMPTY"), "branch0_1", "trunk0_2"},
                       {"branch0_1", create("Logos", "logosObj"), "branch0_2"},
                       {"branch0_2", run(Object_add, {"logosObj"}, "copy"), endOfPass},
                       {"trunk0_2", run(Object_add, {"EMPTY"}, "logosObj"), "trunk0_3"},
                       {"trunk0_3", run(Object_add, {"EMPTY"}, "copy"), endOfPass}}),
            testChart("Logos", {}, straight({passThrough()}))});
  frames(parent, 1);
  Chart* logos = std::get<Chart*>((*cell(parent, "logosObj").object)[0]);
  logos->recordForDealloc(Resource::Image, 7);
  recording.calls.clear();
  frames(parent, 1);
  // The copy list still held the chart after the first emptying; the second let it go.
  EXPECT_EQ(cell(parent, "logosObj").type, kEmpty);
  EXPECT_EQ(cell(parent, "copy").type, kEmpty);
  const Call removed{"textures.deleteTexture", "", 7};
  EXPECT_EQ(std::count(recording.calls.begin(), recording.calls.end(), removed), 1);
}

}  // namespace
}  // namespace chart::testing
