#include <algorithm>

#include "chart_test_support.h"

namespace chart::testing {
namespace {

using ObjectsTest = ChartTest;

// Each child appends its mark to the global `gvOrder` in its own frame.
ChartSource child(std::string_view name, std::string_view mark) {
  return testChart(name, {"gvOrder"},
                   {{"trunk0_1", run(Global_variable_receive, {"EMPTY"}, "gvOrder"), "trunk0_2"},
                    {"trunk0_2", gets("gvOrder", mark), "trunk0_3"},
                    {"trunk0_3", run(Global_variable_send, {"gvOrder", "EMPTY"}), endOfPass}});
}

TEST_F(ObjectsTest, UpdateAllRunsEachChildWholeInOrderThenTheParentIsActiveAgain) {
  Chart& parent = load({testChart("Menus", {"children"},
                                  {{"trunk0_1", decide("children", "==", "EMPTY"), "branch0_1",
                                    "trunk0_2"},
                                   {"branch0_1", create("First", "children"), "branch0_2"},
                                   {"branch0_2", create("Second", "children"), "trunk0_2"},
                                   {"trunk0_2", run(Object_update_all, {"EMPTY", "children"}),
                                    endOfPass}}),
                        child("First", "1"), child("Second", "2")});
  frames(parent, 2);
  EXPECT_EQ(toUtf8(globals().find("gvOrder")->text->units), "1212");
  EXPECT_EQ(cell(parent, "children").object->size(), 2u);
  EXPECT_EQ(Data::share().selectedChart(), "Menus");
  EXPECT_EQ(Data::share().selectedSnippet(), "Start");
  const auto& calls = recording.calls;
  ASSERT_GE(calls.size(), 3u);
  const std::vector<RecordingServices::Call> last(calls.end() - 3, calls.end());
  EXPECT_EQ(last, (std::vector<RecordingServices::Call>{{"audio.setActiveChart", "Menus", 0},
                                                         {"polygons.setActiveChart", "Menus", 0},
                                                         {"textures.setActiveChart", "Menus", 0}}));
}

TEST_F(ObjectsTest, UpdateLastRunsOnlyTheNewestChild) {
  Chart& parent = load({testChart("Stats", {"words", "start"},
                                  {{"trunk0_1", create("First", "words"), "trunk0_2"},
                                   {"trunk0_2", create("Second", "words"), "trunk0_3"},
                                   {"trunk0_3", gets("start", "Start"), "trunk0_4"},
                                   {"trunk0_4", run(Object_update_last, {"start", "words"}),
                                    endOfPass}}),
                        child("First", "1"), child("Second", "2")});
  frames(parent, 1);
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
            testChart("Logos", {}, {{"trunk0_1", passThrough(), endOfPass}})});
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

TEST_F(ObjectsTest, SelectingElements) {
  Chart& chart = load(
      {testChart("Lists", {"numbers", "two", "picked", "one", "charts", "pickedChart"},
                 {{"trunk0_1", set("two", 2), "trunk0_2"},
                  {"trunk0_2", run(Object_add_math, {"YES"}, "numbers"), "trunk0_3"},
                  {"trunk0_3", run(Object_add_math, {"two"}, "numbers"), "trunk0_4"},
                  {"trunk0_4", run(Object_add_math, {"numbers"}, "numbers"), "trunk0_5"},
                  {"trunk0_5", set("one", 1.9f), "trunk0_6"},
                  {"trunk0_6", run(Object_selected_index, {"one"}), "trunk0_7"},
                  {"trunk0_7", run(Object_selected_object, {"numbers"}, "picked"), "trunk0_8"},
                  {"trunk0_8", create("Lists", "charts"), "trunk0_9"},
                  {"trunk0_9", run(Object_selected_index, {"NO"}), "trunk0_10"},
                  {"trunk0_10", run(Object_selected_object, {"charts"}, "pickedChart"),
                   "trunk0_11"},
                  {"trunk0_11", set("two", 3), "trunk0_12"},
                  {"trunk0_12", run(Object_selected_index, {"two"}), "trunk0_13"},
                  {"trunk0_13", run(Object_selected_object, {"charts"}, "pickedChart"),
                   endOfPass}})});
  const std::string message = alertOf([&] { frames(chart, 1); });
  EXPECT_EQ(cell(chart, "numbers").object->size(), 4u);  // 1, 2, then the list's own two
  EXPECT_EQ(cell(chart, "picked").math, 2.0f);           // index 1.9 picks element 1
  EXPECT_EQ(cell(chart, "pickedChart").object->size(), 1u);
  EXPECT_EQ(message,
            "There is an error in a Chart Object named: Lists\n"
            "The error is inside a function named: Object_selected_object\n"
            "The variable with the function is named: charts\n"
            "The index of 3 is outside a valid index of 0 to 0.");
}

TEST_F(ObjectsTest, SelectedObjectOfThreeAtThree) {
  Chart& chart = load({testChart("Lists", {"list", "three", "picked"},
                                 {{"trunk0_1", run(Object_add_math, {"YES"}, "list"), "trunk0_2"},
                                  {"trunk0_2", run(Object_add_math, {"YES"}, "list"), "trunk0_3"},
                                  {"trunk0_3", run(Object_add_math, {"YES"}, "list"), "trunk0_4"},
                                  {"trunk0_4", set("three", 3), "trunk0_5"},
                                  {"trunk0_5", run(Object_selected_index, {"three"}), "trunk0_6"},
                                  {"trunk0_6", run(Object_selected_object, {"list"}, "picked"),
                                   endOfPass}})});
  EXPECT_NE(alertOf([&] { frames(chart, 1); })
                .find("\nThe index of 3 is outside a valid index of 0 to 2."),
            std::string::npos);
}

}  // namespace
}  // namespace chart::testing
