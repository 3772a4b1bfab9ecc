// Global variables between charts that are not parent and child: what a receiver gets is its own
// copy of a text and of a list. (Keys and removal are rows of commands_test.cpp.)
#include "chart_test_support.h"

namespace chart::testing {
namespace {

using GlobalsTest = ChartTest;

// A text changed after sending is seen by a later receiver, which holds a copy; a list is shared
// on sending and copied on receiving.
TEST_F(GlobalsTest, TextsAndListsSentAndReceived) {
  Chart& sender = load(
      {testChart("Menus", {"gvWord", "more", "gvList"},
                 straight({gets("gvWord", "TIME"), run(Global_variable_send, {"gvWord", "EMPTY"}),
                           gets("more", " 00:00.00"), run(Text_add, {"more"}, "gvWord"),
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
