#include <algorithm>

#include "chart_test_support.h"

namespace chart::testing {
namespace {

using ObjectsTest = ChartTest;

// Each child appends its mark to the global `gvOrder` in its own frame.
ChartSource child(std::string_view name, std::string_view mark) {
  return testChart(
      name, {"gvOrder"},
      straight({run(Global_variable_receive, {"EMPTY"}, "gvOrder"), gets("gvOrder", mark),
                run(Global_variable_send, {"gvOrder", "EMPTY"})}));
}

TEST_F(ObjectsTest, UpdateAllRunsEachChildWholeInOrderAndUpdateLastOnlyTheNewest) {
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
  EXPECT_EQ(Data::share().selectedChart(), "Menus");
  EXPECT_EQ(Data::share().selectedSnippet(), "Start");
  const auto& calls = recording.calls;
  ASSERT_GE(calls.size(), 3u);
  const std::vector<RecordingServices::Call> last(calls.end() - 3, calls.end());
  EXPECT_EQ(last, (std::vector<RecordingServices::Call>{{"audio.setActiveChart", "Menus", 0},
                                                        {"polygons.setActiveChart", "Menus", 0},
                                                        {"textures.setActiveChart", "Menus", 0}}));

  globals().removeAll();
  use({testChart("Stats", {"words", "start"},
                 straight({create("First", "words"), create("Second", "words"),
                           gets("start", "Start"), run(Object_update_last, {"start", "words"})})),
       child("First", "1"), child("Second", "2")});
  frames(make("Stats"), 1);
  EXPECT_EQ(toUtf8(globals().find("gvOrder")->text->units), "2");
}

TEST_F(ObjectsTest, ReleasingTheLastListTearsTheChildDown) {
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
  const RecordingServices::Call removed{"textures.deleteTexture", "", 7};
  EXPECT_EQ(std::count(recording.calls.begin(), recording.calls.end(), removed), 1);
}

}  // namespace
}  // namespace chart::testing
