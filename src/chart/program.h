// A chart definition after start-up: names resolved to indexes, each node a compact record that
// the engine dispatches on with one switch.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "chart/commands.h"
#include "chart/definition.h"
#include "chart/equation.h"
#include "chart/opcodes.h"

namespace chart {

inline constexpr std::uint32_t kNoNode = std::numeric_limits<std::uint32_t>::max();

enum class Operator : std::uint8_t { Equal, Greater, Less, GreaterOrEqual, LessOrEqual, Unknown };

// 32 bytes: a node is found by a shift and never straddles two cache lines.
struct alignas(32) Node {
  NodeKind kind;
  Command command;
  Operator op;
  Opcode opcode;
  std::uint16_t arguments[2];  // argument cells, in checking order; a decision's left and right
  std::uint16_t result;        // the written cell
  std::uint32_t next;          // for a decision: when true
  std::uint32_t nextIfFalse;
  float number;  // number assignment
  // Equation, text literal or created chart's program, by index; the global variable's key.
  std::uint32_t index;
};
static_assert(sizeof(Node) == 32);

struct Program {
  std::string name;
  std::vector<std::string> cellNames;  // by cell index, as written
  std::vector<Node> nodes;
  std::vector<std::string> nodeNames;  // by node index, as written
  std::vector<Equation> equations;
  std::vector<std::string> equationTexts;  // by equation index, as written
  std::vector<std::u16string> literals;
  std::uint32_t entry = kNoNode;

  std::size_t cellCount() const { return cellNames.size(); }
};

// Once a program's nodes and equations are compiled: picks each node's opcode (filling the
// operand fields of the specialised equation forms).
void prepareForEngine(Program& program);

}  // namespace chart
