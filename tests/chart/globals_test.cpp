// Global variables between charts that are not parent and child: sent under the sending cell's
// name and an optional key text, received only with that key, removed with it.
#include "chart_test_support.h"

namespace chart::testing {
namespace {

using GlobalsTest = ChartTest;

// "Sender" sends `gvScore` with key text "Hard" (or none when `key` is EMPTY); "Receiver" asks
// with `receiverKey` (none when empty).
std::vector<ChartSource> senderAndReceiver(std::string_view key, std::string_view receiverKey) {
  return {testChart("Sender", {"gvScore", "hard"},
                    straight({gets("hard", "Hard"), run(Global_variable_send, {"gvScore", key})})),
          testChart("Receiver", {"gvScore", "key"},
                    straight({gets("key", receiverKey),
                              run(Global_variable_receive, {receiverKey.empty() ? "EMPTY" : "key"},
                                  "gvScore")}))};
}

// A receiver without its global, with the wrong key or after an undefined number was sent is
// emptied; with the right key, or none, it gets the number.
TEST_F(GlobalsTest, ANumberReachesOnlyTheReceiversOfItsKey) {
  Chart& sender = load(senderAndReceiver("EMPTY", ""));
  auto received = [&] {
    Chart& receiver = make("Receiver");
    storeNumber(cell(receiver, "gvScore"), 9);
    frames(receiver, 1);
    return shown(cell(receiver, "gvScore"));
  };
  EXPECT_EQ(received(), "empty");  // never sent
  storeNumber(cell(sender, "gvScore"), 5);
  frames(sender, 1);
  EXPECT_EQ(received(), "5");
  storeNumber(cell(sender, "gvScore"), 1.0f / 0.0f);
  frames(sender, 1);
  EXPECT_EQ(received(), "empty");

  Chart& keyed = load(senderAndReceiver("hard", "Easy"));
  storeNumber(cell(keyed, "gvScore"), 5);
  frames(keyed, 1);
  EXPECT_EQ(received(), "empty");
  for (std::string_view key : {"Hard", ""}) {
    use(senderAndReceiver("hard", key));
    EXPECT_EQ(received(), "5") << key;
  }
}

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
