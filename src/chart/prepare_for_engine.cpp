#include "chart/program.h"

namespace chart {

namespace {

Opcode decisionOpcode(Operator op) {
  switch (op) {
    case Operator::Equal: return Opcode::DecideEqual;
    case Operator::Greater: return Opcode::DecideGreater;
    case Operator::Less: return Opcode::DecideLess;
    case Operator::GreaterOrEqual: return Opcode::DecideGreaterOrEqual;
    case Operator::LessOrEqual: return Opcode::DecideLessOrEqual;
    case Operator::Unknown: break;
  }
  return Opcode::Decision;
}

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
    case NodeKind::Decision: node.opcode = decisionOpcode(node.op); break;
    case NodeKind::Command: node.opcode = Opcode::Command; break;
    case NodeKind::Number: node.opcode = Opcode::Number; break;
    case NodeKind::TextLiteral: node.opcode = Opcode::TextLiteral; break;
    case NodeKind::TimeSegment: node.opcode = Opcode::TimeSegment; break;
    case NodeKind::CreateChart: node.opcode = Opcode::CreateChart; break;
    case NodeKind::Junction: node.opcode = Opcode::Junction; break;
    case NodeKind::PassThrough: node.opcode = Opcode::PassThrough; break;
  }
}

void markFollowers(Node& node, std::uint32_t at) {
  node.nextFollows = node.next == at + 1;
  node.nextIfFalseFollows = node.nextIfFalse == at + 1;
}

// A decision of one of the five operators, compared in the engine when both cells are numbers.
bool specialisedDecision(const Node& node) {
  return node.kind == NodeKind::Decision && node.opcode != Opcode::Decision;
}

// An equation in a specialised form whose successor, directly or through one junction, is a
// decision in a specialised form becomes one node that does both. A junction only joins paths,
// so the superinstruction steps over it; no other node runs in between.
void fuse(Node& fused, std::uint32_t at, const std::vector<Node>& nodes) {
  const std::optional<Opcode> superinstruction = opcodeInfo(fused.opcode).thenDecide;
  if (!superinstruction || fused.next == kNoNode) return;
  std::uint32_t decisionAt = fused.next;
  if (nodes[decisionAt].kind == NodeKind::Junction) decisionAt = nodes[decisionAt].next;
  if (decisionAt == kNoNode || !specialisedDecision(nodes[decisionAt])) return;
  const Node& decision = nodes[decisionAt];
  fused.opcode = *superinstruction;
  fused.op = decision.op;
  fused.decisionArguments[0] = decision.arguments[0];
  fused.decisionArguments[1] = decision.arguments[1];
  fused.next = decision.next;
  fused.nextIfFalse = decision.nextIfFalse;
  markFollowers(fused, at);
}

}  // namespace

void prepareForEngine(Program& program) {
  for (std::uint32_t at = 0; at < program.nodes.size(); ++at) {
    Node& node = program.nodes[at];
    chooseOpcode(node, program);
    markFollowers(node, at);
  }
  program.fusedNodes = program.nodes;
  for (std::uint32_t at = 0; at < program.fusedNodes.size(); ++at) {
    fuse(program.fusedNodes[at], at, program.nodes);
  }
}

}  // namespace chart
