// Decision nodes: comparing two cells by their types first and their values second.
#pragma once

#include <string_view>

#include "chart/cell.h"
#include "chart/program.h"

namespace chart {

// "==", ">", "<", ">=", "<="; any other text is `Operator::Unknown`, which compares false.
Operator operatorFromText(std::string_view text);

// Two numbers compared by value under `op`; `Operator::Unknown` compares false. Inline: the
// engine's fast decision forms call it for every turn of a loop.
inline bool numbersHold(Operator op, float left, float right) {
  switch (op) {
    case Operator::Equal: return left == right;
    case Operator::Greater: return left > right;
    case Operator::Less: return left < right;
    case Operator::GreaterOrEqual: return left >= right;
    case Operator::LessOrEqual: return left <= right;
    case Operator::Unknown: return false;
  }
  return false;
}

// Two empty cells, or two undefined cells, are equal under every operator; an empty or undefined
// cell is unequal to anything else. A number on either side compares the two `math` fields (IEEE
// ordered: a NaN compares false); otherwise texts and lists compare for equality whatever the
// operator.
bool decisionDiamond(Operator op, const Cell& left, const Cell& right);

}  // namespace chart
