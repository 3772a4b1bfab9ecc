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

ALOFT_IN_LOOP std::uint32_t whenHolds(const Node& node, std::uint32_t at) {
  return node.nextFollows ? at + 1 : node.next;
}
ALOFT_IN_LOOP std::uint32_t otherwise(const Node& node, std::uint32_t at) {
  return node.nextIfFalseFollows ? at + 1 : node.nextIfFalse;
}

// The operations of the equation forms and the comparisons of the decision forms.
constexpr std::plus<float> kPlus;
constexpr std::minus<float> kMinus;
constexpr std::multiplies<float> kTimes;
constexpr std::divides<float> kOver;
constexpr std::equal_to<float> kEqual;
constexpr std::greater<float> kGreater;
constexpr std::less<float> kLess;
constexpr std::greater_equal<float> kGreaterOrEqual;
constexpr std::less_equal<float> kLessOrEqual;

// The state one run of the node loop works on, with the fast paths over it. Each falls back to
// the checked action (the equation's or the decision's) when an operand is not a plain number.
struct Loop {
  Chart& chart;
  Cell* const cells;
  const Equation* const equations;

  // result = arguments[0] op the constant.
  template <typename Operation>
  ALOFT_IN_LOOP void withConstant(const Node& node, Operation operation) {
    const Cell& left = cells[node.arguments[0]];
    if (!plainNumber(left)) return mathEquation(chart, node);
    storeNumber(cells[node.result], operation(left.math, node.number));
  }

  // result = arguments[0] op arguments[1].
  template <typename Operation>
  ALOFT_IN_LOOP void withCell(const Node& node, Operation operation) {
    const Cell& left = cells[node.arguments[0]];
    const Cell& right = cells[node.arguments[1]];
    if (!plainNumber(left) || !plainNumber(right)) return mathEquation(chart, node);
    storeNumber(cells[node.result], operation(left.math, right.math));
  }

  // result = the equation's chain, link by link.
  ALOFT_IN_LOOP void chain(const Node& node) {
    float value;
    if (evaluateChain(equations[node.index], cells, value)) {
      storeNumber(cells[node.result], value);
    } else {
      mathEquation(chart, node);
    }
  }

  // A decision: the successor after comparing arguments[0] with arguments[1].
  template <typename Comparison>
  ALOFT_IN_LOOP std::uint32_t decide(const Node& node, std::uint32_t at, Comparison comparison) {
    const Cell& left = cells[node.arguments[0]];
    const Cell& right = cells[node.arguments[1]];
    const bool holds = left.type == kNumber && right.type == kNumber
                           ? comparison(left.math, right.math)
                           : decisionDiamond(node.op, left, right);
    return holds ? whenHolds(node, at) : otherwise(node, at);
  }

  // A superinstruction's decision, after its equation: the comparison of the decision's cells.
  ALOFT_IN_LOOP std::uint32_t decideAfterEquation(const Node& node, std::uint32_t at) {
    const Cell& left = cells[node.decisionArguments[0]];
    const Cell& right = cells[node.decisionArguments[1]];
    const bool holds = left.type == kNumber && right.type == kNumber
                           ? numbersHold(node.op, left.math, right.math)
                           : decisionDiamond(node.op, left, right);
    return holds ? whenHolds(node, at) : otherwise(node, at);
  }

  // The superinstructions: the equation form, then the decision; each returns the successor.
  template <typename Operation>
  ALOFT_IN_LOOP std::uint32_t constantThen(const Node& node, std::uint32_t at, Operation op) {
    withConstant(node, op);
    return decideAfterEquation(node, at);
  }
  template <typename Operation>
  ALOFT_IN_LOOP std::uint32_t cellThen(const Node& node, std::uint32_t at, Operation op) {
    withCell(node, op);
    return decideAfterEquation(node, at);
  }
  ALOFT_IN_LOOP std::uint32_t chainThen(const Node& node, std::uint32_t at) {
    chain(node);
    return decideAfterEquation(node, at);
  }
};

#undef ALOFT_IN_LOOP

}  // namespace

template <bool kTrace>
void Chart::runFrom(std::uint32_t node) {
  // A traced chart runs the nodes as written, so that its trace shows each of them.
  const Node* const nodes = kTrace ? program_->nodes.data() : program_->fusedNodes.data();
  Cell* const cells = cells_.get();
  const Data& data = Data::share();
  Loop loop{*this, cells, program_->equations.data()};

  while (node != kNoNode) {
    const Node& current = nodes[node];
    if constexpr (kTrace) traceBefore(*this, node);
    const std::uint32_t at = node;
    node = whenHolds(current, at);
    switch (current.opcode) {
      case Opcode::Command: runCommand(current); break;
      case Opcode::Equation: mathEquation(*this, current); break;
      case Opcode::Decision:
        if (!decisionDiamond(current.op, cells[current.arguments[0]], cells[current.arguments[1]]))
          node = otherwise(current, at);
        break;
      case Opcode::Number: storeNumber(cells[current.result], current.number); break;
      case Opcode::TextLiteral:
        ensureText(cells[current.result]).units += program_->literals[current.index];
        break;
      case Opcode::TimeSegment: storeTakenNumber(cells[current.result], data.timeSegment()); break;
      case Opcode::CreateChart: createChart(*this, current); break;
      case Opcode::Junction:
      case Opcode::PassThrough: break;
      case Opcode::EquationChain: loop.chain(current); break;
      case Opcode::AddConstant: loop.withConstant(current, kPlus); break;
      case Opcode::SubtractConstant: loop.withConstant(current, kMinus); break;
      case Opcode::MultiplyConstant: loop.withConstant(current, kTimes); break;
      case Opcode::DivideConstant: loop.withConstant(current, kOver); break;
      case Opcode::AddCell: loop.withCell(current, kPlus); break;
      case Opcode::SubtractCell: loop.withCell(current, kMinus); break;
      case Opcode::MultiplyCell: loop.withCell(current, kTimes); break;
      case Opcode::DivideCell: loop.withCell(current, kOver); break;
      case Opcode::DecideEqual: node = loop.decide(current, at, kEqual); break;
      case Opcode::DecideGreater: node = loop.decide(current, at, kGreater); break;
      case Opcode::DecideLess: node = loop.decide(current, at, kLess); break;
      case Opcode::DecideGreaterOrEqual: node = loop.decide(current, at, kGreaterOrEqual); break;
      case Opcode::DecideLessOrEqual: node = loop.decide(current, at, kLessOrEqual); break;
      case Opcode::EquationChainThenDecide: node = loop.chainThen(current, at); break;
      case Opcode::AddConstantThenDecide: node = loop.constantThen(current, at, kPlus); break;
      case Opcode::SubtractConstantThenDecide: node = loop.constantThen(current, at, kMinus); break;
      case Opcode::MultiplyConstantThenDecide: node = loop.constantThen(current, at, kTimes); break;
      case Opcode::DivideConstantThenDecide: node = loop.constantThen(current, at, kOver); break;
      case Opcode::AddCellThenDecide: node = loop.cellThen(current, at, kPlus); break;
      case Opcode::SubtractCellThenDecide: node = loop.cellThen(current, at, kMinus); break;
      case Opcode::MultiplyCellThenDecide: node = loop.cellThen(current, at, kTimes); break;
      case Opcode::DivideCellThenDecide: node = loop.cellThen(current, at, kOver); break;
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
