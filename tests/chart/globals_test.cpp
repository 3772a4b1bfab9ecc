#include "chart_test_support.h"

namespace chart::testing {
namespace {

using GlobalsTest = ChartTest;

// "Sender" sends `gvScore` (with key text "Hard" when `keyed`) and "Receiver" receives it with
// the key it names; a frame runs the sender first.
std::vector<ChartSource> senderAndReceiver(bool keyed, std::string_view receiverKey) {
  return {testChart("Sender", {"gvScore", "hard"},
                    straight({gets("hard", "Hard"),
                              run(Global_variable_send, {"gvScore", keyed ? "hard" : "EMPTY"})})),
          testChart("Receiver", {"gvScore", "key"},
                    straight({gets("key", receiverKey),
                              run(Global_variable_receive, {receiverKey.empty() ? "EMPTY" : "key"},
                                  "gvScore")}))};
}

TEST_F(GlobalsTest, SendAndReceiveANumberAndMissingOrUndefinedGlobalsClearTheReceiver) {
  Chart& sender = load(senderAndReceiver(false, ""));
  Chart& receiver = make("Receiver");
  storeNumber(cell(receiver, "gvScore"), 3);
  frames(receiver, 1);  // never sent
  EXPECT_EQ(cell(receiver, "gvScore").type, kEmpty);

  storeNumber(cell(sender, "gvScore"), 5);
  frames(sender, 1);
  const GlobalEntry* entry = globals().find("gvScore");
  ASSERT_NE(entry, nullptr);
  EXPECT_TRUE(entry->hasValue);
  EXPECT_EQ(entry->number, 5.0f);
  EXPECT_EQ(entry->key, nullptr);
  frames(receiver, 1);
  EXPECT_EQ(cell(receiver, "gvScore").type, kNumber);
  EXPECT_EQ(cell(receiver, "gvScore").math, 5.0f);

  storeNumber(cell(sender, "gvScore"), 1.0f / 0.0f);
  frames(sender, 1);
  EXPECT_FALSE(globals().find("gvScore")->hasValue);
  frames(receiver, 1);
  EXPECT_EQ(cell(receiver, "gvScore").type, kEmpty);
}

TEST_F(GlobalsTest, KeyTextsMustMatch) {
  Chart& sender = load(senderAndReceiver(true, "Easy"));
  Chart& wrongKey = make("Receiver");
  storeNumber(cell(sender, "gvScore"), 5);
  storeNumber(cell(wrongKey, "gvScore"), 9);
  frames(sender, 1);
  frames(wrongKey, 1);
  EXPECT_EQ(cell(wrongKey, "gvScore").type, kEmpty);
  for (std::string_view key : {"Hard", ""}) {  // the right key, and none
    use(senderAndReceiver(true, key));
    Chart& receiver = make("Receiver");
    frames(receiver, 1);
    EXPECT_EQ(cell(receiver, "gvScore").math, 5.0f) << key;
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
  EXPECT_EQ(text(receiver, "gvWord"), "TIME 00:00.00");
  cell(sender, "gvWord").text->units.clear();
  EXPECT_EQ(text(receiver, "gvWord"), "TIME 00:00.00");

  EXPECT_EQ(globals().find("gvList")->list, cell(sender, "gvList").object);
  const Cell& received = cell(receiver, "gvList");
  EXPECT_EQ(received.type, kNumberList);
  ASSERT_NE(received.object, cell(sender, "gvList").object);
  EXPECT_EQ(received.object->size(), 2u);
}

TEST_F(GlobalsTest, RemovingWithAndWithoutKeysAndRemovingAll) {
  // An entry sent with a key text is not removed without it; one without is.
  ran("Globals", {"gvKeyed", "gvPlain", "key"},
      {gets("key", "Hard"), set("gvKeyed", 1), set("gvPlain", 2),
       run(Global_variable_send, {"gvKeyed", "key"}),
       run(Global_variable_send, {"gvPlain", "EMPTY"}),
       run(Global_variable_remove, {"gvKeyed", "EMPTY"}),
       run(Global_variable_remove, {"gvPlain", "EMPTY"})});
  EXPECT_NE(globals().find("gvKeyed"), nullptr);
  EXPECT_EQ(globals().find("gvPlain"), nullptr);
  ran("Remover", {"gvKeyed", "key"},
      {gets("key", "Hard"), set("gvKeyed", 0), run(Global_variable_remove, {"gvKeyed", "key"})});
  EXPECT_EQ(globals().find("gvKeyed"), nullptr);

  Chart& all = ran(
      "All", {"gvOne", "gvTwo"},
      {set("gvOne", 1), gets("gvTwo", "two"), run(Global_variable_send, {"gvOne", "EMPTY"}),
       run(Global_variable_send, {"gvTwo", "EMPTY"}), run(Global_variable_remove_all, {"YES"})});
  EXPECT_EQ(globals().size(), 0u);
  EXPECT_EQ(text(all, "gvTwo"), "two");  // the sender keeps its own text
}

}  // namespace
}  // namespace chart::testing
