#include "chart/decision.h"

namespace chart {

Operator operatorFromText(std::string_view text) {
  if (text == "==") return Operator::Equal;
  if (text == ">") return Operator::Greater;
  if (text == "<") return Operator::Less;
  if (text == ">=") return Operator::GreaterOrEqual;
  if (text == "<=") return Operator::LessOrEqual;
  return Operator::Unknown;
}

namespace {

bool isList(std::int32_t type) {
  return type == kObjectList || type == kNumberList || type == kTextList;
}

}  // namespace

bool decisionDiamond(Operator op, const Cell& left, const Cell& right) {
  if (left.type == kEmpty) return right.type == kEmpty;
  if (right.type == kEmpty) return false;
  if (left.type == kUndefined) return right.type == kUndefined;
  if (right.type == kUndefined) return false;
  if (left.type == kNumber || right.type == kNumber) return numbersHold(op, left.math, right.math);
  // A missing text or list equals nothing, not even another missing one.
  if (left.type == kText || right.type == kText) {
    return left.text != nullptr && right.text != nullptr && left.text->units == right.text->units;
  }
  if (isList(left.type) || isList(right.type)) {
    return left.object != nullptr && right.object != nullptr && *left.object == *right.object;
  }
  return false;
}

}  // namespace chart
