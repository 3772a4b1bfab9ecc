// The node engine's opcodes, in one list. The enum and the action a trace prints for a node
// both come from the list below; adding an opcode
// is adding one line to it and one case to `Chart::runFrom`, whose switch has no default, so
// the compiler names a missing case.
#pragma once

#include <cstdint>
#include <iterator>
#include <string_view>

namespace chart {

// One line per opcode: name; the action a trace prints for it (a command prints its own name).
// A specialised equation form does its fast case in the engine and hands any other (an operand
// that is not a plain number) to the equation's own action.
#define ALOFT_OPCODES(X)                                                                           \
  /* the node's command: `Chart::runCommand` picks its action */                                   \
  X(Command, "")                                                                                   \
  /* result = any equation, evaluated step by step with every check */                             \
  X(Equation, "Math.equation")                                                                     \
  /* arguments[0] op arguments[1] by the full comparison rules: pick next or nextIfFalse */        \
  X(Decision, "decide")                                                                            \
  /* result = the constant `number` */                                                             \
  X(Number, "number")                                                                              \
  /* result text += literal `index` */                                                             \
  X(TextLiteral, "text")                                                                           \
  /* result = the frame's length */                                                                \
  X(TimeSegment, "time segment")                                                                   \
  /* result list += a new chart of program `index` */                                              \
  X(CreateChart, "create chart")                                                                   \
  /* where paths join or a loop closes: nothing */                                                 \
  X(Junction, "junction")                                                                          \
  /* nothing */                                                                                    \
  X(PassThrough, "pass-through")                                                                   \
  /* result = a left-to-right chain of cells and constants (`Equation::chain`) */                  \
  X(EquationChain, "Math.equation")                                                                \
  /* result = arguments[0] op the constant `number` */                                             \
  X(AddConstant, "Math.equation")                                                                  \
  X(SubtractConstant, "Math.equation")                                                             \
  X(MultiplyConstant, "Math.equation")                                                             \
  X(DivideConstant, "Math.equation")                                                               \
  /* result = arguments[0] op arguments[1] */                                                      \
  X(AddCell, "Math.equation")                                                                      \
  X(SubtractCell, "Math.equation")                                                                 \
  X(MultiplyCell, "Math.equation")                                                                 \
  X(DivideCell, "Math.equation")

enum class Opcode : std::uint8_t {
#define ALOFT_OPCODE_ENUM(name, traced) name,
  ALOFT_OPCODES(ALOFT_OPCODE_ENUM)
#undef ALOFT_OPCODE_ENUM
};

struct OpcodeInfo {
  std::string_view traced;
};

inline constexpr OpcodeInfo kOpcodes[] = {
#define ALOFT_OPCODE_ROW(name, traced) {traced},
    ALOFT_OPCODES(ALOFT_OPCODE_ROW)
#undef ALOFT_OPCODE_ROW
};

constexpr const OpcodeInfo& opcodeInfo(Opcode opcode) { return kOpcodes[unsigned(opcode)]; }

// The node record keeps its opcode in one byte.
static_assert(std::size(kOpcodes) <= 256);

}  // namespace chart
