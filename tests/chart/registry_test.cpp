#include "chart_test_support.h"

namespace chart::testing {
namespace {

// The start-up verdict on a one-chart registry.
std::string verdict(const ChartSource& source) {
  KivAlert::share().throwInsteadOfExiting(true);
  return alertOf([&] { Registry registry({source}); });
}

TEST(Registry, BrokenDefinitionsAreNamedAtStartUp) {
  const NodeSource entry{"trunk0_1", passThrough(), endOfPass};
  EXPECT_EQ(verdict(testChart("Start", {"a"}, {{"trunk0_1", passThrough(), "trunk0_9"}})),
            "Chart definition \"Start\", node \"trunk0_1\": successor \"trunk0_9\" does not "
            "exist.");
  EXPECT_EQ(verdict(testChart("Start", {"a"}, {{"trunk0_1", set("b", 1), endOfPass}})),
            "Chart definition \"Start\", node \"trunk0_1\": cell \"b\" does not exist.");
  EXPECT_EQ(verdict(testChart("Start", {"a"}, {{"branch0_1", passThrough(), endOfPass}})),
            "Chart definition \"Start\": entry node \"trunk0_1\" does not exist.");
  EXPECT_EQ(verdict(testChart("Start", {"a"}, {entry, entry})),
            "Chart definition \"Start\", node \"trunk0_1\": the node name is used twice.");
  EXPECT_EQ(verdict(testChart("Start", {"a"},
                              {{"trunk0_1", run(Text_add, {"a", "a"}, "a"), endOfPass}})),
            "Chart definition \"Start\", node \"trunk0_1\": Text_add takes 1 argument cell(s), "
            "not 2.");
  EXPECT_EQ(verdict(testChart("Start", {"a"}, {{"trunk0_1", run(Text_add, {"a"}), endOfPass}})),
            "Chart definition \"Start\", node \"trunk0_1\": Text_add needs a result cell.");
  EXPECT_EQ(verdict(testChart("Start", {"a"},
                              {{"trunk0_1", decide("a", "=", "a"), endOfPass, endOfPass}})),
            "Chart definition \"Start\", node \"trunk0_1\": unknown operator \"=\".");
  EXPECT_EQ(verdict(testChart("Start", {"a"}, {{"trunk0_1", create("Camera", "a"), endOfPass}})),
            "Chart definition \"Start\", node \"trunk0_1\": there is no chart class \"Camera\".");
  EXPECT_EQ(verdict(testChart("Start", {"a"}, {{"trunk0_1", gets("a", "\xFF"), endOfPass}})),
            "Chart definition \"Start\", node \"trunk0_1\": the text literal is not valid UTF-8.");
  EXPECT_EQ(verdict(testChart("Start", {"a"}, {{"trunk0_1", equation("a = (a + 1"), endOfPass}})),
            "Chart definition \"Start\", node \"trunk0_1\": equation \"a = (a + 1\": expected ')' "
            "at \"\".");
}

TEST(Registry, CellsMustMatchTheirCount) {
  ChartSource source = testChart("Camera", {"zoom"}, {{"trunk0_1", passThrough(), endOfPass}});
  source.cellCount = 29;
  EXPECT_EQ(verdict(source),
            "Chart definition \"Camera\": the cell count 29 does not match the 13 constants and 2 "
            "cells listed.");
  source = testChart("Camera", {"zoom", ""}, {{"trunk0_1", passThrough(), endOfPass}});
  EXPECT_EQ(verdict(source), "Chart definition \"Camera\": exactly one cell must be named \"\", "
                             "found 2.");
  source = testChart("Camera", {"YES"}, {{"trunk0_1", passThrough(), endOfPass}});
  EXPECT_EQ(verdict(source), "Chart definition \"Camera\": two cells are named \"YES\".");
  source = testChart("Camera", {"zoom"}, {{"trunk0_1", passThrough(), endOfPass}});
  source.cells[0].index = 14;
  EXPECT_EQ(verdict(source),
            "Chart definition \"Camera\": cell \"zoom\" is listed at index 14 but comes at index "
            "13.");
}

}  // namespace
}  // namespace chart::testing
