// The node engine: runs a chart's chain one node after another in a loop, so that a chain of any
// length, loops included, needs no stack that grows with it. Each node is a compact record with
// its cells resolved; one switch on its opcode (see opcodes.h) picks its action and its
// successor. The commonest cases, equations over number cells and decisions between two numbers,
// are done by the small functions below without leaving the engine; every other case goes to
// the action that checks and reports. An untraced chart runs the program's fused copy of its
// nodes, in which an equation and the decision after it are one superinstruction.
#include <functional>

#include "chart/actions.h"
#include "chart/chart.h"
#include "chart/data.h"
#include "chart/decision.h"
#include "chart/trace.h"

namespace chart {

namespace {

// The fast paths below are forced inline into the node loop: out of line, the call and the
// reloading of the loop's state cost about a fifth of a turn of an equation-and-decision loop.
#define ALOFT_IN_LOOP [[gnu::always_inline]] inline

// A number cell without a leftover text: an equation operand that needs no check.
ALOFT_IN_LOOP bool plainNumber(const Cell& cell) {
  return (cell.type == kNumber || cell.type == kUndefined) && cell.text == nullptr;
}

// result = arguments[0] op the constant, or the equation's checked action when the operand
// needs a check.
template <typename Operation>
ALOFT_IN_LOOP void withConstant(Chart& chart, Cell* cells, const Node& node, Operation operation) {
  const Cell& left = cells[node.arguments[0]];
  if (!plainNumber(left)) return mathEquation(chart, node);
  storeNumber(cells[node.result], operation(left.math, node.number));
}

// result = arguments[0] op arguments[1], likewise.
template <typename Operation>
ALOFT_IN_LOOP void withCell(Chart& chart, Cell* cells, const Node& node, Operation operation) {
  const Cell& left = cells[node.arguments[0]];
  const Cell& right = cells[node.arguments[1]];
  if (!plainNumber(left) || !plainNumber(right)) return mathEquation(chart, node);
  storeNumber(cells[node.result], operation(left.math, right.math));
}

// result = the equation's chain, link by link, likewise.
ALOFT_IN_LOOP void chain(Chart& chart, Cell* cells, const Equation& equation, const Node& node) {
  float value;
  if (evaluateChain(equation, cells, value)) {
    storeNumber(cells[node.result], value);
  } else {
    mathEquation(chart, node);
  }
}

// A decision between two numbers compares them by value; any other pair by the full rules.
template <typename Comparison>
ALOFT_IN_LOOP bool holds(const Cell* cells, const Node& node, Comparison comparison) {
  const Cell& left = cells[node.arguments[0]];
  const Cell& right = cells[node.arguments[1]];
  if (left.type == kNumber && right.type == kNumber) return comparison(left.math, right.math);
  return decisionDiamond(node.op, left, right);
}

ALOFT_IN_LOOP std::uint32_t whenHolds(const Node& node, std::uint32_t at) {
  return node.nextFollows ? at + 1 : node.next;
}
ALOFT_IN_LOOP std::uint32_t otherwise(const Node& node, std::uint32_t at) {
  return node.nextIfFalseFollows ? at + 1 : node.nextIfFalse;
}

// A superinstruction's decision, after its equation: the junction's time mark when one stood
// between them, then the comparison of the decision's cells.
ALOFT_IN_LOOP std::uint32_t decideAfterEquation(Data& data, const Cell* cells, const Node& node,
                                                std::uint32_t at) {
  if (node.junctionBetween) data.addTime();
  const Cell& left = cells[node.decisionArguments[0]];
  const Cell& right = cells[node.decisionArguments[1]];
  bool holds;
  if (left.type == kNumber && right.type == kNumber) {
    holds = numbersHold(node.op, left.math, right.math);
  } else {
    holds = decisionDiamond(node.op, left, right);
  }
  return holds ? whenHolds(node, at) : otherwise(node, at);
}

// The superinstructions: the equation form, then the decision; each returns the successor.
template <typename Operation>
ALOFT_IN_LOOP std::uint32_t constantThenDecide(Chart& chart, Cell* cells, Data& data,
                                               const Node& node, std::uint32_t at,
                                               Operation operation) {
  withConstant(chart, cells, node, operation);
  return decideAfterEquation(data, cells, node, at);
}

template <typename Operation>
ALOFT_IN_LOOP std::uint32_t cellThenDecide(Chart& chart, Cell* cells, Data& data,
                                           const Node& node, std::uint32_t at,
                                           Operation operation) {
  withCell(chart, cells, node, operation);
  return decideAfterEquation(data, cells, node, at);
}

ALOFT_IN_LOOP std::uint32_t chainThenDecide(Chart& chart, Cell* cells, Data& data,
                                            const Equation& equation, const Node& node,
                                            std::uint32_t at) {
  chain(chart, cells, equation, node);
  return decideAfterEquation(data, cells, node, at);
}

#undef ALOFT_IN_LOOP

}  // namespace

template <bool kTrace>
void Chart::runFrom(std::uint32_t node) {
  // A traced chart runs the nodes as written, so that its trace shows each of them.
  const Node* const nodes = kTrace ? program_->nodes.data() : program_->fusedNodes.data();
  const Equation* const equations = program_->equations.data();
  Cell* const cells = cells_.get();
  Data& data = Data::share();

  while (node != kNoNode) {
    const Node& current = nodes[node];
    if constexpr (kTrace) traceBefore(*this, node);
    const std::uint32_t at = node;
    node = whenHolds(current, at);
    switch (current.opcode) {
      case Opcode::Command: runCommand(current); break;
      case Opcode::Equation: mathEquation(*this, current); break;
      case Opcode::Decision:
        if (!decisionDiamond(current.op, cells[current.arguments[0]],
                             cells[current.arguments[1]])) {
          node = otherwise(current, at);
        }
        break;
      case Opcode::Number: storeNumber(cells[current.result], current.number); break;
      case Opcode::TextLiteral:
        ensureText(cells[current.result]).units += program_->literals[current.index];
        break;
      case Opcode::TimeSegment: storeTakenNumber(cells[current.result], data.timeSegment()); break;
      case Opcode::CreateChart: createChart(*this, current); break;
      case Opcode::Junction: data.addTime(); break;
      case Opcode::PassThrough: break;
      case Opcode::EquationChain: chain(*this, cells, equations[current.index], current); break;
      case Opcode::AddConstant: withConstant(*this, cells, current, std::plus<float>()); break;
      case Opcode::SubtractConstant:
        withConstant(*this, cells, current, std::minus<float>());
        break;
      case Opcode::MultiplyConstant:
        withConstant(*this, cells, current, std::multiplies<float>());
        break;
      case Opcode::DivideConstant:
        withConstant(*this, cells, current, std::divides<float>());
        break;
      case Opcode::AddCell: withCell(*this, cells, current, std::plus<float>()); break;
      case Opcode::SubtractCell: withCell(*this, cells, current, std::minus<float>()); break;
      case Opcode::MultiplyCell: withCell(*this, cells, current, std::multiplies<float>()); break;
      case Opcode::DivideCell: withCell(*this, cells, current, std::divides<float>()); break;
      case Opcode::DecideEqual:
        if (!holds(cells, current, std::equal_to<float>())) node = otherwise(current, at);
        break;
      case Opcode::DecideGreater:
        if (!holds(cells, current, std::greater<float>())) node = otherwise(current, at);
        break;
      case Opcode::DecideLess:
        if (!holds(cells, current, std::less<float>())) node = otherwise(current, at);
        break;
      case Opcode::DecideGreaterOrEqual:
        if (!holds(cells, current, std::greater_equal<float>())) node = otherwise(current, at);
        break;
      case Opcode::DecideLessOrEqual:
        if (!holds(cells, current, std::less_equal<float>())) node = otherwise(current, at);
        break;
      case Opcode::EquationChainThenDecide:
        node = chainThenDecide(*this, cells, data, equations[current.index], current, at);
        break;
      case Opcode::AddConstantThenDecide:
        node = constantThenDecide(*this, cells, data, current, at, std::plus<float>());
        break;
      case Opcode::SubtractConstantThenDecide:
        node = constantThenDecide(*this, cells, data, current, at, std::minus<float>());
        break;
      case Opcode::MultiplyConstantThenDecide:
        node = constantThenDecide(*this, cells, data, current, at, std::multiplies<float>());
        break;
      case Opcode::DivideConstantThenDecide:
        node = constantThenDecide(*this, cells, data, current, at, std::divides<float>());
        break;
      case Opcode::AddCellThenDecide:
        node = cellThenDecide(*this, cells, data, current, at, std::plus<float>());
        break;
      case Opcode::SubtractCellThenDecide:
        node = cellThenDecide(*this, cells, data, current, at, std::minus<float>());
        break;
      case Opcode::MultiplyCellThenDecide:
        node = cellThenDecide(*this, cells, data, current, at, std::multiplies<float>());
        break;
      case Opcode::DivideCellThenDecide:
        node = cellThenDecide(*this, cells, data, current, at, std::divides<float>());
        break;
    }
    if constexpr (kTrace) traceAfter(*this, at);
  }
}

template void Chart::runFrom<true>(std::uint32_t);
template void Chart::runFrom<false>(std::uint32_t);

void Chart::runCommand(const Node& node) {
  switch (node.command) {
    case Command::Math_sine: mathSine(*this, node); break;
    case Command::Math_cosine: mathCosine(*this, node); break;
    case Command::Math_to_text: mathToText(*this, node); break;
    case Command::Text_add: textAdd(*this, node); break;
    case Command::Text_remove_all: textRemoveAll(*this, node); break;
    case Command::Text_length: textLength(*this, node); break;
    case Command::Text_selected_character: textSelectedCharacter(*this, node); break;
    case Command::Text_selected_index: textSelectedIndex(*this, node); break;
    case Command::Text_character_to_number: textCharacterToNumber(*this, node); break;
    case Command::Object_add: objectAdd(*this, node); break;
    case Command::Object_add_math: objectAddMath(*this, node); break;
    case Command::Object_update_all: objectUpdate(*this, node, false); break;
    case Command::Object_update_last: objectUpdate(*this, node, true); break;
    case Command::Object_selected_object: objectSelectedObject(*this, node); break;
    case Command::Object_selected_index: objectSelectedIndex(*this, node); break;
    case Command::Global_variable_send: globalVariableSend(*this, node); break;
    case Command::Global_variable_receive: globalVariableReceive(*this, node); break;
    case Command::Global_variable_remove: globalVariableRemove(*this, node); break;
    case Command::Global_variable_remove_all: globalVariableRemoveAll(*this, node); break;
    case Command::Preference_open: preferenceOpen(*this, node); break;
    case Command::Preference_save: preferenceSave(*this, node); break;
    case Command::Vertex_x:
    case Command::Vertex_y:
    case Command::Vertex_z: collectVertex(*this, node); break;
    case Command::Color_red:
    case Command::Color_green:
    case Command::Color_blue:
    case Command::Color_alpha: collectColor(*this, node); break;
    case Command::Image_map_x:
    case Command::Image_map_y: collectImageMap(*this, node); break;
    case Command::Polygon_add: polygonAdd(*this, node); break;
    case Command::Polygon_replace: polygonReplace(*this, node); break;
    case Command::Polygon_replace_range: polygonReplaceRange(*this, node); break;
    case Command::Polygon_update: polygonUpdate(*this, node); break;
    case Command::Move_x:
    case Command::Move_y:
    case Command::Move_z:
    case Command::Rotate_x:
    case Command::Rotate_z: place(*this, node); break;
    case Command::Image_add: imageAdd(*this, node); break;
    case Command::Image_update: imageUpdate(*this, node); break;
    case Command::Blend: blend(*this, node); break;
    case Command::Depth: depth(*this, node); break;
    case Command::Screen_ratio: screenRatio(*this, node); break;
    case Command::Picking_add: pickingAdd(*this, node); break;
    case Command::Picking_update: pickingUpdate(*this, node); break;
    case Command::Sound_add: soundAdd(*this, node); break;
    case Command::Sound_play: soundPlay(*this, node); break;
    case Command::Sound_loop: soundLoop(*this, node); break;
    case Command::Sound_time_send: soundTimeSend(*this, node); break;
    case Command::Keyboard_down: keyboardDown(*this, node); break;
    case Command::Mouse_type: mouseType(*this, node); break;
    // An equation is a node of its own kind; the registry refuses it written as a command.
    case Command::Math_equation: break;
  }
}

}  // namespace chart
