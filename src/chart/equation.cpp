#include "chart/equation.h"

#include <cctype>
#include <charconv>

namespace chart {

namespace {

// Recursive descent over the expression text; runs only at start-up.
class EquationParser {
 public:
  EquationParser(std::string_view source, const CellLookup& cellLookup, Equation& result)
      : text(source), lookup(cellLookup), out(result) {}

  bool parse(std::string& error) {
    skipSpaces();
    const std::string_view resultName = name();
    if (resultName.empty()) return fail(error, "expected the result cell's name");
    const auto result = lookup(resultName);
    if (!result) return fail(error, "unknown cell \"" + std::string(resultName) + "\"");
    out.result = *result;
    skipSpaces();
    if (!take('=')) return fail(error, "expected '=' after the result cell");
    if (!sum(error)) return false;
    skipSpaces();
    if (at != text.size()) return fail(error, "unexpected text at \"" + rest() + "\"");
    if (maxDepth > kMaxEquationDepth) return fail(error, "expression nests too deeply");
    return true;
  }

 private:
  bool sum(std::string& error) {
    if (!product(error)) return false;
    for (;;) {
      skipSpaces();
      if (take('+')) {
        if (!product(error)) return false;
        emit(EquationStep::Op::Add, -1);
      } else if (take('-')) {
        if (!product(error)) return false;
        emit(EquationStep::Op::Subtract, -1);
      } else {
        return true;
      }
    }
  }

  bool product(std::string& error) {
    if (!unary(error)) return false;
    for (;;) {
      skipSpaces();
      if (take('*')) {
        if (!unary(error)) return false;
        emit(EquationStep::Op::Multiply, -1);
      } else if (take('/')) {
        if (!unary(error)) return false;
        emit(EquationStep::Op::Divide, -1);
      } else {
        return true;
      }
    }
  }

  bool unary(std::string& error) {
    skipSpaces();
    if (take('-')) {
      if (!unary(error)) return false;
      emit(EquationStep::Op::Negate, 0);
      return true;
    }
    return primary(error);
  }

  bool primary(std::string& error) {
    skipSpaces();
    if (take('(')) {
      if (!sum(error)) return false;
      skipSpaces();
      return take(')') || fail(error, "expected ')' at \"" + rest() + "\"");
    }
    if (at < text.size() && (std::isdigit(static_cast<unsigned char>(text[at])) || text[at] == '.')) {
      return constant(error);
    }
    const std::string_view operand = name();
    if (operand.empty()) return fail(error, "expected a number or a cell at \"" + rest() + "\"");
    const auto cell = lookup(operand);
    if (!cell) return fail(error, "unknown cell \"" + std::string(operand) + "\"");
    bool seen = false;
    for (std::uint16_t known : out.operands) seen = seen || known == *cell;
    if (!seen) out.operands.push_back(*cell);
    EquationStep step{EquationStep::Op::PushCell};
    step.cell = *cell;
    push(step);
    return true;
  }

  bool constant(std::string& error) {
    double value = 0.0;
    const char* begin = text.data() + at;
    const auto [end, problem] = std::from_chars(begin, text.data() + text.size(), value);
    if (problem != std::errc()) return fail(error, "bad number at \"" + rest() + "\"");
    at += static_cast<std::size_t>(end - begin);
    EquationStep step{EquationStep::Op::PushConstant};
    // A float equation computes with the constant as a float, as the chart's cells do.
    step.constant = out.inDouble ? value : double(float(value));
    push(step);
    return true;
  }

  void push(const EquationStep& step) {
    out.steps.push_back(step);
    maxDepth = std::max(maxDepth, ++depth);
  }
  // `stackChange` is what the step does to the evaluation stack's depth.
  void emit(EquationStep::Op op, int stackChange) {
    out.steps.push_back({op});
    depth += stackChange;
  }

  std::string_view name() {
    const std::size_t start = at;
    while (at < text.size() &&
           (std::isalnum(static_cast<unsigned char>(text[at])) || text[at] == '_')) {
      ++at;
    }
    return text.substr(start, at - start);
  }
  void skipSpaces() {
    while (at < text.size() && text[at] == ' ') ++at;
  }
  bool take(char c) {
    if (at < text.size() && text[at] == c) {
      ++at;
      return true;
    }
    return false;
  }
  std::string rest() const { return std::string(text.substr(at)); }
  static bool fail(std::string& error, std::string message) {
    error = std::move(message);
    return false;
  }

  std::string_view text;
  const CellLookup& lookup;
  Equation& out;
  std::size_t at = 0;
  int depth = 0;
  int maxDepth = 0;
};

template <typename Number>
Number evaluate(const Equation& equation, const Cell* cells) {
  Number stack[kMaxEquationDepth];
  int top = -1;
  for (const EquationStep& step : equation.steps) {
    switch (step.op) {
      case EquationStep::Op::PushCell: stack[++top] = Number(cells[step.cell].math); break;
      case EquationStep::Op::PushConstant: stack[++top] = Number(step.constant); break;
      case EquationStep::Op::Add: --top; stack[top] = stack[top] + stack[top + 1]; break;
      case EquationStep::Op::Subtract: --top; stack[top] = stack[top] - stack[top + 1]; break;
      case EquationStep::Op::Multiply: --top; stack[top] = stack[top] * stack[top + 1]; break;
      case EquationStep::Op::Divide: --top; stack[top] = stack[top] / stack[top + 1]; break;
      case EquationStep::Op::Negate: stack[top] = -stack[top]; break;
    }
  }
  return stack[0];
}

bool isBinary(EquationStep::Op op) {
  using enum EquationStep::Op;
  return op == Add || op == Subtract || op == Multiply || op == Divide;
}

// Reads a float equation's steps as a chain (first operand, then operand and operation pairs),
// folding a negated constant into the constant; leaves `chainLength` 0 when they are not one.
void findChain(Equation& equation) {
  using enum EquationStep::Op;
  if (equation.inDouble) return;
  const std::vector<EquationStep>& steps = equation.steps;
  int length = 0;
  std::size_t at = 0;
  while (at < steps.size()) {
    if (length == kMaxChainLinks) return;
    const EquationStep& push = steps[at++];
    EquationLink link{Add, push.op == PushCell, push.cell, float(push.constant)};
    if (push.op != PushCell && push.op != PushConstant) return;
    if (push.op == PushConstant && at < steps.size() && steps[at].op == Negate) {
      link.constant = -link.constant;
      ++at;
    }
    if (length > 0) {
      if (at == steps.size() || !isBinary(steps[at].op)) return;
      link.op = steps[at++].op;
    }
    equation.chain[length++] = link;
  }
  equation.chainLength = std::uint8_t(length);
}

}  // namespace

std::optional<Equation> compileEquation(std::string_view text, bool inDouble,
                                        const CellLookup& lookup, std::string& error) {
  Equation equation;
  equation.inDouble = inDouble;
  if (!EquationParser(text, lookup, equation).parse(error)) return std::nullopt;
  findChain(equation);
  return equation;
}

float evaluateEquation(const Equation& equation, const Cell* cells) {
  if (equation.inDouble) return static_cast<float>(evaluate<double>(equation, cells));
  return evaluate<float>(equation, cells);
}

}  // namespace chart
