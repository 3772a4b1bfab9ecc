// The engine's specialised and fused forms of equations and decisions against the general ones:
// the same values bit for bit, the same types, the same outcomes and diagnostics.
#include <bit>
#include <cmath>
#include <limits>
#include <string>

#include "chart/decision.h"
#include "chart/trace.h"
#include "support/chart_test_support.h"

namespace chart::testing {
namespace {

using OpcodeTest = ChartTest;

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kOperandValues[] = {0.0f, -0.0f, 1.0f, -2.5f, 3e38f, 1e-40f, 16777216.0f,
                                    kInfinity, -kInfinity, std::numeric_limits<float>::quiet_NaN()};

// The form a node runs in: as written (what a traced chart runs), or in the untraced engine's
// copy with superinstructions.
Opcode opcodeOf(const Chart& chart, std::string_view nodeName, bool fused = false) {
  const Program& program = chart.program();
  for (std::size_t at = 0; at < program.nodes.size(); ++at) {
    if (program.nodeNames[at] == nodeName) {
      return (fused ? program.fusedNodes : program.nodes)[at].opcode;
    }
  }
  ADD_FAILURE() << "no node " << nodeName;
  return Opcode::PassThrough;
}

// One equation, then (through a junction when asked) a decision of its result against `c`.
ChartSource equationThenDecision(std::string_view name, std::string_view text,
                                 std::string_view op, bool throughJunction) {
  return testChart(name, {"a", "b", "c", "r", "taken"},
                   {{"trunk0_1", equation(text), throughJunction ? "branch0_5" : "trunk0_2"},
                    {"branch0_5", junction(), "trunk0_2"},
                    {"trunk0_2", decide("r", op, "c"), "trunk0_3", "trunk0_4"},
                    {"trunk0_3", set("taken", 1), endOfPass},
                    {"trunk0_4", set("taken", 0), endOfPass}});
}

// Every specialised equation, then every specialised decision, directly or through a junction,
// for numbers, NaNs, infinities, empty operands and a text compared. A traced chart runs the
// nodes as written: the general step loop's values and types and the full comparison rules'
// outcome. The same chart untraced runs them as one superinstruction: the same bits, types and
// outcome. The trace still shows the junction and the decision.
TEST_F(OpcodeTest, SpecialisedAndFusedNodesDoWhatTheGeneralFormsDo) {
  enableTrace("FusedTraced");
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
  auto compare = [&](std::string_view text, std::string_view op, bool throughJunction) {
    use({equationThenDecision("Fused", text, op, throughJunction),
         equationThenDecision("FusedTraced", text, op, throughJunction)});
    Chart& fused = make("Fused");
    Chart& traced = make("FusedTraced");
    ASSERT_NE(opcodeOf(traced, "trunk0_1"), Opcode::Equation) << text;
    ASSERT_NE(opcodeOf(fused, "trunk0_1", true), opcodeOf(fused, "trunk0_1")) << text;
    for (int a = 0; a <= kEmptyChoice; ++a) {  // a text `a` would raise the alert
      for (int c = 0; c <= kEmptyChoice + 1; ++c) {
        const int b = (a + c) % (kEmptyChoice + 1);  // every pair, b empty too
        for (Chart* chart : {&fused, &traced}) {
          setOperand(*chart, "a", a);
          setOperand(*chart, "b", b);
          setOperand(*chart, "c", c);
        }
        // An empty operand the equation reads empties its result.
        Cell general;
        if (a != kEmptyChoice && (b != kEmptyChoice || text.find('b') == std::string_view::npos)) {
          storeNumber(general,
                      evaluateEquation(traced.program().equations.front(), traced.cells().data()));
        }
        const bool holds = decisionDiamond(operatorFromText(op), general, cell(traced, "c"));
        frames(fused, 1);
        frames(traced, 1);
        const auto where = ::testing::Message() << text << " " << op << " a#" << a << " c#" << c;
        ASSERT_EQ(bits(cell(traced, "r")), bits(general)) << where;
        ASSERT_EQ(cell(traced, "r").type, general.type) << where;
        ASSERT_EQ(cell(traced, "taken").math, holds ? 1.0f : 0.0f) << where;
        ASSERT_EQ(bits(cell(fused, "r")), bits(cell(traced, "r"))) << where;
        ASSERT_EQ(cell(fused, "r").type, cell(traced, "r").type) << where;
        ASSERT_EQ(cell(fused, "taken").math, cell(traced, "taken").math) << where;
      }
    }
  };
  ::testing::internal::CaptureStderr();
  for (std::string_view text : kEquations) {
    for (std::string_view op : kOperators) {
      for (bool throughJunction : {false, true}) compare(text, op, throughJunction);
    }
  }
  ::testing::internal::GetCapturedStderr();

  Chart& traced = make("FusedTraced");  // the last shape: through a junction, "<="
  storeNumber(cell(traced, "a"), 2.0f);
  storeNumber(cell(traced, "c"), 1.0f);
  ::testing::internal::CaptureStderr();
  frames(traced, 1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "[FusedTraced] trunk0_1 Math.equation a=2\n"
            "[FusedTraced] trunk0_1 -> r=2\n"
            "[FusedTraced] branch0_5 junction\n"
            "[FusedTraced] trunk0_2 decide r=2 c=1\n"
            "[FusedTraced] trunk0_4 number\n"
            "[FusedTraced] trunk0_4 -> taken=0\n");
}

// An operand that needs the check leaves the fast forms, alone or fused with a decision after a
// junction, for the equation's own action: the same alert as the general form's.
TEST_F(OpcodeTest, OperandsThatNeedTheCheckGetTheGeneralAction) {
  for (bool fused : {false, true}) {
    auto alertFor = [&](std::string_view text) {
      Chart& chart = load({testChart("Forms", {"a", "b", "r"},
                                     {{"trunk0_1", appendText("a", "left over"), "trunk0_2"},
                                      {"trunk0_2", set("a", 3), "trunk0_3"},
                                      {"trunk0_3", set("b", 4), "trunk0_4"},
                                      {"trunk0_4", equation(text), fused ? "branch0_6" : endOfPass},
                                      {"branch0_6", junction(), "trunk0_5"},
                                      {"trunk0_5", decide("r", "<", "b"), endOfPass}})});
      return alertOf([&] { frames(chart, 1); });
    };
    const std::string general = alertFor("r = a * (b + 1)");
    EXPECT_NE(general.find("Forms"), std::string::npos) << general;
    EXPECT_NE(general.find("Math.equation"), std::string::npos) << general;
    for (std::string_view text : {"r = a + 1", "r = b * a", "r = a * 2 + 1"}) {
      EXPECT_EQ(alertFor(text), general) << text << (fused ? " fused" : "");
    }
  }
}

}  // namespace
}  // namespace chart::testing
