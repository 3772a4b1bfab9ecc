// The type word an alert names for a rejected argument.
#include "chart/diagnostics.h"
#include "support/chart_test_support.h"

namespace chart::testing {
namespace {

// The first row of the type table that fits the cell, where a number's leftover text and an
// empty constant change the row.
TEST(Diagnostics, TypeWordFollowsTheTableOrder) {
  Text* leftover = Text::create(u"old");
  List* list = List::create();
  const Cell numberWithText{2.0f, leftover, nullptr, kNumber};
  const Cell listWithoutList{0.0f, nullptr, nullptr, kObjectList};
  Cell infinity{};
  storeNumber(infinity, 1.0f / 0.0f);
  struct Case {
    Cell cell;
    Accepts accepts;
    bool isEmptyConstant;
    std::string_view word;
  };
  const Case kCases[] = {
      {numberWithText, Accepts::Text, false, "Math"},
      {numberWithText, Accepts::Math, false, "Text"},
      {numberWithText, Accepts::MathOrEmptyConstant, false, "Text"},
      {listWithoutList, Accepts::Text, false, "passes"},
      {listWithoutList, Accepts::Math, false, "passes"},
      {Cell{}, Accepts::Text, true, "EMPTY Constant"},
      {Cell{}, Accepts::Text, false, "EMPTY Variable"},
      {Cell{}, Accepts::TextOrEmptyConstant, true, "passes"},
      {infinity, Accepts::Text, false, "Math"},
      {{0, nullptr, list, kTextList}, Accepts::Math, false, "Text Object"},
      {{0, nullptr, list, kNumberList}, Accepts::YesOrNo, false, "Math Object"},
  };
  for (const Case& each : kCases) {
    const auto word =
        rejectedTypeWord(each.cell, each.isEmptyConstant, acceptedTypes(each.accepts).words);
    EXPECT_EQ(word ? kTypeWordNames[unsigned(*word)] : "passes", each.word)
        << shown(each.cell) << " as " << int(each.accepts);
  }
  Text::release(leftover);
  List::release(list);
}

}  // namespace
}  // namespace chart::testing
