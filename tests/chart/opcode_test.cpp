// The engine's specialised forms of equations against the general one: the same values bit for
// bit, the same types, the same outcomes and diagnostics.
#include <bit>
#include <cmath>
#include <limits>
#include <string>

#include "chart/decision.h"
#include "support/chart_test_support.h"

namespace chart::testing {
namespace {

using OpcodeTest = ChartTest;

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kOperandValues[] = {0.0f, -0.0f, 1.0f, -2.5f, 3e38f, 1e-40f, 16777216.0f,
                                    kInfinity, -kInfinity, std::numeric_limits<float>::quiet_NaN()};

Opcode opcodeOf(const Chart& chart, std::string_view nodeName) {
  const Program& program = chart.program();
  for (std::size_t at = 0; at < program.nodes.size(); ++at) {
    if (program.nodeNames[at] == nodeName) return program.nodes[at].opcode;
  }
  ADD_FAILURE() << "no node " << nodeName;
  return Opcode::PassThrough;
}

// One equation, then a decision of its result against `c`.
ChartSource equationThenDecision(std::string_view name, std::string_view text,
                                 std::string_view op) {
  return testChart(name, {"a", "b", "c", "r", "taken"},
                   {{"trunk0_1", equation(text), "trunk0_2"},
                    {"trunk0_2", decide("r", op, "c"), "trunk0_3", "trunk0_4"},
                    {"trunk0_3", set("taken", 1), endOfPass},
                    {"trunk0_4", set("taken", 0), endOfPass}});
}

// Every specialised equation, then a decision of its result, for numbers, NaNs, infinities,
// empty operands and a text compared: the general step loop's values and types and the full
// comparison rules' outcome.
TEST_F(OpcodeTest, SpecialisedEquationsDoWhatTheGeneralFormDoes) {
  constexpr std::string_view kEquations[] = {
      "r = a + 1", "r = a - 0.5", "r = a * -3", "r = a / 4",          "r = a + b",
      "r = a - b", "r = a * b",   "r = a / b",  "r = a * 1.0001 + b", "r = a"};
  constexpr std::string_view kOperators[] = {"==", ">", "<", ">=", "<="};
  const int kNumbers = int(std::size(kOperandValues)), kEmptyChoice = kNumbers;
  auto setOperand = [&](Chart& chart, std::string_view name, int which) {
    Cell& target = cell(chart, name);
    clearCell(target);
    if (which < kNumbers) {
      storeNumber(target, kOperandValues[which]);
    } else if (which > kEmptyChoice) {
      ensureText(target).units.assign(1, u'7');
    }
  };
  const auto bits = [](const Cell& cell) { return std::bit_cast<std::uint32_t>(cell.math); };
  // The first difference ends a shape's comparison.
  auto compare = [&](std::string_view text, std::string_view op) {
    use({equationThenDecision("Forms", text, op)});
    Chart& chart = make("Forms");
    ASSERT_NE(opcodeOf(chart, "trunk0_1"), Opcode::Equation) << text;
    for (int a = 0; a <= kEmptyChoice; ++a) {  // a text `a` would raise the alert
      for (int c = 0; c <= kEmptyChoice + 1; ++c) {
        const int b = (a + c) % (kEmptyChoice + 1);  // every pair, b empty too
        setOperand(chart, "a", a);
        setOperand(chart, "b", b);
        setOperand(chart, "c", c);
        // An empty operand the equation reads empties its result.
        Cell general;
        if (a != kEmptyChoice && (b != kEmptyChoice || text.find('b') == std::string_view::npos)) {
          storeNumber(general,
                      evaluateEquation(chart.program().equations.front(), chart.cells().data()));
        }
        const bool holds = decisionDiamond(operatorFromText(op), general, cell(chart, "c"));
        frames(chart, 1);
        const auto where = ::testing::Message() << text << " " << op << " a#" << a << " c#" << c;
        ASSERT_EQ(bits(cell(chart, "r")), bits(general)) << where;
        ASSERT_EQ(cell(chart, "r").type, general.type) << where;
        ASSERT_EQ(cell(chart, "taken").math, holds ? 1.0f : 0.0f) << where;
      }
    }
  };
  ::testing::internal::CaptureStderr();
  for (std::string_view text : kEquations) {
    for (std::string_view op : kOperators) compare(text, op);
  }
  ::testing::internal::GetCapturedStderr();
}

// An operand that needs the check leaves the fast forms for the equation's own action: the same
// alert as the general form's.
TEST_F(OpcodeTest, OperandsThatNeedTheCheckGetTheGeneralAction) {
  auto alertFor = [&](std::string_view text) {
    Chart& chart = load({testChart("Forms", {"a", "b", "r"},
                                   {{"trunk0_1", appendText("a", "left over"), "trunk0_2"},
                                    {"trunk0_2", set("a", 3), "trunk0_3"},
                                    {"trunk0_3", set("b", 4), "trunk0_4"},
                                    {"trunk0_4", equation(text), endOfPass}})});
    return alertOf([&] { frames(chart, 1); });
  };
  const std::string general = alertFor("r = a * (b + 1)");
  EXPECT_NE(general.find("Forms"), std::string::npos) << general;
  EXPECT_NE(general.find("Math.equation"), std::string::npos) << general;
  for (std::string_view text : {"r = a + 1", "r = b * a", "r = a * 2 + 1"}) {
    EXPECT_EQ(alertFor(text), general) << text;
  }
}

}  // namespace
}  // namespace chart::testing
