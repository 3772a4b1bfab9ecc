#include "chart_test_support.h"

namespace chart::testing {
namespace {

using GlobalsTest = ChartTest;



// "Sender" sends `gvScore` (with key text "Hard" when `keyed`) and "Receiver" receives it with
// the key it names; a frame runs the sender first.
std::vector<ChartSource> senderAndReceiver(bool keyed, std::string_view receiverKey) {
  return {testChart("Sender", {"gvScore", "hard"},
                    {{"trunk0_1", gets("hard", "Hard"), "trunk0_2"},
                     {"trunk0_2", run(Global_variable_send, {"gvScore", keyed ? "hard" : "EMPTY"}),
                      endOfPass}}),
          testChart("Receiver", {"gvScore", "key"},
                    {{"trunk0_1", gets("key", receiverKey), "trunk0_2"},
                     {"trunk0_2",
                      run(Global_variable_receive, {receiverKey.empty() ? "EMPTY" : "key"},
                          "gvScore"),
                      endOfPass}})};
}

TEST_F(GlobalsTest, SendAndReceiveANumberWithoutKey) {
  Chart& sender = load(senderAndReceiver(false, ""));
  Chart& receiver = make("Receiver");
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
}

TEST_F(GlobalsTest, KeyTextsMustMatch) {
  Chart& sender = load(senderAndReceiver(true, "Easy"));
  Chart& wrongKey = make("Receiver");
  storeNumber(cell(sender, "gvScore"), 5);
  storeNumber(cell(wrongKey, "gvScore"), 9);
  frames(sender, 1);
  frames(wrongKey, 1);
  EXPECT_EQ(cell(wrongKey, "gvScore").type, kEmpty);

  use(senderAndReceiver(true, "Hard"));
  Chart& rightKey = make("Receiver");
  frames(rightKey, 1);
  EXPECT_EQ(cell(rightKey, "gvScore").math, 5.0f);

  use(senderAndReceiver(true, ""));
  Chart& anyKey = make("Receiver");
  frames(anyKey, 1);
  EXPECT_EQ(cell(anyKey, "gvScore").math, 5.0f);
}

TEST_F(GlobalsTest, MissingAndUndefinedGlobalsClearTheReceiver) {
  Chart& sender = load(senderAndReceiver(false, ""));
  Chart& receiver = make("Receiver");
  storeNumber(cell(receiver, "gvScore"), 3);
  frames(receiver, 1);  // never sent
  EXPECT_EQ(cell(receiver, "gvScore").type, kEmpty);

  storeNumber(cell(sender, "gvScore"), 1.0f / 0.0f);
  frames(sender, 1);
  ASSERT_NE(globals().find("gvScore"), nullptr);
  EXPECT_FALSE(globals().find("gvScore")->hasValue);
  storeNumber(cell(receiver, "gvScore"), 3);
  frames(receiver, 1);
  EXPECT_EQ(cell(receiver, "gvScore").type, kEmpty);
}

TEST_F(GlobalsTest, ATextChangedAfterSendingIsSeenByALaterReceiver) {
  Chart& sender = load(
      {testChart("Menus", {"gvWord", "more"},
                 {{"trunk0_1", gets("gvWord", "TIME"), "trunk0_2"},
                  {"trunk0_2", run(Global_variable_send, {"gvWord", "EMPTY"}), "trunk0_3"},
                  {"trunk0_3", gets("more", " 00:00.00"), "trunk0_4"},
                  {"trunk0_4", run(Text_add, {"more"}, "gvWord"), endOfPass}}),
       testChart("Word", {"gvWord"},
                 {{"trunk0_1", run(Global_variable_receive, {"EMPTY"}, "gvWord"), endOfPass}})});
  Chart& receiver = make("Word");
  frames(sender, 1);
  frames(receiver, 1);
  EXPECT_EQ(text(receiver, "gvWord"), "TIME 00:00.00");
  // The receiver holds a copy: emptying the sender's text leaves it alone.
  cell(sender, "gvWord").text->units.clear();
  EXPECT_EQ(text(receiver, "gvWord"), "TIME 00:00.00");
}

TEST_F(GlobalsTest, ListsAreSharedOnSendingAndCopiedOnReceiving) {
  Chart& sender = load({testChart("Sender", {"gvList"},
                                  {{"trunk0_1", run(Object_add_math, {"YES"}, "gvList"), "trunk0_2"},
                                   {"trunk0_2", run(Global_variable_send, {"gvList", "EMPTY"}),
                                    endOfPass}}),
                        testChart("Receiver", {"gvList"},
                                  {{"trunk0_1", run(Global_variable_receive, {"EMPTY"}, "gvList"),
                                    endOfPass}})});
  Chart& receiver = make("Receiver");
  frames(sender, 2);
  frames(receiver, 1);
  EXPECT_EQ(globals().find("gvList")->list, cell(sender, "gvList").object);
  const Cell& received = cell(receiver, "gvList");
  EXPECT_EQ(received.type, kNumberList);
  ASSERT_NE(received.object, cell(sender, "gvList").object);
  EXPECT_EQ(received.object->size(), 2u);
}

TEST_F(GlobalsTest, RemovingWithAndWithoutKeys) {
  Chart& chart = load({testChart(
      "Globals", {"gvKeyed", "gvPlain", "key"},
      {{"trunk0_1", gets("key", "Hard"), "trunk0_2"},
       {"trunk0_2", set("gvKeyed", 1), "trunk0_3"},
       {"trunk0_3", set("gvPlain", 2), "trunk0_4"},
       {"trunk0_4", run(Global_variable_send, {"gvKeyed", "key"}), "trunk0_5"},
       {"trunk0_5", run(Global_variable_send, {"gvPlain", "EMPTY"}), "trunk0_6"},
       // An entry sent with a key text is not removed without it; one without is.
       {"trunk0_6", run(Global_variable_remove, {"gvKeyed", "EMPTY"}), "trunk0_7"},
       {"trunk0_7", run(Global_variable_remove, {"gvPlain", "EMPTY"}), endOfPass}})});
  frames(chart, 1);
  EXPECT_NE(globals().find("gvKeyed"), nullptr);
  EXPECT_EQ(globals().find("gvPlain"), nullptr);

  use({testChart(
      "Remover", {"gvKeyed", "key"},
      {{"trunk0_1", gets("key", "Hard"), "trunk0_2"},
       {"trunk0_2", set("gvKeyed", 0), "trunk0_3"},
       {"trunk0_3", run(Global_variable_remove, {"gvKeyed", "key"}), endOfPass}})});
  frames(make("Remover"), 1);
  EXPECT_EQ(globals().find("gvKeyed"), nullptr);
}

TEST_F(GlobalsTest, RemoveAllEmptiesTheDictionary) {
  Chart& chart = load({testChart("Menus", {"gvOne", "gvTwo"},
                                 {{"trunk0_1", set("gvOne", 1), "trunk0_2"},
                                  {"trunk0_2", gets("gvTwo", "two"), "trunk0_3"},
                                  {"trunk0_3", run(Global_variable_send, {"gvOne", "EMPTY"}),
                                   "trunk0_4"},
                                  {"trunk0_4", run(Global_variable_send, {"gvTwo", "EMPTY"}),
                                   "trunk0_5"},
                                  {"trunk0_5", run(Global_variable_remove_all, {"YES"}),
                                   endOfPass}})});
  frames(chart, 1);
  EXPECT_EQ(globals().size(), 0u);
  EXPECT_EQ(text(chart, "gvTwo"), "two");  // the sender keeps its own text
}

}  // namespace
}  // namespace chart::testing
