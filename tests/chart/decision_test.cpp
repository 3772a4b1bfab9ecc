// The decision's comparison rules: by type first, then numbers with the operator, texts and
// lists equal or not whatever the operator.
#include <cmath>
#include <map>

#include "chart/decision.h"
#include "support/chart_test_support.h"

namespace chart::testing {
namespace {

Cell number(float value) {
  Cell cell;
  storeNumber(cell, value);
  return cell;
}

TEST(Decision, ComparesByTypeThenValue) {
  // A text's math field is what a number is compared with.
  std::map<std::string_view, Cell> cells = {
      {"2", number(2)}, {"3", number(3)}, {"7", number(7)}, {"nan", number(std::nanf(""))},
      {"empty", Cell{}}, {"inf", number(1.0f / 0.0f)},
      {"UNDEFINED", Cell{0.0f, nullptr, nullptr, kUndefined}},
      {"'Logo'", Cell{0, Text::create(u"Logo"), nullptr, kText}},
      {"'Logo' again", Cell{0, Text::create(u"Logo"), nullptr, kText}},
      {"'Game'", Cell{0, Text::create(u"Game"), nullptr, kText}},
      {"'x' of 7", Cell{7, Text::create(u"x"), nullptr, kText}},
      {"[1]", Cell{0, nullptr, List::create(), kNumberList}},
      {"[1] again", Cell{0, nullptr, List::create(), kNumberList}},
      {"[1 2]", Cell{0, nullptr, List::create(), kNumberList}}};
  for (std::string_view list : {"[1]", "[1] again", "[1 2]"}) cells[list].object->append(1.0f);
  cells["[1 2]"].object->append(2.0f);

  struct Case {
    std::string_view left, op, right;
    bool holds;
  };
  std::vector<Case> cases = {
      {"3", ">=", "3", true},  {"3", ">", "3", false},         {"2", "<", "3", true},
      {"3", "<=", "3", true},  {"3", "=<", "3", false},        {"3", "==", "2", false},
      {"'Logo'", "<", "'Logo' again", true},  {"'Logo'", "==", "'Game'", false},
      {"7", "==", "'x' of 7", true},          {"[1]", ">", "[1] again", true},
      {"[1]", "==", "[1 2]", false}};
  // Empty and undefined cells are equal by type alone, whatever the operator; NaN never holds.
  for (std::string_view op : {"==", ">", "<", ">=", "<=", "<>"}) {
    cases.insert(cases.end(), {{"empty", op, "empty", true}, {"empty", op, "3", false},
                               {"3", op, "empty", false}, {"inf", op, "UNDEFINED", true},
                               {"inf", op, "3", false}, {"3", op, "inf", false},
                               {"nan", op, "nan", false}});
  }
  for (const Case& each : cases) {
    EXPECT_EQ(decisionDiamond(operatorFromText(each.op), cells[each.left], cells[each.right]),
              each.holds)
        << each.left << " " << each.op << " " << each.right;
  }
  for (auto& [name, cell] : cells) releaseCell(cell);
}

}  // namespace
}  // namespace chart::testing
