#include <cmath>
#include <limits>

#include "chart_test_support.h"

namespace chart::testing {
namespace {

using CellsTest = ChartTest;

TEST_F(CellsTest, BuiltinConstantsAndUndefinedByType) {
  Chart& chart = load({testChart("Cells", {"own"}, {{"trunk0_1", passThrough(), endOfPass}})});
  EXPECT_EQ(chart.cell(kYes).type, kNumber);
  EXPECT_EQ(chart.cell(kYes).math, 1.0f);
  EXPECT_EQ(chart.cell(kEmptyConstant).type, kEmpty);
  EXPECT_EQ(chart.cell(kUndefinedConstant).type, kUndefined);
  EXPECT_EQ(chart.cell(kUndefinedConstant).math, 0.0f);
  EXPECT_EQ(chart.cell(kMacosx).math, 1.0f);
  EXPECT_EQ(chart.cell(kIphone).math, 0.0f);
  EXPECT_EQ(chart.cell(kMinFilter).type, kEmpty);
  EXPECT_EQ(cell(chart, "own").type, kEmpty);
}

TEST_F(CellsTest, InfinityIsUndefinedAndNanIsANumber) {
  const float infinity = std::numeric_limits<float>::infinity();
  Chart& chart = load({testChart("Cells", {"big", "small", "nan"},
                                 {{"trunk0_1", set("big", infinity), "trunk0_2"},
                                  {"trunk0_2", set("small", -infinity), "trunk0_3"},
                                  {"trunk0_3", set("nan", std::nanf("")), endOfPass}})});
  frames(chart, 1);
  EXPECT_EQ(cell(chart, "big").type, kUndefined);
  EXPECT_EQ(cell(chart, "small").type, kUndefined);
  EXPECT_EQ(cell(chart, "nan").type, kNumber);
}

TEST_F(CellsTest, ClearingReleasesTheListAndKeepsTheText) {
  // `a` gets a text and then a list; clearing it releases only the list, and the next text
  // command appends to the text that was kept.
  Chart& chart = load({testChart("Cells", {"a", "b"},
                                 {{"trunk0_1", gets("a", "kept"), "trunk0_2"},
                                  {"trunk0_2", run(Object_add_math, {"YES"}, "a"), endOfPass}})});
  frames(chart, 1);
  Cell& a = cell(chart, "a");
  ASSERT_NE(a.object, nullptr);
  chart.setVariableNumber(kBuiltinCellCount, kEmpty);
  EXPECT_EQ(a.type, kEmpty);
  EXPECT_EQ(a.object, nullptr);
  ASSERT_NE(a.text, nullptr);
  EXPECT_EQ(text(chart, "a"), "kept");
}

TEST_F(CellsTest, ClearingReleasesTheTextAndKeepsTheNumber) {
  Chart& chart = load({testChart("Cells", {"a"},
                                 {{"trunk0_1", set("a", 7), "trunk0_2"},
                                  {"trunk0_2", gets("a", "x"), endOfPass}})});
  frames(chart, 1);
  Cell& a = cell(chart, "a");
  EXPECT_EQ(a.type, kText);  // the literal created the text
  chart.setVariableNumber(kBuiltinCellCount, kEmpty);
  EXPECT_EQ(a.text, nullptr);
  EXPECT_EQ(a.math, 7.0f);
  EXPECT_EQ(a.type, kEmpty);
  chart.setVariableNumber(kBuiltinCellCount, kEmpty);  // a number type is gone: math stays
  EXPECT_EQ(a.math, 7.0f);
  chart.setVariableNumber(kBuiltinCellCount, kNumber);  // only 0 clears
  EXPECT_EQ(a.type, kEmpty);
}

TEST_F(CellsTest, LookupByName) {
  Chart& chart = load({testChart("Cells", {"score"},
                                 {{"trunk0_1", gets("score", "ten"), endOfPass}})});
  frames(chart, 1);

  Cell copy = chart.variableFromString("score");
  ASSERT_NE(copy.text, nullptr);
  EXPECT_NE(copy.text, cell(chart, "score").text);  // a copy, owned by the caller
  EXPECT_EQ(toUtf8(copy.text->units), "ten");
  releaseCell(copy);

  EXPECT_EQ(chart.variableFromString("nothing").type, kEmpty);
  EXPECT_EQ(chart.variableFromString("YES").math, 1.0f);

  Cell value{};
  storeNumber(value, 4.0f);
  chart.setVariable(value, "score");
  EXPECT_EQ(cell(chart, "score").type, kNumber);
  EXPECT_EQ(cell(chart, "score").text, nullptr);  // the old text was released, not leaked
  chart.setVariable(value, "nothing");            // no such cell: nothing changes
  chart.setVariable(value, "NO");
  EXPECT_EQ(chart.cell(kNo).math, 4.0f);
}

}  // namespace
}  // namespace chart::testing
