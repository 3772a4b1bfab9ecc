// `Math.equation`: an expression text such as "radians = pi * zAngle / -180", compiled once at
// start-up into a small postfix program over cell indexes and constants, then evaluated every time
// its node runs without parsing, lookups or allocation.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/cell.h"

namespace chart {

struct EquationStep {
  enum class Op : std::uint8_t { PushCell, PushConstant, Add, Subtract, Multiply, Divide, Negate };
  Op op;
  std::uint16_t cell = 0;
  double constant = 0.0;
};

// One operand of a chain and the operation that takes it into the value so far (the first
// link's operation is unused).
struct EquationLink {
  EquationStep::Op op;
  bool fromCell;
  std::uint16_t cell;
  float constant;
};

// The longest chain kept in that form; longer equations are evaluated step by step.
inline constexpr int kMaxChainLinks = 6;

struct Equation {
  std::uint16_t result = 0;
  // Evaluate in double precision and round once when storing (the camera's time-scaled moves).
  bool inDouble = false;
  // Distinct operand cells in the order they first appear: the order of the empty test and of
  // the type checks.
  std::vector<std::uint16_t> operands;
  std::vector<EquationStep> steps;
  // The same float equation as a chain when it is one: the first operand, then + - * / one
  // operand at a time, left to right, as in "x = x * 1.0001 + 0.5" (a negated constant counts
  // as a constant). Counters and running sums are; they run without the step loop's stack.
  // `chainLength` 0: not a chain.
  std::uint8_t chainLength = 0;
  EquationLink chain[kMaxChainLinks]{};
};

// The deepest evaluation stack an equation may need; deeper ones are refused at start-up.
inline constexpr int kMaxEquationDepth = 16;

using CellLookup = std::function<std::optional<std::uint16_t>(std::string_view name)>;

// Compiles "result = expression" with + - * / ( ), unary minus, decimal constants and cell names
// (letters, digits, underscores), usual precedence, left to right. On failure returns nothing and
// says why in `error`.
std::optional<Equation> compileEquation(std::string_view text, bool inDouble,
                                        const CellLookup& lookup, std::string& error);

// The expression's value over `cells`, in float or (for `inDouble`) in double rounded to float.
float evaluateEquation(const Equation& equation, const Cell* cells);

// The value of a chain equation (one with `chainLength` > 0) when every operand cell holds a
// number without a leftover text, the case that needs no check; false otherwise, and `value`
// is then of no use. The same operations in the same order as the step loop: the same float
// result.
inline bool evaluateChain(const Equation& equation, const Cell* cells, float& value) {
  bool plain = true;
  auto operand = [&](const EquationLink& link) {
    if (!link.fromCell) return link.constant;
    const Cell& cell = cells[link.cell];
    plain &= (cell.type == kNumber || cell.type == kUndefined) & (cell.text == nullptr);
    return cell.math;
  };
  float result = operand(equation.chain[0]);
  for (int at = 1; at < equation.chainLength; ++at) {
    const EquationLink& link = equation.chain[at];
    const float next = operand(link);
    switch (link.op) {
      case EquationStep::Op::Add: result = result + next; break;
      case EquationStep::Op::Subtract: result = result - next; break;
      case EquationStep::Op::Multiply: result = result * next; break;
      case EquationStep::Op::Divide: result = result / next; break;
      default: break;  // no other operation is put in a chain
    }
  }
  value = result;
  return plain;
}

}  // namespace chart
