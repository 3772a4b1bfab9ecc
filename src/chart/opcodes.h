// The node engine's opcodes, in one list. The enum, the action a trace prints for a node and
// the superinstruction an equation form becomes all come from the list below; adding an opcode
// is adding one line to it and one case to `Chart::runFrom`, whose switch has no default, so
// the compiler names a missing case.
#pragma once

#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>

namespace chart {

// One line per opcode: name; the action a trace prints for it (a command prints its own name);
// for an equation form, the superinstruction it becomes when a specialised decision follows it
// (`kNoSuperinstruction` for none). A specialised form does its fast case in the engine and
// hands any other (an operand that is not a plain number, a decision not between two numbers)
// to the node kind's own action.
#define ALOFT_OPCODES(X)                                                                           \
  /* the node's command: `Chart::runCommand` picks its action */                                   \
  X(Command, "", kNoSuperinstruction)                                                              \
  /* result = any equation, evaluated step by step with every check */                             \
  X(Equation, "Math.equation", kNoSuperinstruction)                                                \
  /* arguments[0] op arguments[1] by the full comparison rules: pick next or nextIfFalse */        \
  X(Decision, "decide", kNoSuperinstruction)                                                       \
  /* result = the constant `number` */                                                             \
  X(Number, "number", kNoSuperinstruction)                                                         \
  /* result text += literal `index` */                                                             \
  X(TextLiteral, "text", kNoSuperinstruction)                                                      \
  /* result = the frame's length */                                                                \
  X(TimeSegment, "time segment", kNoSuperinstruction)                                              \
  /* result list += a new chart of program `index` */                                              \
  X(CreateChart, "create chart", kNoSuperinstruction)                                              \
  /* where paths join or a loop closes: nothing */                                                 \
  X(Junction, "junction", kNoSuperinstruction)                                                     \
  /* nothing */                                                                                    \
  X(PassThrough, "pass-through", kNoSuperinstruction)                                              \
  /* result = a left-to-right chain of cells and constants (`Equation::chain`) */                  \
  X(EquationChain, "Math.equation", Opcode::EquationChainThenDecide)                               \
  /* result = arguments[0] op the constant `number` */                                             \
  X(AddConstant, "Math.equation", Opcode::AddConstantThenDecide)                                   \
  X(SubtractConstant, "Math.equation", Opcode::SubtractConstantThenDecide)                         \
  X(MultiplyConstant, "Math.equation", Opcode::MultiplyConstantThenDecide)                         \
  X(DivideConstant, "Math.equation", Opcode::DivideConstantThenDecide)                             \
  /* result = arguments[0] op arguments[1] */                                                      \
  X(AddCell, "Math.equation", Opcode::AddCellThenDecide)                                           \
  X(SubtractCell, "Math.equation", Opcode::SubtractCellThenDecide)                                 \
  X(MultiplyCell, "Math.equation", Opcode::MultiplyCellThenDecide)                                 \
  X(DivideCell, "Math.equation", Opcode::DivideCellThenDecide)                                     \
  /* arguments[0] op arguments[1]: two numbers compared here, any other pair by the full rules */  \
  X(DecideEqual, "decide", kNoSuperinstruction)                                                    \
  X(DecideGreater, "decide", kNoSuperinstruction)                                                  \
  X(DecideLess, "decide", kNoSuperinstruction)                                                     \
  X(DecideGreaterOrEqual, "decide", kNoSuperinstruction)                                           \
  X(DecideLessOrEqual, "decide", kNoSuperinstruction)                                              \
  /* Superinstructions, in the untraced engine's copy of the nodes only: the equation form, */     \
  /* then the decision copied in (op, decisionArguments, next, nextIfFalse) */                     \
  X(AddConstantThenDecide, "Math.equation", kNoSuperinstruction)                                   \
  X(SubtractConstantThenDecide, "Math.equation", kNoSuperinstruction)                              \
  X(MultiplyConstantThenDecide, "Math.equation", kNoSuperinstruction)                              \
  X(DivideConstantThenDecide, "Math.equation", kNoSuperinstruction)                                \
  X(AddCellThenDecide, "Math.equation", kNoSuperinstruction)                                       \
  X(SubtractCellThenDecide, "Math.equation", kNoSuperinstruction)                                  \
  X(MultiplyCellThenDecide, "Math.equation", kNoSuperinstruction)                                  \
  X(DivideCellThenDecide, "Math.equation", kNoSuperinstruction)                                    \
  X(EquationChainThenDecide, "Math.equation", kNoSuperinstruction)

enum class Opcode : std::uint8_t {
#define ALOFT_OPCODE_ENUM(name, traced, thenDecide) name,
  ALOFT_OPCODES(ALOFT_OPCODE_ENUM)
#undef ALOFT_OPCODE_ENUM
};

// The opcode that does not fuse with a decision after it.
inline constexpr std::optional<Opcode> kNoSuperinstruction = std::nullopt;

struct OpcodeInfo {
  std::string_view traced;
  std::optional<Opcode> thenDecide;
};

inline constexpr OpcodeInfo kOpcodes[] = {
#define ALOFT_OPCODE_ROW(name, traced, thenDecide) {traced, thenDecide},
    ALOFT_OPCODES(ALOFT_OPCODE_ROW)
#undef ALOFT_OPCODE_ROW
};

constexpr const OpcodeInfo& opcodeInfo(Opcode opcode) { return kOpcodes[unsigned(opcode)]; }

// A node is fused once: a superinstruction is not itself the first half of another, and only
// an equation form (traced as one) has a superinstruction.
constexpr bool fusesOnce() {
  for (const OpcodeInfo& info : kOpcodes) {
    if (!info.thenDecide) continue;
    if (info.traced != "Math.equation") return false;
    if (opcodeInfo(*info.thenDecide).thenDecide) return false;
  }
  return true;
}
static_assert(fusesOnce(), "a superinstruction must not fuse again");
// The node record keeps its opcode in one byte.
static_assert(std::size(kOpcodes) <= 256);

}  // namespace chart
