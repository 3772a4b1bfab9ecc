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

struct Equation {
  std::uint16_t result = 0;
  // Evaluate in double precision and round once when storing (the camera's time-scaled moves).
  bool inDouble = false;
  // Distinct operand cells in the order they first appear: the order of the empty test and of
  // the type checks.
  std::vector<std::uint16_t> operands;
  std::vector<EquationStep> steps;
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

}  // namespace chart
