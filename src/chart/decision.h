// Decision nodes: comparing two cells by their types first and their values second.
#pragma once

#include <string_view>

#include "chart/cell.h"
#include "chart/program.h"

namespace chart {

// "==", ">", "<", ">=", "<="; any other text is `Operator::Unknown`, which compares false.
Operator operatorFromText(std::string_view text);

// Two empty cells, or two undefined cells, are equal under every operator; an empty or undefined
// cell is unequal to anything else. A number on either side compares the two `math` fields (IEEE
// ordered: a NaN compares false); otherwise texts and lists compare for equality whatever the
// operator.
bool decisionDiamond(Operator op, const Cell& left, const Cell& right);

}  // namespace chart
