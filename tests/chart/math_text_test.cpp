#include "chart_test_support.h"

namespace chart::testing {
namespace {

using MathTextTest = ChartTest;

TEST_F(MathTextTest, EquationsUseTheUsualPrecedenceLeftToRight) {
  Chart& chart = load({testChart("Math", {"a", "b", "c", "d", "pi", "zAngle", "radians"},
                                 {{"trunk0_1", equation("a = 2 + 3 * 4 - 6 / 2"), "trunk0_2"},
                                  {"trunk0_2", equation("b = (2 + 3) * -4"), "trunk0_3"},
                                  {"trunk0_3", equation("c = 8 / 4 / 2 - 1 - 1"), "trunk0_4"},
                                  {"trunk0_4", set("pi", 3.14159265f), "trunk0_5"},
                                  {"trunk0_5", set("zAngle", 90), "trunk0_6"},
                                  {"trunk0_6", equation("radians = pi * zAngle / -180"), "trunk0_7"},
                                  {"trunk0_7", equation("d = a"), "trunk0_8"},
                                  {"trunk0_8", equation("a = a + a * 2"), endOfPass}})});
  frames(chart, 1);
  EXPECT_EQ(cell(chart, "b").math, -20.0f);
  EXPECT_EQ(cell(chart, "c").math, -1.0f);
  EXPECT_FLOAT_EQ(cell(chart, "radians").math, -3.14159265f / 2);
  EXPECT_EQ(cell(chart, "d").math, 11.0f);
  EXPECT_EQ(cell(chart, "a").math, 33.0f);  // operands are read before the result is written
  EXPECT_EQ(cell(chart, "a").type, kNumber);
}

TEST_F(MathTextTest, DoubleEquationsRoundOnlyWhenStoring) {
  // 1e8 + 1 is 1e8 in float but not in double.
  Chart& chart = load({testChart("Camera", {"big", "inFloat", "inDouble"},
                                 {{"trunk0_1", set("big", 1e8f), "trunk0_2"},
                                  {"trunk0_2", equation("inFloat = big + 1 - big"), "trunk0_3"},
                                  {"trunk0_3", equationInDouble("inDouble = big + 1 - big"),
                                   endOfPass}})});
  frames(chart, 1);
  EXPECT_EQ(cell(chart, "inFloat").math, 0.0f);
  EXPECT_EQ(cell(chart, "inDouble").math, 1.0f);
}

TEST_F(MathTextTest, AnEmptyOperandEmptiesTheResult) {
  Chart& chart = load({testChart("Math", {"a", "b", "gvRestart"},
                                 {{"trunk0_1", set("a", 5), "trunk0_2"},
                                  {"trunk0_2", set("gvRestart", 1), "trunk0_3"},
                                  {"trunk0_3", equation("a = b + 1"), "trunk0_4"},
                                  {"trunk0_4", equation("gvRestart = EMPTY"), endOfPass}})});
  frames(chart, 1);
  EXPECT_EQ(cell(chart, "a").type, kEmpty);
  EXPECT_EQ(cell(chart, "gvRestart").type, kEmpty);
}

TEST_F(MathTextTest, DivisionByZeroIsUndefined) {
  Chart& chart = load({testChart("Math", {"a", "b", "same"},
                                 {{"trunk0_1", set("b", 0), "trunk0_2"},
                                  {"trunk0_2", equation("a = 1 / b"), "trunk0_3"},
                                  {"trunk0_3", decide("a", "==", "UNDEFINED"), "trunk0_4",
                                   endOfPass},
                                  {"trunk0_4", gets("same", "yes"), endOfPass}})});
  frames(chart, 1);
  EXPECT_EQ(cell(chart, "a").type, kUndefined);
  EXPECT_EQ(text(chart, "same"), "yes");
}

TEST_F(MathTextTest, NumbersToText) {
  Chart& chart = load({testChart("Math", {"n", "t3", "t2", "t8"},
                                 {{"trunk0_1", set("n", 3), "trunk0_2"},
                                  {"trunk0_2", run(Math_to_text, {"n"}, "t3"), "trunk0_3"},
                                  {"trunk0_3", set("n", 2.5f), "trunk0_4"},
                                  {"trunk0_4", run(Math_to_text, {"n"}, "t2"), "trunk0_5"},
                                  {"trunk0_5", set("n", 12345678), "trunk0_6"},
                                  {"trunk0_6", run(Math_to_text, {"n"}, "t8"), endOfPass}})});
  frames(chart, 1);
  EXPECT_EQ(text(chart, "t3"), "3");
  EXPECT_EQ(text(chart, "t2"), "2.5");
  EXPECT_EQ(text(chart, "t8"), "1.234568e+07");
  frames(chart, 1);  // replaces, never appends
  EXPECT_EQ(text(chart, "t3"), "3");
}

TEST_F(MathTextTest, SineAndCosine) {
  Chart& chart = load({testChart("Math", {"angle", "s", "c"},
                                 {{"trunk0_1", set("angle", 0), "trunk0_2"},
                                  {"trunk0_2", run(Math_sine, {"angle"}, "s"), "trunk0_3"},
                                  {"trunk0_3", run(Math_cosine, {"angle"}, "c"), endOfPass}})});
  frames(chart, 1);
  EXPECT_EQ(cell(chart, "s").math, 0.0f);
  EXPECT_EQ(cell(chart, "c").math, 1.0f);
  EXPECT_EQ(cell(chart, "c").type, kNumber);
}

TEST_F(MathTextTest, BuildingAndTakingApartTexts) {
  Chart& chart = load(
      {testChart("Text", {"a", "b", "empty", "length", "two", "last", "code", "wide", "wideLength"},
                 {{"trunk0_1", gets("a", "x"), "trunk0_2"},
                  {"trunk0_2", gets("b", "y"), "trunk0_3"},
                  {"trunk0_3", run(Text_add, {"b"}, "a"), "trunk0_4"},
                  {"trunk0_4", gets("empty", "gone"), "trunk0_5"},
                  {"trunk0_5", run(Text_remove_all, {"empty"}), "trunk0_6"},
                  {"trunk0_6", run(Text_length, {"empty"}, "length"), "trunk0_7"},
                  {"trunk0_7", set("two", 1), "trunk0_8"},
                  {"trunk0_8", run(Text_selected_index, {"two"}), "trunk0_9"},
                  {"trunk0_9", run(Text_selected_character, {"a"}, "last"), "trunk0_10"},
                  {"trunk0_10", run(Text_character_to_number, {"last"}, "code"), "trunk0_11"},
                  {"trunk0_11", gets("wide", "\xF0\x9F\x98\x80"), "trunk0_12"},
                  {"trunk0_12", run(Text_length, {"wide"}, "wideLength"), endOfPass}})});
  frames(chart, 1);
  EXPECT_EQ(text(chart, "a"), "xy");
  EXPECT_EQ(cell(chart, "empty").type, kText);
  EXPECT_EQ(text(chart, "empty"), "");
  EXPECT_EQ(cell(chart, "length").math, 0.0f);
  EXPECT_EQ(text(chart, "last"), "y");
  EXPECT_EQ(cell(chart, "code").math, 121.0f);
  EXPECT_EQ(cell(chart, "wideLength").math, 2.0f);  // UTF-16 code units
}

TEST_F(MathTextTest, AddingTheEmptyConstantEmptiesTheText) {
  Chart& chart = load({testChart("Text", {"a"},
                                 {{"trunk0_1", gets("a", "x"), "trunk0_2"},
                                  {"trunk0_2", run(Text_add, {"EMPTY"}, "a"), endOfPass}})});
  frames(chart, 1);
  EXPECT_EQ(cell(chart, "a").type, kEmpty);
  EXPECT_EQ(cell(chart, "a").text, nullptr);
}

TEST_F(MathTextTest, ASelectedIndexThatIsNoNumberIsReportedNotCast) {
  Chart& chart = load({testChart("Word", {"t", "huge", "c"},
                                 {{"trunk0_1", gets("t", "abc"), "trunk0_2"},
                                  {"trunk0_2", set("huge", 1e30f), "trunk0_3"},
                                  {"trunk0_3", run(Text_selected_index, {"huge"}), "trunk0_4"},
                                  {"trunk0_4", run(Text_selected_character, {"t"}, "c"),
                                   endOfPass}})});
  EXPECT_NE(alertOf([&] { frames(chart, 1); })
                .find("The index of -2147483648 is outside a valid index of 0 to 2."),
            std::string::npos);
}

}  // namespace
}  // namespace chart::testing
