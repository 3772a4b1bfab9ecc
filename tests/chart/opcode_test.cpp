// The engine's specialised forms of equations and decisions against the general ones: the same
// values bit for bit, the same types, the same diagnostics, and the form each shape gets.
#include <bit>
#include <cmath>
#include <limits>

#include "chart/decision.h"
#include "chart_test_support.h"

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

TEST_F(OpcodeTest, EachEquationShapeGetsItsForm) {
  Chart& chart = load({testChart("Forms", {"a", "b", "r"},
                                 {{"trunk0_1", equation("r = a + 1"), "trunk0_2"},
                                  {"trunk0_2", equation("r = a / b"), "trunk0_3"},
                                  {"trunk0_3", equation("r = a * -2"), "trunk0_4"},
                                  {"trunk0_4", equation("r = a * 1.0001 + 0.5"), "trunk0_5"},
                                  {"trunk0_5", equation("r = 1 - a"), "trunk0_6"},
                                  {"trunk0_6", equation("r = a * (b + 1)"), "trunk0_7"},
                                  {"trunk0_7", equation("r = -a"), "trunk0_8"},
                                  {"trunk0_8", equationInDouble("r = a + 1"), "trunk0_9"},
                                  {"trunk0_9", decide("a", "<=", "b"), endOfPass}})});
  EXPECT_EQ(opcodeOf(chart, "trunk0_1"), Opcode::AddConstant);
  EXPECT_EQ(opcodeOf(chart, "trunk0_2"), Opcode::DivideCell);
  EXPECT_EQ(opcodeOf(chart, "trunk0_3"), Opcode::MultiplyConstant);  // a negated constant
  EXPECT_EQ(opcodeOf(chart, "trunk0_4"), Opcode::EquationChain);
  EXPECT_EQ(opcodeOf(chart, "trunk0_5"), Opcode::EquationChain);  // a constant first
  EXPECT_EQ(opcodeOf(chart, "trunk0_6"), Opcode::Equation);       // not left to right
  EXPECT_EQ(opcodeOf(chart, "trunk0_7"), Opcode::Equation);       // a negated cell
  EXPECT_EQ(opcodeOf(chart, "trunk0_8"), Opcode::Equation);       // in double
  EXPECT_EQ(opcodeOf(chart, "trunk0_9"), Opcode::DecideLessOrEqual);
}

// Every equation below runs in its specialised form; the general step loop over the same
// compiled equation is the reference.
TEST_F(OpcodeTest, SpecialisedEquationsGiveTheStepLoopsValuesAndTypes) {
  constexpr std::string_view kEquations[] = {
      "r = a + b",       "r = a - b", "r = a * b",  "r = a / b",
      "r = a + 1",       "r = a - 0.1", "r = a * -3", "r = a / 7",
      "r = a * 1.0001 + 0.5", "r = a * b / 3 - 2 + a", "r = a"};
  for (std::string_view text : kEquations) {
    Chart& chart = load({testChart("Forms", {"a", "b", "r"}, {{"trunk0_1", equation(text), endOfPass}})});
    ASSERT_NE(opcodeOf(chart, "trunk0_1"), Opcode::Equation) << text;
    const Equation& compiled = chart.program().equations.front();
    for (float a : kOperandValues) {
      for (float b : kOperandValues) {
        storeNumber(cell(chart, "a"), a);
        storeNumber(cell(chart, "b"), b);
        Cell expected;
        storeNumber(expected, evaluateEquation(compiled, chart.cells().data()));
        frames(chart, 1);
        const Cell& result = cell(chart, "r");
        EXPECT_EQ(std::bit_cast<std::uint32_t>(result.math),
                  std::bit_cast<std::uint32_t>(expected.math))
            << text << " with a = " << a << ", b = " << b;
        EXPECT_EQ(result.type, expected.type) << text << " with a = " << a << ", b = " << b;
      }
    }
  }
}

// A leftover text behind a number, and an empty operand, leave the fast forms for the checked
// action: the same alert, the same emptied result.
TEST_F(OpcodeTest, OperandsThatNeedTheCheckGetTheGeneralAction) {
  auto alertFor = [&](std::string_view text) {
    Chart& chart = load({testChart("Forms", {"a", "b", "r"},
                                   {{"trunk0_1", gets("a", "left over"), "trunk0_2"},
                                    {"trunk0_2", set("a", 3), "trunk0_3"},
                                    {"trunk0_3", set("b", 4), "trunk0_4"},
                                    {"trunk0_4", equation(text), endOfPass}})});
    return alertOf([&] { frames(chart, 1); });
  };
  const std::string general = alertFor("r = a * (b + 1)");
  EXPECT_NE(general.find("Math.equation"), std::string::npos) << general;
  for (std::string_view text : {"r = a + 1", "r = b * a", "r = a * 2 + 1"}) {
    EXPECT_EQ(alertFor(text), general) << text;
  }

  Chart& chart = load({testChart("Forms", {"a", "empty", "r1", "r2", "r3"},
                                 {{"trunk0_1", set("a", 1), "trunk0_2"},
                                  {"trunk0_2", set("r1", 1), "trunk0_3"},
                                  {"trunk0_3", set("r2", 1), "trunk0_4"},
                                  {"trunk0_4", set("r3", 1), "trunk0_5"},
                                  {"trunk0_5", equation("r1 = empty + 1"), "trunk0_6"},
                                  {"trunk0_6", equation("r2 = a * empty"), "trunk0_7"},
                                  {"trunk0_7", equation("r3 = a * 2 + empty"), endOfPass}})});
  frames(chart, 1);
  EXPECT_EQ(cell(chart, "r1").type, kEmpty);
  EXPECT_EQ(cell(chart, "r2").type, kEmpty);
  EXPECT_EQ(cell(chart, "r3").type, kEmpty);
}

// The decision forms against the full comparison rules, for numbers and for other pairs.
TEST_F(OpcodeTest, SpecialisedDecisionsFollowTheComparisonRules) {
  struct Written {
    std::string_view text;
    Operator op;
  };
  constexpr Written kOperators[] = {{"==", Operator::Equal},
                                    {">", Operator::Greater},
                                    {"<", Operator::Less},
                                    {">=", Operator::GreaterOrEqual},
                                    {"<=", Operator::LessOrEqual}};
  for (const Written& written : kOperators) {
    Chart& chart = load({testChart("Forms", {"a", "b", "r"},
                                   {{"trunk0_1", decide("a", written.text, "b"), "trunk0_2",
                                     "trunk0_3"},
                                    {"trunk0_2", set("r", 1), endOfPass},
                                    {"trunk0_3", set("r", 0), endOfPass}})});
    auto check = [&](const char* what) {
      const bool expected = decisionDiamond(written.op, cell(chart, "a"), cell(chart, "b"));
      frames(chart, 1);
      EXPECT_EQ(cell(chart, "r").math, expected ? 1.0f : 0.0f) << written.text << " " << what;
    };
    for (float a : kOperandValues) {
      for (float b : kOperandValues) {
        storeNumber(cell(chart, "a"), a);
        storeNumber(cell(chart, "b"), b);
        check("numbers");
      }
    }
    clearCell(cell(chart, "a"));
    check("empty and number");
    clearCell(cell(chart, "b"));
    check("two empties");
    ensureText(cell(chart, "a")).units = u"x";
    ensureText(cell(chart, "b")).units = u"x";
    check("equal texts");
  }
}

}  // namespace
}  // namespace chart::testing
