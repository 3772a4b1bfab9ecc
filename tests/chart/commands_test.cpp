// Charts of a few nodes run for a frame: the cells each leaves behind, as `shown` writes them,
// and the alert that stopped it, word for word; globals passed between two charts.
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

#include "chart/preferences.h"
#include "support/chart_test_support.h"

namespace chart::testing {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

struct ChartRun {
  std::string_view behaviour;
  std::string_view chart;
  std::vector<std::string_view> cells;
  std::vector<NodeAction> actions;
  std::vector<std::pair<std::string_view, std::string_view>> expected;  // cell, as shown
  std::string alert = {};
  std::vector<ChartSource> others = {};  // charts it may create
  int frames = 1;
};

using CommandsTest = ChartTest;

TEST_F(CommandsTest, LeaveTheirCellsAndAlerts) {
  Preferences::openInMemory(nlohmann::json{{"Easy", 3}});
  const ChartRun kRuns[] = {
      {"BuiltInCellsHoldTheirConstants", "Constants", {"own"}, {passThrough()},
       {{"YES", "1"}, {"NO", "0"}, {"EMPTY", "empty"}, {"UNDEFINED", "undefined"},
        {"MACOSX", "1"}, {"IPHONE", "0"}, {"MIN_FILTER", "empty"}, {"own", "empty"}}},
      {"InfinitiesAreUndefinedAndANaNIsANumber", "Infinities", {"big", "small", "nan"},
       {set("big", kInfinity), set("small", -kInfinity), set("nan", std::nanf(""))},
       {{"big", "undefined"}, {"small", "undefined"}, {"nan", "nan"}}},
      // Emptying releases a list and keeps the text behind it, else releases a text and keeps
      // the number behind it; a text literal appends to a kept text.
      {"EmptyingKeepsWhatLayBehindTheValue", "Clearing", {"list", "text", "number"},
       {appendText("list", "kept"), run(Object_add_math, {"YES"}, "list"),
        run(Object_add, {"EMPTY"}, "list"), appendText("list", "!"), set("text", 7),
        appendText("text", "x"), run(Text_add, {"EMPTY"}, "text"),
        run(Text_add, {"EMPTY"}, "text"), set("number", 3), run(Text_add, {"EMPTY"}, "number")},
       {{"list", "empty text 'kept!'"}, {"text", "empty math 7"}, {"number", "empty"}}},
      // Operands are read before the result is written.
      {"EquationsKeepPrecedenceAndReadOperandsFirst", "Math",
       {"a", "b", "c", "d", "pi", "zAngle", "radians"},
       {equation("a = 2 + 3 * 4 - 6 / 2"), equation("b = (2 + 3) * -4"),
        equation("c = 8 / 4 / 2 - 1 - 1"), set("pi", 3.14159265f), set("zAngle", 90),
        equation("radians = pi * zAngle / -180"), equation("d = a"), equation("a = a + a * 2")},
       {{"a", "33"}, {"b", "-20"}, {"c", "-1"}, {"d", "11"}, {"radians", "-1.5707964"}}},
      // 1e8 + 1 is 1e8 in float but not in double; an empty operand empties the result; a
      // division by zero is undefined, equal to the constant.
      {"InDoubleWithAnEmptyOperandAndByZero", "Camera",
       {"big", "inFloat", "inDouble", "a", "b", "gvRestart", "zero", "q", "same"},
       {set("big", 1e8f), equation("inFloat = big + 1 - big"),
        equationInDouble("inDouble = big + 1 - big"), set("a", 5), set("gvRestart", 1),
        equation("a = b + 1"), equation("gvRestart = EMPTY"), set("zero", 0),
        equation("q = 1 / zero"), decide("q", "==", "UNDEFINED"), appendText("same", "yes")},
       {{"inFloat", "0"}, {"inDouble", "1"}, {"a", "empty"}, {"gvRestart", "empty"},
        {"q", "undefined"}, {"same", "'yes'"}}},
      // Two frames: the text is replaced, never appended to.
      {"NumberToTextReplacesTheText", "ToText", {"n", "t3", "t2", "t8", "angle", "s", "c"},
       {set("n", 3), run(Math_to_text, {"n"}, "t3"), set("n", 2.5f),
        run(Math_to_text, {"n"}, "t2"), set("n", 12345678), run(Math_to_text, {"n"}, "t8"),
        set("angle", 0), run(Math_sine, {"angle"}, "s"), run(Math_cosine, {"angle"}, "c")},
       {{"t3", "'3'"}, {"t2", "'2.5'"}, {"t8", "'1.234568e+07'"}, {"s", "0"}, {"c", "1"}},
       "", {}, 2},
      // Lengths in UTF-16 code units; adding the empty constant empties the text.
      {"TextLengthsCountUtf16Units", "Text",
       {"a", "b", "empty", "length", "two", "last", "code", "wide", "wideLength", "gone"},
       {appendText("a", "x"), appendText("b", "y"), run(Text_add, {"b"}, "a"),
        appendText("empty", "gone"), run(Text_remove_all, {"empty"}),
        run(Text_length, {"empty"}, "length"), set("two", 1), run(Text_selected_index, {"two"}),
        run(Text_selected_character, {"a"}, "last"),
        run(Text_character_to_number, {"last"}, "code"), appendText("wide", "\xF0\x9F\x98\x80"),
        run(Text_length, {"wide"}, "wideLength"), appendText("gone", "x"),
        run(Text_add, {"EMPTY"}, "gone")},
       {{"a", "'xy'"}, {"empty", "''"}, {"length", "0"}, {"last", "'y'"}, {"code", "121"},
        {"wideLength", "2"}, {"gone", "empty"}}},
      {"ACharacterIndexPastTheEndIsReported", "Word", {"gvWord", "three", "letter"},
       {appendText("gvWord", "abc"), set("three", 3), run(Text_selected_index, {"three"}),
        run(Text_selected_character, {"gvWord"}, "letter")},
       {{"letter", "empty"}},
       "There is an error in a Chart Object named: Word\n"
       "The error is inside a function named: Text_selected_character\n"
       "The variable with the function is named: gvWord\n"
       "The index of 3 is outside a valid index of 0 to 2."},
      {"AnIndexThatIsNoNumberIsReportedNotCast", "Word", {"t", "huge", "c"},
       {appendText("t", "abc"), set("huge", 1e30f), run(Text_selected_index, {"huge"}),
        run(Text_selected_character, {"t"}, "c")},
       {},
       "There is an error in a Chart Object named: Word\n"
       "The error is inside a function named: Text_selected_character\n"
       "The variable with the function is named: t\n"
       "The index of -2147483648 is outside a valid index of 0 to 2."},
      {"NothingRunsAfterAnAlert", "Start", {"gvCamera"},
       {run(Global_variable_send, {"gvCamera", "EMPTY"}), set("gvCamera", 1)},
       {{"gvCamera", "empty"}},
       "There is an error in a Chart Object named: Start\n"
       "The error is inside a function named: Global_variable_send\n"
       "The variable with the function is named: gvCamera\n"
       "The variable type that is being sent is: \"EMPTY Variable\" which is incorrect\n"
       " The valid variable types are: Math or Text or Object or Math Object or Text Object."},
      {"AnEmptyCellIsAnEmptyVariable", "Word", {"blank", "length"},
       {run(Text_length, {"blank"}, "length")}, {},
       "There is an error in a Chart Object named: Word\n"
       "The error is inside a function named: Text_length\n"
       "The variable with the function is named: blank\n"
       "The variable type that is being sent is: \"EMPTY Variable\" which is incorrect\n"
       " The valid variable types are: Text."},
      {"TheEmptyConstantIsNamedAsTheConstant", "Other", {"length"},
       {run(Text_length, {"EMPTY"}, "length")}, {},
       "There is an error in a Chart Object named: Other\n"
       "The error is inside a function named: Text_length\n"
       "The variable with the function is named: EMPTY\n"
       "The variable type that is being sent is: \"EMPTY Constant\" which is incorrect\n"
       " The valid variable types are: Text."},
      {"AnUnknownSnippetIsRejected", "Stats", {"words", "snippet"},
       {create("Word", "words"), appendText("snippet", "Begin"),
        run(Object_update_last, {"snippet", "words"})},
       {},
       "There is an error inside the Object named: Stats\n"
       " with the function named: Object_update_last\n"
       " because the variable named: snippet\n"
       " has a snippet named: Begin which is an invalid snippet name for this object.",
       {testChart("Word", {}, straight({passThrough()}))}},
      // Index 1.9 picks element 1; index 3 of four the last; index 1 of one fails.
      {"ListIndexesTruncateAndAreChecked", "Lists",
       {"numbers", "two", "picked", "one", "charts", "pickedChart", "three", "last"},
       {set("two", 2), run(Object_add_math, {"YES"}, "numbers"),
        run(Object_add_math, {"two"}, "numbers"), run(Object_add_math, {"numbers"}, "numbers"),
        set("one", 1.9f), run(Object_selected_index, {"one"}),
        run(Object_selected_object, {"numbers"}, "picked"), set("three", 3),
        run(Object_selected_index, {"three"}), run(Object_selected_object, {"numbers"}, "last"),
        create("Lists", "charts"), run(Object_selected_index, {"NO"}),
        run(Object_selected_object, {"charts"}, "pickedChart"),
        run(Object_selected_index, {"YES"}),
        run(Object_selected_object, {"charts"}, "pickedChart")},
       {{"numbers", "numbers 4"}, {"picked", "2"}, {"last", "2"}, {"pickedChart", "charts 1"}},
       "There is an error in a Chart Object named: Lists\n"
       "The error is inside a function named: Object_selected_object\n"
       "The variable with the function is named: charts\n"
       "The index of 1 is outside a valid index of 0 to 0."},
      // A global received before it was sent, after an undefined number was sent or with the
      // wrong key empties the cell; with the right key or none it gives the number (each
      // outcome copied aside before the cell is set to 9 again).
      {"AGlobalIsReceivedOnlyWithItsKey", "Keys",
       {"gvScore", "hard", "easy", "never", "unkeyed", "undefinedSent", "wrongKey", "rightKey"},
       {set("gvScore", 9), run(Global_variable_receive, {"EMPTY"}, "gvScore"),
        equation("never = gvScore"), set("gvScore", 5),
        run(Global_variable_send, {"gvScore", "EMPTY"}), set("gvScore", 9),
        run(Global_variable_receive, {"EMPTY"}, "gvScore"), equation("unkeyed = gvScore"),
        set("gvScore", kInfinity), run(Global_variable_send, {"gvScore", "EMPTY"}),
        set("gvScore", 9), run(Global_variable_receive, {"EMPTY"}, "gvScore"),
        equation("undefinedSent = gvScore"), appendText("hard", "Hard"),
        appendText("easy", "Easy"), set("gvScore", 5),
        run(Global_variable_send, {"gvScore", "hard"}), set("gvScore", 9),
        run(Global_variable_receive, {"easy"}, "gvScore"), equation("wrongKey = gvScore"),
        set("gvScore", 9), run(Global_variable_receive, {"hard"}, "gvScore"),
        equation("rightKey = gvScore"), set("gvScore", 9),
        run(Global_variable_receive, {"EMPTY"}, "gvScore")},
       {{"never", "empty"}, {"unkeyed", "5"}, {"undefinedSent", "empty"}, {"wrongKey", "empty"},
        {"rightKey", "5"}, {"gvScore", "5"}}},
      // A global sent with a key text is removed only with it (`kept` is what was received
      // after removing it without); removing all leaves the sent cells as they were.
      {"AKeyedGlobalIsRemovedOnlyWithItsKey", "Globals",
       {"key", "gvKeyed", "gvPlain", "kept", "gvOne", "gvTwo"},
       {appendText("key", "Hard"), set("gvKeyed", 1), set("gvPlain", 2),
        run(Global_variable_send, {"gvKeyed", "key"}),
        run(Global_variable_send, {"gvPlain", "EMPTY"}),
        run(Global_variable_remove, {"gvKeyed", "EMPTY"}),
        run(Global_variable_remove, {"gvPlain", "EMPTY"}),
        run(Global_variable_receive, {"key"}, "gvKeyed"),
        run(Global_variable_receive, {"EMPTY"}, "gvPlain"), equation("kept = gvKeyed"),
        run(Global_variable_remove, {"gvKeyed", "key"}),
        run(Global_variable_receive, {"key"}, "gvKeyed"), set("gvOne", 1),
        appendText("gvTwo", "two"), run(Global_variable_send, {"gvOne", "EMPTY"}),
        run(Global_variable_send, {"gvTwo", "EMPTY"}), run(Global_variable_remove_all, {"YES"}),
        run(Global_variable_receive, {"EMPTY"}, "gvOne")},
       {{"kept", "1"}, {"gvPlain", "empty"}, {"gvKeyed", "empty"}, {"gvOne", "empty"},
        {"gvTwo", "'two'"}}},
      // Each kind of value saved and opened again; an undefined number removes its key.
      {"EachKindOfPreferenceIsSavedAndOpened", "Prefs",
       {"hard", "name", "best", "easy", "list", "word", "number", "gone", "list2", "word2",
        "number2", "gone2"},
       {appendText("hard", "Hard"), appendText("name", "Name"), appendText("best", "Best"),
        appendText("easy", "Easy"), run(Object_add_math, {"YES"}, "list"),
        run(Object_add_math, {"NO"}, "list"), appendText("word", "fl\xC3\xBCgel"),
        set("number", 12.5f), set("gone", kInfinity), set("gone2", 3),
        run(Preference_save, {"hard", "list"}), run(Preference_save, {"name", "word"}),
        run(Preference_save, {"best", "number"}), run(Preference_save, {"easy", "gone"}),
        run(Preference_open, {"hard"}, "list2"), run(Preference_open, {"name"}, "word2"),
        run(Preference_open, {"best"}, "number2"), run(Preference_open, {"easy"}, "gone2")},
       {{"list2", "numbers 2"}, {"word2", "'fl\xC3\xBCgel'"}, {"number2", "12.5"},
        {"gone2", "empty"}}},
  };
  for (const ChartRun& run : kRuns) {
    std::vector<ChartSource> sources{testChart(run.chart, run.cells, straight(run.actions))};
    sources.insert(sources.end(), run.others.begin(), run.others.end());
    Chart& chart = load(sources);
    std::string alert;
    try {
      frames(chart, run.frames);
    } catch (const engine::FatalAlert& raised) {
      alert = raised.what();
    }
    EXPECT_EQ(alert, run.alert) << run.behaviour;
    for (const auto& [name, expected] : run.expected) {
      EXPECT_EQ(shown(cell(chart, name)), expected) << run.behaviour << " " << name;
    }
  }
}

// Between charts that are not parent and child: a text changed after sending is seen by a later
// receiver, which holds a copy; a list is shared
// on sending and copied on receiving.
TEST_F(CommandsTest, GlobalTextsAndListsSentAndReceived) {
  Chart& sender = load(
      {testChart("Menus", {"gvWord", "more", "gvList"},
                 straight({appendText("gvWord", "TIME"),
                           run(Global_variable_send, {"gvWord", "EMPTY"}),
                           appendText("more", " 00:00.00"), run(Text_add, {"more"}, "gvWord"),
                           run(Object_add_math, {"YES"}, "gvList"),
                           run(Object_add_math, {"YES"}, "gvList"),
                           run(Global_variable_send, {"gvList", "EMPTY"})})),
       testChart("Word", {"gvWord", "gvList"},
                 straight({run(Global_variable_receive, {"EMPTY"}, "gvWord"),
                           run(Global_variable_receive, {"EMPTY"}, "gvList")}))});
  Chart& receiver = make("Word");
  frames(sender, 1);
  frames(receiver, 1);
  cell(sender, "gvWord").text->units.clear();
  EXPECT_EQ(shown(cell(receiver, "gvWord")), "'TIME 00:00.00'");
  EXPECT_EQ(globals().find("gvList")->list, cell(sender, "gvList").object);
  EXPECT_EQ(shown(cell(receiver, "gvList")), "numbers 2");
  EXPECT_NE(cell(receiver, "gvList").object, cell(sender, "gvList").object);
}

}  // namespace
}  // namespace chart::testing
