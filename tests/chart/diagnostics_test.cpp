#include "chart/diagnostics.h"
#include "chart_test_support.h"

namespace chart::testing {
namespace {

using DiagnosticsTest = ChartTest;

TEST_F(DiagnosticsTest, WrongTypeMessageInFull) {
  Chart& chart = load({testChart(
      "Start", {"gvCamera"},
      straight({run(Global_variable_send, {"gvCamera", "EMPTY"}), set("gvCamera", 1)}))});
  EXPECT_EQ(alertOf([&] { frames(chart, 1); }),
            "There is an error in a Chart Object named: Start\n"
            "The error is inside a function named: Global_variable_send\n"
            "The variable with the function is named: gvCamera\n"
            "The variable type that is being sent is: \"EMPTY Variable\" which is incorrect\n"
            " The valid variable types are: Math or Text or Object or Math Object or Text Object.");
  // Nothing ran after the alert, and nothing was stored.
  EXPECT_EQ(cell(chart, "gvCamera").type, kEmpty);
  EXPECT_EQ(Data::share().globalVariableDictionary().size(), 0u);
}

TEST_F(DiagnosticsTest, InvalidSnippetMessageInFull) {
  Chart& chart = load({testChart("Stats", {"words", "snippet"},
                                 straight({create("Word", "words"), gets("snippet", "Begin"),
                                           run(Object_update_last, {"snippet", "words"})})),
                       testChart("Word", {}, straight({passThrough()}))});
  EXPECT_EQ(alertOf([&] { frames(chart, 1); }),
            "There is an error inside the Object named: Stats\n"
            " with the function named: Object_update_last\n"
            " because the variable named: snippet\n"
            " has a snippet named: Begin which is an invalid snippet name for this object.");
  // The child was refused before it ran.
  for (const auto& call : recording.calls) EXPECT_NE(call.chart, "Word");
}

TEST(Diagnostics, MissingResourceMessages) {
  EXPECT_EQ(missingResourceMessage("image", "Logos", "TupLogo.tif"),
            "The Logos chart has an invalid image file with directory TupLogo.tif .");
  EXPECT_EQ(missingResourceMessage("sound", "Menus", "Death2.m4a"),
            "The Menus chart has an invalid sound file with directory Death2.m4a .");
}

TEST_F(DiagnosticsTest, IndexOutOfRangeMessageInFull) {
  Chart& chart = load({testChart(
      "Word", {"gvWord", "three", "letter"},
      straight({gets("gvWord", "abc"), set("three", 3), run(Text_selected_index, {"three"}),
                run(Text_selected_character, {"gvWord"}, "letter")}))});
  EXPECT_EQ(alertOf([&] { frames(chart, 1); }),
            "There is an error in a Chart Object named: Word\n"
            "The error is inside a function named: Text_selected_character\n"
            "The variable with the function is named: gvWord\n"
            "The index of 3 is outside a valid index of 0 to 2.");
  EXPECT_EQ(cell(chart, "letter").type, kEmpty);
}

// The word a cell is reported with, for an argument that accepts `accepts`.
std::string reported(const Cell& cell, Accepts accepts, bool isEmptyConstant = false) {
  const auto word = rejectedTypeWord(cell, isEmptyConstant, acceptedTypes(accepts).words);
  return word ? std::string(kTypeWordNames[unsigned(*word)]) : "passes";
}

TEST(Diagnostics, TypeWordFollowsTheTableOrder) {
  Text* leftover = Text::create(u"old");
  const Cell numberWithText{2.0f, leftover, nullptr, kNumber};
  EXPECT_EQ(reported(numberWithText, Accepts::Text), "Math");
  EXPECT_EQ(reported(numberWithText, Accepts::Math), "Text");
  EXPECT_EQ(reported(numberWithText, Accepts::MathOrEmptyConstant), "Text");
  Text::release(leftover);

  const Cell listWithoutList{0.0f, nullptr, nullptr, kObjectList};
  EXPECT_EQ(reported(listWithoutList, Accepts::Text), "passes");
  EXPECT_EQ(reported(listWithoutList, Accepts::Math), "passes");

  const Cell empty{};
  EXPECT_EQ(reported(empty, Accepts::Text, true), "EMPTY Constant");
  EXPECT_EQ(reported(empty, Accepts::Text, false), "EMPTY Variable");
  EXPECT_EQ(reported(empty, Accepts::TextOrEmptyConstant, true), "passes");

  Cell infinity{};
  storeNumber(infinity, 1.0f / 0.0f);
  EXPECT_EQ(reported(infinity, Accepts::Text), "Math");

  List* list = List::create();
  EXPECT_EQ(reported({0, nullptr, list, kTextList}, Accepts::Math), "Text Object");
  EXPECT_EQ(reported({0, nullptr, list, kNumberList}, Accepts::YesOrNo), "Math Object");
  List::release(list);
}

TEST_F(DiagnosticsTest, EmptyConstantVersusEmptyVariableInAChart) {
  Chart& chart = load(
      {testChart("Word", {"blank", "length"}, straight({run(Text_length, {"blank"}, "length")})),
       testChart("Other", {"length"}, straight({run(Text_length, {"EMPTY"}, "length")}))});
  EXPECT_NE(alertOf([&] { frames(chart, 1); }).find("\"EMPTY Variable\""), std::string::npos);
  Chart& other = make("Other");
  EXPECT_NE(alertOf([&] { frames(other, 1); }).find("\"EMPTY Constant\""), std::string::npos);
}

}  // namespace
}  // namespace chart::testing
