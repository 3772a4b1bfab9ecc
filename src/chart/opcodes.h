// The node engine's opcodes, in one list. The enum, the action a trace prints for a node and
// the superinstruction an equation form becomes all come from the list below; adding an opcode
// is adding one line to it and one case to `Chart::runFrom`, whose switch has no default, so
// the compiler names a missing case.
#pragma once

#include <iterator>
#include <cstdint>
#include <string_view>

namespace chart {

// One line per opcode: name; the action a trace prints for it (a command prints its own name);
// for an equation form, the superinstruction it becomes when a specialised decision follows it
// (`Equation`, the general form, for none). A specialised form does its fast case in the engine
// and hands any other (an operand that is not a plain number, a decision not between two
// numbers) to the node kind's own action.
#define ALOFT_OPCODES(X)                                                                           \
  /* the node's command: `Chart::runCommand` picks its action */                                   \
  X(Command, "", Equation)                                                                         \
  /* result = any equation, evaluated step by step with every check */                             \
  X(Equation, "Math.equation", Equation)                                                           \
  /* arguments[0] op arguments[1] by the full comparison rules: pick next or nextIfFalse */        \
  X(Decision, "decide", Equation)                                                                  \
  /* result = the constant `number` */                                                             \
  X(Number, "number", Equation)                                                                    \
  /* result text += literal `index` */                                                             \
  X(TextLiteral, "text", Equation)                                                                 \
  /* result = the frame's length */                                                                \
  X(TimeSegment, "time segment", Equation)                                                         \
  /* result list += a new chart of program `index` */                                              \
  X(CreateChart, "create chart", Equation)                                                         \
  /* mark the frame's time, then pass on */                                                        \
  X(Junction, "junction", Equation)                                                                \
  /* nothing */                                                                                    \
  X(PassThrough, "pass-through", Equation)                                                         \
  /* result = a left-to-right chain of cells and constants (`Equation::chain`) */                  \
  X(EquationChain, "Math.equation", EquationChainThenDecide)                                       \
  /* result = arguments[0] op the constant `number` */                                             \
  X(AddConstant, "Math.equation", AddConstantThenDecide)                                           \
  X(SubtractConstant, "Math.equation", SubtractConstantThenDecide)                                 \
  X(MultiplyConstant, "Math.equation", MultiplyConstantThenDecide)                                 \
  X(DivideConstant, "Math.equation", DivideConstantThenDecide)                                     \
  /* result = arguments[0] op arguments[1] */                                                      \
  X(AddCell, "Math.equation", AddCellThenDecide)                                                   \
  X(SubtractCell, "Math.equation", SubtractCellThenDecide)                                         \
  X(MultiplyCell, "Math.equation", MultiplyCellThenDecide)                                         \
  X(DivideCell, "Math.equation", DivideCellThenDecide)                                             \
  /* arguments[0] op arguments[1]: two numbers compared here, any other pair by the full rules */  \
  X(DecideEqual, "decide", Equation)                                                               \
  X(DecideGreater, "decide", Equation)                                                             \
  X(DecideLess, "decide", Equation)                                                                \
  X(DecideGreaterOrEqual, "decide", Equation)                                                      \
  X(DecideLessOrEqual, "decide", Equation)                                                         \
  /* Superinstructions, in the untraced engine's copy of the nodes only: the equation form, the */ \
  /* time mark of a junction between when `junctionBetween`, then the decision copied in (op, */   \
  /* decisionArguments, next, nextIfFalse) */                                                      \
  X(AddConstantThenDecide, "Math.equation", Equation)                                              \
  X(SubtractConstantThenDecide, "Math.equation", Equation)                                         \
  X(MultiplyConstantThenDecide, "Math.equation", Equation)                                         \
  X(DivideConstantThenDecide, "Math.equation", Equation)                                           \
  X(AddCellThenDecide, "Math.equation", Equation)                                                  \
  X(SubtractCellThenDecide, "Math.equation", Equation)                                             \
  X(MultiplyCellThenDecide, "Math.equation", Equation)                                             \
  X(DivideCellThenDecide, "Math.equation", Equation)                                               \
  X(EquationChainThenDecide, "Math.equation", Equation)

enum class Opcode : std::uint8_t {
#define ALOFT_OPCODE_ENUM(name, traced, thenDecide) name,
  ALOFT_OPCODES(ALOFT_OPCODE_ENUM)
#undef ALOFT_OPCODE_ENUM
};

struct OpcodeInfo {
  std::string_view traced;
  Opcode thenDecide;
};

inline constexpr OpcodeInfo kOpcodes[] = {
#define ALOFT_OPCODE_ROW(name, traced, thenDecide) {traced, Opcode::thenDecide},
    ALOFT_OPCODES(ALOFT_OPCODE_ROW)
#undef ALOFT_OPCODE_ROW
};

constexpr const OpcodeInfo& opcodeInfo(Opcode opcode) { return kOpcodes[unsigned(opcode)]; }

// A node is fused once: a superinstruction is not itself the first half of another, and only
// an equation form (traced as one) has a superinstruction.
constexpr bool fusesOnce() {
  for (const OpcodeInfo& info : kOpcodes) {
    if (info.thenDecide == Opcode::Equation) continue;
    if (info.traced != "Math.equation") return false;
    if (opcodeInfo(info.thenDecide).thenDecide != Opcode::Equation) return false;
  }
  return true;
}
static_assert(fusesOnce(), "a superinstruction must not fuse again");
// The node record keeps its opcode in one byte.
static_assert(std::size(kOpcodes) <= 256);

}  // namespace chart
