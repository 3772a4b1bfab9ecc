#include <cmath>
#include <limits>

#include "chart/decision.h"
#include "chart_test_support.h"

namespace chart::testing {
namespace {

Cell number(float value) {
  Cell cell;
  storeNumber(cell, value);
  return cell;
}

struct Owned {
  Cell cell;
  ~Owned() { releaseCell(cell); }
};

const char* const kOperators[] = {"==", ">", "<", ">=", "<=", "<>"};

TEST(Decision, EmptyAndUndefinedCellsUnderEveryOperator) {
  const Cell empty{};
  const Cell undefined = number(std::numeric_limits<float>::infinity());
  const Cell undefinedConstant{0.0f, nullptr, nullptr, kUndefined};
  for (const char* op : kOperators) {
    SCOPED_TRACE(op);
    const Operator parsed = operatorFromText(op);
    EXPECT_TRUE(decisionDiamond(parsed, empty, empty));
    EXPECT_FALSE(decisionDiamond(parsed, empty, number(3)));
    EXPECT_FALSE(decisionDiamond(parsed, number(3), empty));
    // Infinity against the constant: equal by type, whatever the values.
    EXPECT_TRUE(decisionDiamond(parsed, undefined, undefinedConstant));
    EXPECT_FALSE(decisionDiamond(parsed, undefined, number(3)));
    EXPECT_FALSE(decisionDiamond(parsed, number(3), undefined));
  }
}

TEST(Decision, NumbersCompareWithTheOperator) {
  EXPECT_TRUE(decisionDiamond(Operator::GreaterOrEqual, number(3), number(3)));
  EXPECT_FALSE(decisionDiamond(Operator::Greater, number(3), number(3)));
  EXPECT_TRUE(decisionDiamond(Operator::Less, number(2), number(3)));
  EXPECT_TRUE(decisionDiamond(Operator::LessOrEqual, number(3), number(3)));
  EXPECT_FALSE(decisionDiamond(operatorFromText("=<"), number(3), number(3)));
  const Cell nan = number(std::nanf(""));
  for (const char* op : kOperators) {
    EXPECT_FALSE(decisionDiamond(operatorFromText(op), nan, nan)) << op;
  }
}

TEST(Decision, TextsAreEqualOrNotWhateverTheOperator) {
  Owned left{{0, Text::create(u"Logo"), nullptr, kText}};
  Owned same{{0, Text::create(u"Logo"), nullptr, kText}};
  Owned other{{0, Text::create(u"Game"), nullptr, kText}};
  EXPECT_TRUE(decisionDiamond(Operator::Less, left.cell, same.cell));
  EXPECT_FALSE(decisionDiamond(Operator::Equal, left.cell, other.cell));
  // A number against a text compares the two math fields.
  Cell seven = number(7);
  left.cell.math = 7;
  EXPECT_TRUE(decisionDiamond(Operator::Equal, seven, left.cell));
}

TEST(Decision, ListsCompareElementWise) {
  Owned left{{0, nullptr, List::create(), kNumberList}};
  Owned right{{0, nullptr, List::create(), kNumberList}};
  left.cell.object->append(1.0f);
  right.cell.object->append(1.0f);
  EXPECT_TRUE(decisionDiamond(Operator::Greater, left.cell, right.cell));
  right.cell.object->append(2.0f);
  EXPECT_FALSE(decisionDiamond(Operator::Equal, left.cell, right.cell));
}

}  // namespace
}  // namespace chart::testing
