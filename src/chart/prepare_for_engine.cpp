#include "chart/program.h"

namespace chart {

namespace {

// The specialised form of `cell op constant` and of `cell op cell`; Opcode::Equation for any
// other operation.
Opcode twoOperandOpcode(bool secondFromCell, EquationStep::Op op) {
  switch (op) {
    case EquationStep::Op::Add: return secondFromCell ? Opcode::AddCell : Opcode::AddConstant;
    case EquationStep::Op::Subtract:
      return secondFromCell ? Opcode::SubtractCell : Opcode::SubtractConstant;
    case EquationStep::Op::Multiply:
      return secondFromCell ? Opcode::MultiplyCell : Opcode::MultiplyConstant;
    case EquationStep::Op::Divide:
      return secondFromCell ? Opcode::DivideCell : Opcode::DivideConstant;
    case EquationStep::Op::PushCell:
    case EquationStep::Op::PushConstant:
    case EquationStep::Op::Negate: break;
  }
  return Opcode::Equation;
}

// The two-operand forms: a cell, then one operation with a constant or a cell.
void chooseEquationOpcode(Node& node, const Equation& equation) {
  node.opcode = equation.chainLength == 0 ? Opcode::Equation : Opcode::EquationChain;
  if (equation.chainLength != 2 || !equation.chain[0].fromCell) return;
  const EquationLink& second = equation.chain[1];
  const Opcode form = twoOperandOpcode(second.fromCell, second.op);
  if (form == Opcode::Equation) return;
  node.opcode = form;
  node.arguments[0] = equation.chain[0].cell;
  node.arguments[1] = second.cell;
  node.number = second.constant;
}

void chooseOpcode(Node& node, const Program& program) {
  switch (node.kind) {
    case NodeKind::Equation: chooseEquationOpcode(node, program.equations[node.index]); break;
    case NodeKind::Decision: node.opcode = Opcode::Decision; break;
    case NodeKind::Command: node.opcode = Opcode::Command; break;
    case NodeKind::Number: node.opcode = Opcode::Number; break;
    case NodeKind::TextLiteral: node.opcode = Opcode::TextLiteral; break;
    case NodeKind::TimeSegment: node.opcode = Opcode::TimeSegment; break;
    case NodeKind::CreateChart: node.opcode = Opcode::CreateChart; break;
    case NodeKind::Junction: node.opcode = Opcode::Junction; break;
    case NodeKind::PassThrough: node.opcode = Opcode::PassThrough; break;
  }
}

}  // namespace

void prepareForEngine(Program& program) {
  for (Node& node : program.nodes) chooseOpcode(node, program);
}

}  // namespace chart
