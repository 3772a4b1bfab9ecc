#include "support/chart_test_support.h"

namespace chart::testing {
namespace {

// Each broken definition stops the start-up with a message naming the chart and what is wrong.
TEST(Registry, BrokenDefinitionsAreNamedAtStartUp) {
  engine::KivAlert::share().throwInsteadOfExiting(true);
  const NodeSource entry{"trunk0_1", passThrough(), endOfPass};
  const auto start = [](std::vector<NodeSource> nodes) { return testChart("Start", {"a"}, nodes); };
  const auto node = [&](NodeAction action, std::string_view next = endOfPass) {
    return start({{"trunk0_1", action, next}});
  };
  const auto camera = [&](std::vector<std::string_view> cells) {
    return testChart("Camera", std::move(cells), {entry});
  };
  ChartSource counted = camera({"zoom"}), misplaced = camera({"zoom"});
  counted.cellCount = 29;
  misplaced.cells[0].index = 14;
  const std::pair<ChartSource, std::string> kCases[] = {
      {node(passThrough(), "trunk0_9"), ", node \"trunk0_1\": successor \"trunk0_9\" does not exist."},
      {node(set("b", 1)), ", node \"trunk0_1\": cell \"b\" does not exist."},
      {start({{"branch0_1", passThrough(), endOfPass}}), ": entry node \"trunk0_1\" does not exist."},
      {start({entry, entry}), ", node \"trunk0_1\": the node name is used twice."},
      {node(run(Text_add, {"a", "a"}, "a")),
       ", node \"trunk0_1\": Text_add takes 1 argument cell(s), not 2."},
      {node(run(Text_add, {"a"})), ", node \"trunk0_1\": Text_add needs a result cell."},
      {node(decide("a", "=", "a")), ", node \"trunk0_1\": unknown operator \"=\"."},
      {node(create("Camera", "a")), ", node \"trunk0_1\": there is no chart class \"Camera\"."},
      {node(appendText("a", "\xFF")), ", node \"trunk0_1\": the text literal is not valid UTF-8."},
      {node(equation("a = (a + 1")),
       ", node \"trunk0_1\": equation \"a = (a + 1\": expected ')' at \"\"."},
      {counted, ": the cell count 29 does not match the 13 constants and 2 cells listed."},
      {camera({"zoom", ""}), ": exactly one cell must be named \"\", found 2."},
      {camera({"YES"}), ": two cells are named \"YES\"."},
      {misplaced, ": cell \"zoom\" is listed at index 14 but comes at index 13."},
  };
  for (const auto& [source, message] : kCases) {
    EXPECT_EQ(alertOf([&] { Registry registry({source}); }),
              "Chart definition \"" + std::string(source.name) + "\"" + message);
  }
}

}  // namespace
}  // namespace chart::testing
