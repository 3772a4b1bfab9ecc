#include "chart_test_support.h"

namespace chart::testing {
namespace {

using MathTextTest = ChartTest;

TEST_F(MathTextTest, EquationsUseTheUsualPrecedenceLeftToRight) {
  Chart& chart =
      ran("Math", {"a", "b", "c", "d", "pi", "zAngle", "radians"},
          {equation("a = 2 + 3 * 4 - 6 / 2"), equation("b = (2 + 3) * -4"),
           equation("c = 8 / 4 / 2 - 1 - 1"), set("pi", 3.14159265f), set("zAngle", 90),
           equation("radians = pi * zAngle / -180"), equation("d = a"), equation("a = a + a * 2")});
  EXPECT_EQ(cell(chart, "b").math, -20.0f);
  EXPECT_EQ(cell(chart, "c").math, -1.0f);
  EXPECT_FLOAT_EQ(cell(chart, "radians").math, -3.14159265f / 2);
  EXPECT_EQ(cell(chart, "d").math, 11.0f);
  EXPECT_EQ(cell(chart, "a").math, 33.0f);  // operands are read before the result is written
  EXPECT_EQ(cell(chart, "a").type, kNumber);
}

// 1e8 + 1 is 1e8 in float but not in double; an empty operand empties the result; a division
// by zero is undefined, equal to the constant.
TEST_F(MathTextTest, PrecisionEmptyOperandsAndDivisionByZero) {
  Chart& chart =
      ran("Camera", {"big", "inFloat", "inDouble", "a", "b", "gvRestart", "zero", "q", "same"},
          {set("big", 1e8f), equation("inFloat = big + 1 - big"),
           equationInDouble("inDouble = big + 1 - big"), set("a", 5), set("gvRestart", 1),
           equation("a = b + 1"), equation("gvRestart = EMPTY"), set("zero", 0),
           equation("q = 1 / zero"), decide("q", "==", "UNDEFINED"), gets("same", "yes")});
  EXPECT_EQ(cell(chart, "inFloat").math, 0.0f);
  EXPECT_EQ(cell(chart, "inDouble").math, 1.0f);
  EXPECT_EQ(cell(chart, "a").type, kEmpty);
  EXPECT_EQ(cell(chart, "gvRestart").type, kEmpty);
  EXPECT_EQ(cell(chart, "q").type, kUndefined);
  EXPECT_EQ(text(chart, "same"), "yes");
}

TEST_F(MathTextTest, NumbersToTextSineAndCosine) {
  Chart& chart =
      ran("Math", {"n", "t3", "t2", "t8", "angle", "s", "c"},
          {set("n", 3), run(Math_to_text, {"n"}, "t3"), set("n", 2.5f),
           run(Math_to_text, {"n"}, "t2"), set("n", 12345678), run(Math_to_text, {"n"}, "t8"),
           set("angle", 0), run(Math_sine, {"angle"}, "s"), run(Math_cosine, {"angle"}, "c")});
  EXPECT_EQ(text(chart, "t3"), "3");
  EXPECT_EQ(text(chart, "t2"), "2.5");
  EXPECT_EQ(text(chart, "t8"), "1.234568e+07");
  frames(chart, 1);  // replaces, never appends
  EXPECT_EQ(text(chart, "t3"), "3");
  EXPECT_EQ(cell(chart, "s").math, 0.0f);
  EXPECT_EQ(cell(chart, "c").math, 1.0f);
  EXPECT_EQ(cell(chart, "c").type, kNumber);
}

TEST_F(MathTextTest, BuildingAndTakingApartTexts) {
  Chart& chart = ran(
      "Text", {"a", "b", "empty", "length", "two", "last", "code", "wide", "wideLength", "gone"},
      {gets("a", "x"), gets("b", "y"), run(Text_add, {"b"}, "a"), gets("empty", "gone"),
       run(Text_remove_all, {"empty"}), run(Text_length, {"empty"}, "length"), set("two", 1),
       run(Text_selected_index, {"two"}), run(Text_selected_character, {"a"}, "last"),
       run(Text_character_to_number, {"last"}, "code"), gets("wide", "\xF0\x9F\x98\x80"),
       run(Text_length, {"wide"}, "wideLength"), gets("gone", "x"),
       run(Text_add, {"EMPTY"}, "gone")});
  EXPECT_EQ(text(chart, "a"), "xy");
  EXPECT_EQ(cell(chart, "empty").type, kText);
  EXPECT_EQ(text(chart, "empty"), "");
  EXPECT_EQ(cell(chart, "length").math, 0.0f);
  EXPECT_EQ(text(chart, "last"), "y");
  EXPECT_EQ(cell(chart, "code").math, 121.0f);
  EXPECT_EQ(cell(chart, "wideLength").math, 2.0f);  // UTF-16 code units
  // Adding the empty constant empties the text.
  EXPECT_EQ(cell(chart, "gone").type, kEmpty);
  EXPECT_EQ(cell(chart, "gone").text, nullptr);
}

TEST_F(MathTextTest, ASelectedIndexThatIsNoNumberIsReportedNotCast) {
  Chart& chart = load(
      {testChart("Word", {"t", "huge", "c"},
                 straight({gets("t", "abc"), set("huge", 1e30f), run(Text_selected_index, {"huge"}),
                           run(Text_selected_character, {"t"}, "c")}))});
  EXPECT_NE(alertOf([&] {
              frames(chart, 1);
            }).find("The index of -2147483648 is outside a valid index of 0 to 2."),
            std::string::npos);
}

}  // namespace
}  // namespace chart::testing
